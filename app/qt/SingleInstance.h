// The single running instance: the first normal start holds a per-user lock file and listens
// on a local socket beside it; a later normal start asks the query, hands every file over as
// an absolute path in its own bounded, length-prefixed message, and ends. When no instance
// answers, the later start runs on its own. Unattended runs take no part.
//
// A later start sends the query, answered with 4 bytes ("PV20"), then one path per message,
// each answered with the uint32 1 (app/HandOver.h has the messages). A peer that breaks the
// rules, or stalls, is dropped.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <memory>

namespace pv {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 2000;

    // The lock and socket live in folder (the user's runtime folder by default).
    explicit SingleInstance(const QString &folder = {});
    ~SingleInstance() override;

    enum class Start { First, HandedOver, Alone };
    // Becomes the running instance, or hands the files to the one that runs.
    Start Claim(const QStringList &files, const char *answer);

signals:
    void FilesArrived(const QStringList &absolutePaths);

private:
    bool HandOver(const QStringList &files);
    void Serve();

    QString lockPath_, socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    QByteArray answer_;
};

} // namespace pv
