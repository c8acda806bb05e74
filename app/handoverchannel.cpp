#include "app/handoverchannel.h"

#include "core/handovermessage.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include <memory>

namespace ui {

HandOverServer::HandOverServer(QObject* parent) : QObject(parent) {
    // Only this user's later starts may hand anything over.
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &HandOverServer::onNewConnection);
}

bool HandOverServer::listen(const QString& name, QString* why) {
    if (m_server.listen(name))
        return true;
    if (m_server.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name);
        if (m_server.listen(name))
            return true;
    }
    if (why)
        *why = m_server.errorString();
    return false;
}

void HandOverServer::onNewConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The message is read as it arrives; a partial one waits for the rest.
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            QString deckPath;
            switch (core::decodeHandOver(*buffer, &deckPath)) {
            case core::HandOverParse::Incomplete:
                return;
            case core::HandOverParse::Invalid:
                socket->abort();
                return;
            case core::HandOverParse::Complete:
                socket->write(QByteArray(1, core::kHandOverAck));
                socket->flush();
                socket->disconnectFromServer();
                Q_EMIT handedOver(deckPath);
                return;
            }
        });
    }
}

bool handOverToRunningProgram(const QString& name, const QString& deckPath, int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    const QByteArray message = core::encodeHandOver(deckPath);
    do {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(qMax<qint64>(1, deadline.remainingTime()))) {
            socket.write(message);
            if (!socket.waitForBytesWritten(qMax<qint64>(1, deadline.remainingTime())))
                return false;
            while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(qMax<qint64>(1, deadline.remainingTime()))) {
            }
            return socket.read(1) == QByteArray(1, core::kHandOverAck);
        }
        // Not listening yet: the program that holds the lock is still starting.
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return false;
}

} // namespace ui
