// One running viewer per user: a local socket server, and the client side of a later start.
#include "single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>

namespace orvane {

namespace {

constexpr char requestEnd = '\n';

} // namespace

SingleInstance::SingleInstance(const QString& serverName, std::chrono::milliseconds timeout,
                               QObject* parent)
    : QObject(parent), serverName_(serverName), timeout_(timeout) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::Role SingleInstance::start(const QString& request) {
    if (serverName_.isEmpty()) {
        return Role::alone;
    }
    // Two viewers started at the same moment must not both find nobody and both listen, the
    // second removing the first one's server; the lock makes "ask, else listen" one step. A
    // server name that is a full path keeps its lock beside it.
    QLockFile lock(QDir(QDir::tempPath()).filePath(serverName_ + QStringLiteral(".lock")));
    lock.setStaleLockTime(std::chrono::milliseconds(10 * timeout_.count()));
    const bool locked = lock.tryLock(timeout_ * 2);

    if (sendToRunning(request)) {
        return Role::secondary;
    }
    // Nobody answered: a server name that is still there was left by a viewer that died.
    QLocalServer::removeServer(serverName_);
    const bool listening = server_.listen(serverName_);
    if (locked) {
        lock.unlock();
    }
    return listening ? Role::primary : Role::alone;
}

bool SingleInstance::sendToRunning(const QString& request) const {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(static_cast<int>(timeout_.count()))) {
        return false;
    }
    QByteArray line = request.toUtf8();
    line.replace(requestEnd, ' ');
    line.append(requestEnd);
    socket.write(line);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(timeout_.count()))) {
            return false;
        }
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(static_cast<int>(timeout_.count()));
    }
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        // The server owns the socket; it goes once the other side has closed.
        const auto readLines = [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine();
                emit requestReceived(QString::fromUtf8(line.chopped(1)));
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readLines);
        connect(socket, &QLocalSocket::disconnected, this, readLines);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readLines();
    }
}

} // namespace orvane
