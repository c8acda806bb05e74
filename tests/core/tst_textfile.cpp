// Reading and writing whole files: every system error a file operation meets in German, and a
// write that replaces only regular files.
#include "core/apperror.h"
#include "core/systemerror.h"
#include "core/textfile.h"
#include "tests/helpers/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cerrno>
#include <fcntl.h>
#include <thread>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QString readError(const QString& path) {
    try {
        core::readWholeFile(path);
    } catch (const core::AppError& e) {
        return e.description();
    }
    return QStringLiteral("<gelesen>");
}

} // namespace

class TstTextFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everySystemErrorHasItsOwnGermanText() {
        const int listed[] = {ENOENT, EACCES, EPERM, ENOSPC, EDQUOT, EROFS,  EISDIR,
                              ENOTDIR, EEXIST, EFBIG, EIO,    ELOOP,  ENAMETOOLONG, EMFILE};
        QSet<QString> texts;
        for (const int error : listed) {
            const QString text = core::systemErrorText(error);
            QVERIFY2(text != QString::fromLocal8Bit(std::strerror(error)) && !text.contains(QStringLiteral("Systemfehler")),
                     qPrintable(text));
            texts.insert(text);
        }
        QCOMPARE(texts.size(), std::size(listed));
        QCOMPARE(core::systemErrorText(EINVAL), QStringLiteral("Systemfehler %1.").arg(EINVAL));
    }

    // Each fault made real on disk, read and written; the message names the file and says why in German.
    void realFaultsAreReportedInGerman() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("datei"));
        testing::writeFile(file, "x");
        const QString loop = dir.filePath(QStringLiteral("kreis"));
        QVERIFY(QFile::link(loop, loop));
        const struct {
            QString path;
            int error;
        } faults[] = {
            {dir.filePath(QStringLiteral("fehlt")), ENOENT},
            {dir.path(), EISDIR},
            {file + QStringLiteral("/unter"), ENOTDIR},
            {loop, ELOOP},
            {dir.filePath(QString(300, u'x')), ENAMETOOLONG},
        };
        for (const auto& fault : faults) {
            const QString why = core::systemErrorText(fault.error);
            QCOMPARE(readError(fault.path), QStringLiteral("Fehler beim Zugriff auf '%1': %2").arg(fault.path, why));
            if (fault.error != ENOENT)
                QCOMPARE(core::writeFileAtomically(fault.path, "neu"), why);
        }
        QCOMPARE(core::writeFileAtomically(dir.filePath(QStringLiteral("fehlt/neu")), "neu"), core::systemErrorText(ENOENT));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("datei")});
    }

    // A FIFO, a device node and a link stay what they are; only a regular file is replaced.
    void onlyRegularFilesAreReplaced() {
        QTemporaryDir dir;
        const QString fifoPath = dir.filePath(QStringLiteral("fifo"));
        testing::FifoReader fifo(fifoPath);
        QVERIFY(fifo.made());
        QCOMPARE(core::writeFileAtomically(fifoPath, "durch die Röhre\r\n"), QString());
        QCOMPARE(fifo.received(), QByteArray("durch die Röhre\r\n"));
        QVERIFY(fifo.stillAFifo());

        // A reader that goes away mid-write is a failed save, not the end of the program (SIGPIPE).
        const QString gonePath = dir.filePath(QStringLiteral("gone"));
        QCOMPARE(::mkfifo(QFile::encodeName(gonePath).constData(), 0600), 0);
        std::thread quitter([&] {
            const int in = ::open(QFile::encodeName(gonePath).constData(), O_RDONLY | O_CLOEXEC);
            char first;
            (void)::read(in, &first, 1);
            ::close(in);
        });
        // More than the pipe holds, so the write is still going when the reader leaves.
        QCOMPARE(core::writeFileAtomically(gonePath, QByteArray(4 << 20, 'x')), core::systemErrorText(EPIPE));
        quitter.join();

        if (::geteuid() == 0) {
            const QString null = dir.filePath(QStringLiteral("null"));
            QCOMPARE(::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
            QCOMPARE(core::writeFileAtomically(null, "weg"), QString());
            struct stat st {};
            QCOMPARE(::stat(QFile::encodeName(null).constData(), &st), 0);
            QVERIFY(S_ISCHR(st.st_mode));
        }

        // A link keeps pointing at its file, which gets the new bytes and keeps its mode.
        const QString target = dir.filePath(QStringLiteral("ziel.txt"));
        const QString link = dir.filePath(QStringLiteral("verweis.txt"));
        testing::writeFile(target, "alt");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(target, link));
        QCOMPARE(core::writeFileAtomically(link, "neu"), QString());
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        QCOMPARE(testing::readFile(target), QByteArray("neu"));
        struct stat mode {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &mode), 0);
        QCOMPARE(mode.st_mode & 07777, 0640u);
        QVERIFY(core::sameFile(link, dir.path() + QStringLiteral("/./ziel.txt")));
        QVERIFY(!core::sameFile(link, fifoPath));
    }
};

QTEST_GUILESS_MAIN(TstTextFile)
#include "tst_textfile.moc"
