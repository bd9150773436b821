#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <unistd.h>

namespace kestrova::app {

namespace {
constexpr char kRaise[] = "raise\n";
constexpr int kWaitMs = 1000;
} // namespace

SingleInstance::SingleInstance(QString serverName)
    : name_(serverName.isEmpty() ? defaultServerName() : std::move(serverName)) {}

QString SingleInstance::defaultServerName() {
    return QString("kestrova-uploader-%1").arg(::getuid());
}

bool SingleInstance::askRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kRaise);
    socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen(std::function<void()> raise) {
    raise_ = std::move(raise);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A copy that crashed leaves its socket file behind; nobody answers on it (checked
        // above), so it may go.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_))
            return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("raise") && raise_)
                    raise_();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace kestrova::app
