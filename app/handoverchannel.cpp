// The hand-over channel: the running program's socket server and a later start's sending end.
#include "app/handoverchannel.h"

#include "core/handovermessage.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include <memory>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace ui {

namespace {

// The user of the process at the other end of a connected local socket.
std::optional<uid_t> peerUser(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

bool isOwnUser(qintptr descriptor) { return peerUser(descriptor) == ::geteuid(); }

} // namespace

HandOverServer::HandOverServer(QObject* parent) : QObject(parent) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &HandOverServer::onNewConnection);
}

bool HandOverServer::listen(const QString& socketPath, QString* why) {
    if (m_server.listen(socketPath))
        return true;
    if (m_server.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(socketPath);
        if (m_server.listen(socketPath))
            return true;
    }
    if (why)
        *why = m_server.errorString();
    return false;
}

void HandOverServer::onNewConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Root can enter the private folder too; nothing of another user is read.
        if (!isOwnUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
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

QString handOverToRunningProgram(const QStringList& socketPaths, const QString& deckPath, int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    const QByteArray message = core::encodeHandOver(deckPath);
    const auto remaining = [&] { return int(qMax<qint64>(1, deadline.remainingTime())); };
    do {
        for (const QString& path : socketPaths) {
            QLocalSocket socket;
            socket.connectToServer(path);
            if (!socket.waitForConnected(remaining()))
                continue;
            if (!isOwnUser(socket.socketDescriptor()))
                return QStringLiteral("Unter %1 wartet das Programm eines anderen Benutzers.").arg(path);
            socket.write(message);
            if (!socket.waitForBytesWritten(remaining()))
                return QStringLiteral("Das laufende Programm nimmt nichts an.");
            while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(remaining())) {
            }
            if (socket.read(1) == QByteArray(1, core::kHandOverAck))
                return {};
            return QStringLiteral("Das laufende Programm hat nicht geantwortet.");
        }
        // Not listening yet: the program that holds the lock is still starting.
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return QStringLiteral("Das laufende Programm ist nicht erreichbar.");
}

} // namespace ui
