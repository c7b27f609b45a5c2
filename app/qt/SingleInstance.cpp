// The single instance's lock, its server and a later start's hand-over.
#include "SingleInstance.h"

#include "platform/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

namespace pv {
namespace {

constexpr char kQuery[] = "pV2 query";

QByteArray Framed(const QByteArray &payload)
{
    QByteArray out(4, '\0');
    qToLittleEndian<quint32>(quint32(payload.size()), out.data());
    return out + payload;
}

bool Send(QLocalSocket &socket, const QByteArray &payload)
{
    socket.write(Framed(payload));
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

// A connection to the server: messages collected until complete, each answered.
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
        buffer_ += socket_->readAll();
        while (buffer_.size() >= 4) {
            const quint32 length = qFromLittleEndian<quint32>(buffer_.constData());
            if (length > quint32(SingleInstance::kMaxMessage))
                return Drop("a message too long");
            if (buffer_.size() < qsizetype(4 + length))
                break;
            const QByteArray payload = buffer_.mid(4, qsizetype(length));
            buffer_.remove(0, qsizetype(4 + length));
            if (!queried_) {
                if (payload != kQuery)
                    return Drop("no query");
                queried_ = true;
                socket_->write(answer_);
                continue;
            }
            const QString path = QString::fromUtf8(payload);
            if (!QFileInfo(path).isAbsolute())
                return Drop("a path that is not absolute");
            socket_->write(QByteArray("\x01\x00\x00\x00", 4));
            emit owner_.FilesArrived({path});
        }
        if (buffer_.size() > 4 + SingleInstance::kMaxMessage)
            Drop("too much data");
        idle_.start(SingleInstance::kTimeoutMs * 2);
    }
    void Drop(const char *why)
    {
        LogText(std::string("single instance: a later start was dropped: ") + why + "\n");
        socket_->abort();
    }

    QLocalSocket *socket_;
    QByteArray answer_;
    SingleInstance &owner_;
    QByteArray buffer_;
    QTimer idle_;
    bool queried_ = false;
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
    if (!socket.waitForConnected(kTimeoutMs) || !Send(socket, kQuery))
        return false;
    QByteArray reply;
    if (!ReadExactly(socket, reply, 4) || reply != "PV20")
        return false; // nothing that takes files runs here
    for (const QString &file : files) {
        const QByteArray path = QFileInfo(file).absoluteFilePath().toUtf8();
        if (path.isEmpty() || path.size() > kMaxMessage)
            continue;
        if (!Send(socket, path) || !ReadExactly(socket, reply, 4))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}

} // namespace pv
