// The hand-over channel: the running program's socket server and a later start's sending end.
#include "app/handoverchannel.h"

#include "core/handovermessage.h"
#include "core/handoverplace.h"
#include "core/systemerror.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace ui {

namespace {

// Closes its descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

Descriptor newSocket() { return Descriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)); }

// The user of the process at the other end of a connected local socket.
std::optional<uid_t> peerUser(int descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

bool isOwnUser(int descriptor) { return peerUser(descriptor) == ::geteuid(); }

// Waits until the descriptor is ready for events or the deadline has passed.
bool waitFor(int descriptor, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd watched{descriptor, events, 0};
        const int ready = ::poll(&watched, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// One later start's connection: its message is read as it arrives; a partial one waits for the rest.
class Connection : public QObject {
public:
    // A child of the server it passes the deck path to, so it never outlives it.
    Connection(Descriptor socket, HandOverServer* server)
        : QObject(server), m_socket(std::move(socket)), m_notifier(m_socket.get(), QSocketNotifier::Read), m_server(server) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Connection::readWaiting);
    }

private:
    void readWaiting() {
        char chunk[4096];
        for (;;) {
            const ssize_t got = ::read(m_socket.get(), chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
            if (got <= 0)
                return finish();
            m_buffer.append(chunk, got);
        }
        QString deckPath;
        switch (core::decodeHandOver(m_buffer, &deckPath)) {
        case core::HandOverParse::Incomplete:
            return;
        case core::HandOverParse::Invalid:
            return finish();
        case core::HandOverParse::Complete: {
            const char ack = core::kHandOverAck;
            (void)!::send(m_socket.get(), &ack, 1, MSG_NOSIGNAL);
            finish();
            Q_EMIT m_server->handedOver(deckPath);
            return;
        }
        }
    }
    void finish() {
        m_notifier.setEnabled(false);
        deleteLater();
    }

    Descriptor m_socket;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;
    HandOverServer* m_server;
};

} // namespace

struct HandOverServer::Listening {
    Descriptor socket;
    QString path;
    QSocketNotifier notifier;
    Listening(Descriptor s, QString p) : socket(std::move(s)), path(std::move(p)), notifier(socket.get(), QSocketNotifier::Read) {}
    ~Listening() { ::unlink(QFile::encodeName(path).constData()); }
};

HandOverServer::HandOverServer(QObject* parent) : QObject(parent) {}

HandOverServer::~HandOverServer() = default;

bool HandOverServer::listen(const QString& socketPath, QString* why) {
    // A socket listened on before goes first: going later, it would take the new one's file with it.
    m_listening.reset();
    const auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const std::optional<sockaddr_un> address = core::socketAddress(socketPath);
    if (!address)
        return fail(QStringLiteral("Der Pfad des Sockets ist zu lang: ") + socketPath);
    Descriptor socket = newSocket();
    if (!socket.valid())
        return fail(core::systemErrorText(errno));
    const auto* raw = reinterpret_cast<const sockaddr*>(&*address);
    if (::bind(socket.get(), raw, sizeof *address) != 0) {
        if (errno != EADDRINUSE)
            return fail(core::systemErrorText(errno));
        ::unlink(address->sun_path);
        if (::bind(socket.get(), raw, sizeof *address) != 0)
            return fail(core::systemErrorText(errno));
    }
    // Only the own user may connect, whatever the folder's mode.
    ::chmod(address->sun_path, S_IRUSR | S_IWUSR);
    if (::listen(socket.get(), SOMAXCONN) != 0)
        return fail(core::systemErrorText(errno));
    m_listening = std::make_unique<Listening>(std::move(socket), socketPath);
    connect(&m_listening->notifier, &QSocketNotifier::activated, this, &HandOverServer::acceptWaiting);
    return true;
}

void HandOverServer::acceptWaiting() {
    for (;;) {
        Descriptor connection(::accept4(m_listening->socket.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!connection.valid()) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;
        }
        // Root can enter the private folder too; nothing of another user is read.
        if (!isOwnUser(connection.get()))
            continue;
        new Connection(std::move(connection), this);
    }
}

QString handOverToRunningProgram(const QStringList& socketPaths, const QString& deckPath, int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    const QByteArray message = core::encodeHandOver(deckPath);
    do {
        for (const QString& path : socketPaths) {
            const std::optional<sockaddr_un> address = core::socketAddress(path);
            Descriptor socket = newSocket();
            if (!address || !socket.valid())
                continue;
            // A local stream socket connects at once or not at all (nobody listening, or a full queue).
            if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0)
                continue;
            if (!isOwnUser(socket.get()))
                return QStringLiteral("Unter %1 wartet das Programm eines anderen Benutzers.").arg(path);
            qsizetype sent = 0;
            while (sent < message.size()) {
                if (!waitFor(socket.get(), POLLOUT, deadline))
                    return QStringLiteral("Das laufende Programm nimmt nichts an.");
                const ssize_t n = ::send(socket.get(), message.constData() + sent, size_t(message.size() - sent), MSG_NOSIGNAL);
                if (n < 0 && errno != EINTR && errno != EAGAIN)
                    return QStringLiteral("Das laufende Programm nimmt nichts an.");
                sent += qMax<ssize_t>(0, n);
            }
            char answer = 0;
            while (waitFor(socket.get(), POLLIN, deadline)) {
                const ssize_t n = ::read(socket.get(), &answer, 1);
                if (n < 0 && (errno == EINTR || errno == EAGAIN))
                    continue;
                if (n == 1 && answer == core::kHandOverAck)
                    return {};
                break;
            }
            return QStringLiteral("Das laufende Programm hat nicht geantwortet.");
        }
        // Not listening yet: the program that holds the lock is still starting.
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return QStringLiteral("Das laufende Programm ist nicht erreichbar.");
}

} // namespace ui
