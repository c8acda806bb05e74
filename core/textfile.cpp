// Windows-1252 text files, read whole and written atomically.
#include "core/textfile.h"

#include "core/errornumbers.h"
#include "core/apperror.h"
#include "core/systemerror.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

QByteArray encodeText(const QString& text) {
    QStringEncoder encode("windows-1252");
    const QByteArray bytes = encode(text);
    // The encoder puts a stand-in byte for what the code page lacks; decoding back finds it.
    const QString back = decodeText(bytes);
    if (back == text)
        return bytes;
    qsizetype at = 0;
    while (at < text.size() && at < back.size() && text[at] == back[at])
        ++at;
    const QString character = at + 1 < text.size() && text[at].isHighSurrogate() ? text.mid(at, 2) : text.mid(at, 1);
    const QString code = QStringLiteral("%1").arg(character.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
    throw AppError(errors::kInvalidArgument, QStringLiteral("Das Zeichen '%1' (U+%2) kann in einer Windows-1252-Textdatei nicht gespeichert "
                                     "werden. Es wurde nichts geschrieben.")
                          .arg(character, code));
}

QByteArray encodeLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += encodeText(line) + "\r\n";
    return out;
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        lines << bytes.mid(start, i - start);
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

QString decodeText(const QByteArray& bytes) {
    QStringDecoder decode("windows-1252");
    return decode(bytes);
}

QStringList decodeLines(const QByteArray& bytes) {
    // One decoder for the whole file: every byte is one character, so CR and LF stay where they were.
    const QString text = decodeText(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r')
            continue;
        lines << text.mid(start, i - start);
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

void throwFileError(const QString& path, const QString& why) {
    throw core::AppError(errors::kFileAccess, QStringLiteral("Fehler beim Zugriff auf '%1': %2").arg(path, why));
}

QByteArray readWholeFile(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throwFileError(path, fileErrorText(file));
    const QByteArray bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes + 1);
    // readAll stops at a read error as at the end; only the device knows which it was.
    if (file.error() != QFileDevice::NoError)
        throwFileError(path, fileErrorText(file));
    if (maxBytes >= 0 && bytes.size() > maxBytes)
        throwFileError(path, QStringLiteral("Die Datei ist zu groß (mehr als %1 Bytes).").arg(maxBytes));
    return bytes;
}

bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 && ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

namespace {

// While it lives, a pipe or FIFO whose reader has gone fails the write with EPIPE instead of ending the
// program with SIGPIPE; the signal the write raised is taken back, one that was pending before stays.
class PipeSignalHeld {
public:
    PipeSignalHeld() {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before);
    }
    ~PipeSignalHeld() {
        const int error = errno; // the write's, which the caller reads
        const timespec noWait{};
        if (!m_wasPending)
            while (sigtimedwait(&m_pipe, nullptr, &noWait) == SIGPIPE) {
            }
        pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
        errno = error;
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_before;
    bool m_wasPending = false;
};

// Writes every byte, past interruptions and short writes; false with errno set when the disk refuses.
bool writeAll(int fd, const QByteArray& bytes) {
    const PipeSignalHeld pipeSignal;
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

// A device, a FIFO or a terminal is written as it stands: putting a plain file in its place
// would take it from everyone else who uses it.
QString writeInPlace(const QByteArray& native, const QByteArray& bytes) {
    const int fd = ::open(native.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return systemErrorText(errno);
    const bool written = writeAll(fd, bytes);
    const int error = errno;
    ::close(fd);
    return written ? QString() : systemErrorText(error);
}

// The descriptor that /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N stands for, -1 for any
// other path. It is written as a shell's redirection left it (appending, at its offset), not reopened
// and not replaced.
int ownDescriptor(const QString& path) {
    static const QRegularExpression names(QStringLiteral("^/(?:dev/(?:(stdout)|(stderr)|fd/(\\d+))|proc/self/fd/(\\d+))$"));
    const QRegularExpressionMatch match = names.match(path);
    if (!match.hasMatch())
        return -1;
    if (match.hasCaptured(1))
        return STDOUT_FILENO;
    if (match.hasCaptured(2))
        return STDERR_FILENO;
    bool number = false;
    const int fd = (match.hasCaptured(3) ? match.captured(3) : match.captured(4)).toInt(&number);
    return number && ::fcntl(fd, F_GETFD) >= 0 ? fd : -1;
}

// The file a chain of symbolic links ends at (which need not exist yet): the link stays, its file is replaced.
QString linkTarget(const QString& path, int* error) {
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink(); ++depth) {
        if (depth == 40) {
            *error = ELOOP;
            return {};
        }
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (const int fd = ownDescriptor(path); fd >= 0)
        return writeAll(fd, bytes) ? QString() : systemErrorText(errno);
    struct stat existing {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return systemErrorText(EISDIR);
    if (exists && !S_ISREG(existing.st_mode))
        return writeInPlace(QFile::encodeName(path), bytes);

    int error = 0;
    const QString target = linkTarget(path, &error);
    if (target.isEmpty())
        return systemErrorText(error);
    // The temporary file sits beside the target, so that the rename stays on one file system.
    const QFileInfo targetInfo(target);
    const QByteArray folder = QFile::encodeName(targetInfo.absolutePath());
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = folder + "/.dravenna-" + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        // Created as any new file is (umask), then given the mode of the file it replaces.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            return systemErrorText(errno);
    }
    bool complete = (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) && writeAll(fd, bytes) && ::fsync(fd) == 0;
    error = errno;
    if (::close(fd) != 0 && complete) {
        complete = false;
        error = errno;
    }
    if (complete && ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        complete = false;
        error = errno;
    }
    if (!complete) {
        ::unlink(temporary.constData());
        return systemErrorText(error);
    }
    // The new name is on disk only once its folder is.
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace core
