#include "app/frame/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

namespace tessaly {

namespace {
constexpr int kReadTimeoutMs = 5000;
const char kBufferProperty[] = "handOverBuffer";
} // namespace

TInstanceServer::TInstanceServer(QObject* parent) : QObject(parent) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

TInstanceServer::~TInstanceServer() = default;

bool TInstanceServer::Listen(const QString& name) {
    if (server_->listen(name))
        return true;
    if (server_->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name);
        return server_->listen(name);
    }
    return false;
}

QString TInstanceServer::ServerName() const {
    return server_->serverName();
}

void TInstanceServer::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A sender that stalls is dropped.
        QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0)
            Read(socket);
    }
}

void TInstanceServer::Read(QLocalSocket* socket) {
    QByteArray buffer = socket->property(kBufferProperty).toByteArray() + socket->readAll();
    socket->setProperty(kBufferProperty, buffer);
    THandOver h;
    switch (DecodeHandOver(buffer.toStdString(), h)) {
    case THandOverStatus::Incomplete:
        return;
    case THandOverStatus::Invalid:
        socket->abort();
        return;
    case THandOverStatus::Complete:
        socket->write(kHandOverAck);
        socket->flush();
        socket->disconnectFromServer();
        // The sender is answered before anything is opened, so a message shown while
        // opening never keeps it waiting.
        QTimer::singleShot(0, this, [this, h] { emit HandedOver(h); });
        return;
    }
}

THandOverResult HandOverToRunningCopy(const QString& name, const THandOver& handOver,
                                      int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return THandOverResult::NoRunningCopy;
    QElapsedTimer clock;
    clock.start();
    const std::string message = EncodeHandOver(handOver);
    socket.write(message.data(), static_cast<qint64>(message.size()));
    if (!socket.waitForBytesWritten(timeoutMs))
        return THandOverResult::NoAnswer;
    QByteArray answer;
    while (answer.size() < static_cast<int>(sizeof kHandOverAck) - 1) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || !socket.waitForReadyRead(left))
            break;
        answer += socket.readAll();
    }
    return answer.startsWith(kHandOverAck) ? THandOverResult::HandedOver
                                           : THandOverResult::NoAnswer;
}

bool HandOverOrListen(TInstanceServer& server, const QString& name, const THandOver& handOver,
                      int timeoutMs) {
    // Two copies starting together must not both become the running one.
    QLockFile lock(QDir(QDir::tempPath()).filePath(name + ".lock"));
    lock.setStaleLockTime(timeoutMs * 3);
    lock.tryLock(timeoutMs * 2);
    switch (HandOverToRunningCopy(name, handOver, timeoutMs)) {
    case THandOverResult::HandedOver:
        return true;
    case THandOverResult::NoAnswer:
        // A copy that does not answer is taken for hung: this one runs instead.
    case THandOverResult::NoRunningCopy:
        break;
    }
    server.Listen(name);
    return false;
}

} // namespace tessaly
