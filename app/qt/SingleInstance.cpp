// The single instance's lock, its server and a later start's hand-over.
#include "SingleInstance.h"

#include "app/HandOver.h"
#include "platform/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

namespace pv {
namespace {

bool Send(QLocalSocket &socket, std::string_view payload)
{
    const std::string message = FrameMessage(payload);
    socket.write(message.data(), qint64(message.size()));
    return socket.waitForBytesWritten(SingleInstance::kTimeoutMs);
}

// Reads exactly n bytes, waiting at most the timeout for each piece.
bool ReadExactly(QLocalSocket &socket, QByteArray &out, qint64 n)
{
    out.clear();
    while (out.size() < n) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(SingleInstance::kTimeoutMs))
            return false;
        out += socket.read(n - out.size());
    }
    return true;
}

// A connection to the server: its bytes go through the reader, each message is answered.
class Peer : public QObject {
public:
    Peer(QLocalSocket *socket, QByteArray answer, SingleInstance &owner)
        : QObject(socket), socket_(socket), answer_(std::move(answer)), owner_(owner)
    {
        connect(socket, &QLocalSocket::readyRead, this, [this] { Read(); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        idle_.setSingleShot(true);
        connect(&idle_, &QTimer::timeout, socket, &QLocalSocket::abort);
        idle_.start(SingleInstance::kTimeoutMs * 2);
    }

private:
    void Read()
    {
        const QByteArray bytes = socket_->readAll();
        reader_.Append({reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())});
        std::string payload;
        for (;;) {
            switch (reader_.Next(payload)) {
            case HandOverReader::Result::NeedMore:
                idle_.start(SingleInstance::kTimeoutMs * 2);
                return;
            case HandOverReader::Result::Query:
                socket_->write(answer_);
                break;
            case HandOverReader::Result::Path:
                socket_->write(QByteArray("\x01\x00\x00\x00", 4));
                emit owner_.FilesArrived({QString::fromStdString(payload)});
                break;
            case HandOverReader::Result::Drop:
                LogText("single instance: a later start was dropped: " + payload + "\n");
                socket_->abort();
                return;
            }
        }
    }

    QLocalSocket *socket_;
    QByteArray answer_;
    SingleInstance &owner_;
    HandOverReader reader_;
    QTimer idle_;
};

} // namespace

SingleInstance::SingleInstance(const QString &folder)
{
    QString base = folder;
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    QDir().mkpath(base);
    lockPath_ = base + QStringLiteral("/pictavella3.lock");
    socketPath_ = base + QStringLiteral("/pictavella3.socket");
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Start SingleInstance::Claim(const QStringList &files, const char *answer)
{
    answer_ = QByteArray(answer, 4);
    lock_ = std::make_unique<QLockFile>(lockPath_);
    lock_->setStaleLockTime(0); // held for the instance's whole life; a dead holder's lock is cleared
    if (lock_->tryLock(0)) {
        Serve();
        return Start::First;
    }
    lock_.reset();
    return HandOver(files) ? Start::HandedOver : Start::Alone;
}

void SingleInstance::Serve()
{
    QLocalServer::removeServer(socketPath_); // left by an instance that did not end cleanly
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath_)) {
        LogText("single instance: cannot listen: " + server_.errorString().toStdString() + "\n");
        return;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server_.nextPendingConnection())
            new Peer(socket, answer_, *this);
    });
}

bool SingleInstance::HandOver(const QStringList &files)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kTimeoutMs) || !Send(socket, kHandOverQuery))
        return false;
    QByteArray reply;
    if (!ReadExactly(socket, reply, 4) || reply != "PV20")
        return false; // nothing that takes files runs here
    for (const QString &file : files) {
        const QByteArray path = QFileInfo(file).absoluteFilePath().toUtf8();
        if (path.isEmpty() || size_t(path.size()) > HandOverReader::kMaxMessage)
            continue;
        if (!Send(socket, {path.constData(), size_t(path.size())}) || !ReadExactly(socket, reply, 4))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}

} // namespace pv
