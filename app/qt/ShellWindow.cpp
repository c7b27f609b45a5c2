// The main window.
#include "ShellWindow.h"

#include "platform/Log.h"

#include <QEvent>
#include <QFileInfo>
#include <QStatusBar>

namespace pv {

ShellWindow::ShellWindow(const QString &title, QStringList commandLineFiles)
    : title_(title), pending_(std::move(commandLineFiles))
{
    setWindowTitle(title_);
    resize(1024, 768);
}

bool ShellWindow::event(QEvent *event)
{
    // A window manager may never activate a new window, so showing counts as well.
    const bool first = event->type() == QEvent::WindowActivate || event->type() == QEvent::Show;
    if (first && !activated_) {
        activated_ = true;
        setWindowTitle(title_);
        QStringList files;
        for (const QString &file : std::exchange(pending_, {}))
            files << QFileInfo(file).absoluteFilePath();
        OpenFiles(files);
    }
    return QMainWindow::event(event);
}

void ShellWindow::OpenFiles(const QStringList &absolutePaths)
{
    for (const QString &path : absolutePaths) {
        LogText("open " + path.toStdString() + "\n");
        statusBar()->showMessage(path);
    }
}

void ShellWindow::BringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

} // namespace pv
