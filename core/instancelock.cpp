// The lock that makes one running program the owner of the card database.
#include "core/instancelock.h"

#include "core/systemerror.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

namespace {

QString systemReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung zum Anlegen der Datei.");
    case EROFS:
        return QStringLiteral("Der Ordner liegt auf einem schreibgeschützten Datenträger.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Der Ordner existiert nicht.");
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz frei.");
    default:
        return systemErrorText(error);
    }
}

} // namespace

InstanceLock::InstanceLock(const QString& lockPath) : m_path(lockPath) {
    // A program that ends removes its lock file; one that had opened the file just before may lock
    // the removed file then, so the lock counts only on the file that the path still names.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (!tryLock() || m_state != State::Acquired)
            return;
        struct stat held {};
        struct stat named {};
        if (::fstat(m_fd, &held) == 0 && ::stat(QFile::encodeName(lockPath).constData(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev)
            break;
        ::close(m_fd);
        m_fd = -1;
        m_state = State::CannotCreate;
    }
    if (m_state != State::Acquired) {
        if (m_reason.isEmpty())
            m_reason = QStringLiteral("Die Sperrdatei '%1' wird ständig ersetzt.").arg(lockPath);
        return;
    }
    // Whatever an earlier program left in the file goes; the process id is for people who look.
    const QByteArray pid = QByteArray::number(static_cast<qlonglong>(QCoreApplication::applicationPid())) + '\n';
    if (::ftruncate(m_fd, 0) == 0)
        (void)!::pwrite(m_fd, pid.constData(), static_cast<size_t>(pid.size()), 0);
}

bool InstanceLock::tryLock() {
    const QByteArray native = QFile::encodeName(m_path);
    const QString& lockPath = m_path;
    // Opening without truncating: a file whose lock another program holds must stay as it is. A link
    // planted under the name is not followed, or its target would get the process id written into it.
    m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        const int error = errno;
        m_reason = error == ELOOP
                       ? QStringLiteral("Die Sperrdatei '%1' ist eine symbolische Verknüpfung und wird nicht benutzt. "
                                        "Bitte die Verknüpfung entfernen.")
                             .arg(lockPath)
                       : QStringLiteral("Die Sperrdatei '%1' kann nicht angelegt werden: %2").arg(lockPath, systemReason(error));
        return false;
    }
    struct stat opened {};
    if (::fstat(m_fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        m_reason = QStringLiteral("Die Sperrdatei '%1' ist keine gewöhnliche Datei und wird nicht benutzt. Bitte sie entfernen.")
                       .arg(lockPath);
        return false;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(m_fd);
        m_fd = -1;
        if (error == EWOULDBLOCK) {
            m_state = State::HeldByLiveProgram;
        } else {
            m_reason = QStringLiteral("Die Sperrdatei '%1' kann nicht gesperrt werden: %2").arg(lockPath, systemReason(error));
        }
        return false;
    }
    m_state = State::Acquired;
    return true;
}

InstanceLock::~InstanceLock() {
    if (m_fd < 0)
        return;
    // Removed while still locked, so that no other start can lock the file just before it goes.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
}

std::unique_ptr<InstanceLock> claimDatabase(const QString& databasePath) {
    return std::make_unique<InstanceLock>(databasePath + QStringLiteral(".lock"));
}

} // namespace core
