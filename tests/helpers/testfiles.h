#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest/QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace testing {

// A file's bytes, or a marker that no real file content can be mistaken for.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

// A FIFO made at path with a reader that collects everything written into it. The FIFO is held open
// for writing here too, so received() ends the reading even when the FIFO was replaced or nobody
// ever wrote: a faulty write cannot hang the test.
class FifoReader {
public:
    explicit FifoReader(const QString& path) : m_path(path) {
        const QByteArray native = QFile::encodeName(path);
        if (::mkfifo(native.constData(), 0600) != 0)
            return;
        // Both ends opened here, before any writer comes: nothing written can be lost to a late reader.
        const int in = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_hold = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
        ::fcntl(in, F_SETFL, 0);
        m_reader = std::thread([this, in] {
            char buffer[4096];
            for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) > 0;)
                m_bytes.append(buffer, n);
            ::close(in);
        });
    }
    ~FifoReader() { received(); }
    bool made() const { return m_hold >= 0; }
    QByteArray received() {
        if (m_hold >= 0)
            ::close(m_hold);
        m_hold = -1;
        if (m_reader.joinable())
            m_reader.join();
        return m_bytes;
    }
    // Still a FIFO, not replaced by a regular file.
    bool stillAFifo() const {
        struct stat kind {};
        return ::lstat(QFile::encodeName(m_path).constData(), &kind) == 0 && S_ISFIFO(kind.st_mode);
    }

private:
    QString m_path;
    int m_hold = -1;
    std::thread m_reader;
    QByteArray m_bytes;
};

} // namespace testing
