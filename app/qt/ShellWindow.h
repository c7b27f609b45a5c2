// The main window of a normal instance: it carries the application title and receives the
// files to open — those of the command line on its first activation and those a later start
// hands over — and comes to the front for the latter.
#pragma once

#include <QMainWindow>
#include <QStringList>

namespace pv {

class ShellWindow : public QMainWindow {
    Q_OBJECT
public:
    ShellWindow(const QString &title, QStringList commandLineFiles);

    // Opens each file; canvas windows take them once they exist (the log names each path).
    void OpenFiles(const QStringList &absolutePaths);
    void BringToFront();

protected:
    bool event(QEvent *event) override;

private:
    QString title_;
    QStringList pending_;
    bool activated_ = false;
};

} // namespace pv
