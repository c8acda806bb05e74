// The instance lock against real processes: a live holder keeps a second start out, a killed one
// does not, nor does a lock file that is empty or holds garbage; a lock that cannot be made says why.
#include "core/instancelock.h"
#include "tests/helpers/testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using core::InstanceLock;

namespace {

// Started as "hold <database>": claims the database, says so, and waits to be killed.
int holdLock(const QString& databasePath) {
    const auto lock = core::claimDatabase(databasePath);
    std::printf("%d\n", static_cast<int>(lock->state()));
    std::fflush(stdout);
    for (;;)
        pause();
}

class Holder {
public:
    explicit Holder(const QString& databasePath) {
        m_process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("hold"), databasePath});
        m_process.waitForReadyRead(10000);
        m_state = m_process.readAll().trimmed();
    }
    ~Holder() { kill(); }
    QByteArray state() const { return m_state; }
    void kill() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL);
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
    QByteArray m_state;
};

const QByteArray kAcquired = QByteArray::number(static_cast<int>(InstanceLock::State::Acquired));

} // namespace

class TstInstanceLock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void liveProgramKeepsOthersOutAndReleasesOnExit() {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("dravennacard.db"));
        {
            Holder other(database);
            QCOMPARE(other.state(), kAcquired);
            const auto second = core::claimDatabase(database);
            QCOMPARE(second->state(), InstanceLock::State::HeldByLiveProgram);
            QCOMPARE(second->reason(), QString());
        }
        // Within this process too: the first owner ends, the next one gets it and its file goes with it.
        auto first = core::claimDatabase(database);
        QCOMPARE(first->state(), InstanceLock::State::Acquired);
        QCOMPARE(core::claimDatabase(database)->state(), InstanceLock::State::HeldByLiveProgram);
        first.reset();
        QVERIFY(!QFile::exists(database + QStringLiteral(".lock")));
        QCOMPARE(core::claimDatabase(database)->state(), InstanceLock::State::Acquired);
    }

    void killedHolderLeavesNoLock() {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("dravennacard.db"));
        Holder other(database);
        QCOMPARE(other.state(), kAcquired);
        other.kill();
        // Its file is still there, naming a process that no longer runs.
        QVERIFY(QFile::exists(database + QStringLiteral(".lock")));
        QVERIFY(!testing::readFile(database + QStringLiteral(".lock")).isEmpty());
        const auto lock = core::claimDatabase(database);
        QCOMPARE(lock->state(), InstanceLock::State::Acquired);
        QCOMPARE(testing::readFile(database + QStringLiteral(".lock")),
                 QByteArray::number(static_cast<qlonglong>(QCoreApplication::applicationPid())) + '\n');
    }

    void emptyOrGarbageLockFilesAreStale_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\xff\xfe not a lock \0\n\n", 17);
        QTest::newRow("own pid of another host") << QByteArray("1\nirgendwo\ndravenna\n");
        QTest::newRow("pid of a live process") << QByteArray::number(static_cast<qlonglong>(getppid())) + '\n';
    }

    void emptyOrGarbageLockFilesAreStale() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("dravennacard.db"));
        testing::writeFile(database + QStringLiteral(".lock"), content);
        const auto lock = core::claimDatabase(database);
        QCOMPARE(lock->state(), InstanceLock::State::Acquired);
        QVERIFY(testing::readFile(database + QStringLiteral(".lock")) != content);
    }

    void lockThatCannotBeMadeSaysWhy() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("fehlt/dravennacard.db"));
        auto lock = core::claimDatabase(missing);
        QCOMPARE(lock->state(), InstanceLock::State::CannotCreate);
        QCOMPARE(lock->reason(), QStringLiteral("Die Sperrdatei '%1.lock' kann nicht angelegt werden: Der Ordner existiert nicht.")
                                      .arg(missing));

        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        const QString readOnly = dir.filePath(QStringLiteral("nurlesen"));
        QVERIFY(QDir().mkdir(readOnly));
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
        lock = core::claimDatabase(readOnly + QStringLiteral("/dravennacard.db"));
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(lock->state(), InstanceLock::State::CannotCreate);
        QCOMPARE(lock->reason(), QStringLiteral("Die Sperrdatei '%1/dravennacard.db.lock' kann nicht angelegt werden: "
                                                "Keine Berechtigung zum Anlegen der Datei.")
                                      .arg(readOnly));
    }

    // Something planted under the lock file's name is never written through: a link's target keeps
    // its bytes, and neither a link nor a FIFO is taken for a lock.
    void plantedLinkOrFifoIsRefused() {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("dravennacard.db"));
        const QString lockPath = database + QStringLiteral(".lock");
        const QString victim = dir.filePath(QStringLiteral("wichtig.txt"));
        testing::writeFile(victim, "bleibt\n");
        QVERIFY(QFile::link(victim, lockPath));
        auto lock = core::claimDatabase(database);
        QCOMPARE(lock->state(), InstanceLock::State::CannotCreate);
        QCOMPARE(lock->reason(), QStringLiteral("Die Sperrdatei '%1' ist eine symbolische Verknüpfung und wird nicht "
                                                "benutzt. Bitte die Verknüpfung entfernen.")
                                      .arg(lockPath));
        lock.reset();
        QCOMPARE(testing::readFile(victim), QByteArray("bleibt\n"));
        QVERIFY(QFileInfo(lockPath).isSymLink());

        QVERIFY(QFile::remove(lockPath));
        QCOMPARE(::mkfifo(QFile::encodeName(lockPath).constData(), 0600), 0);
        lock = core::claimDatabase(database);
        QCOMPARE(lock->state(), InstanceLock::State::CannotCreate);
        QCOMPARE(lock->reason(), QStringLiteral("Die Sperrdatei '%1' ist keine gewöhnliche Datei und wird nicht benutzt. "
                                                "Bitte sie entfernen.")
                                      .arg(lockPath));
        lock.reset();
        QVERIFY(QFileInfo::exists(lockPath));
    }

    void readOnlyFileSystemSaysWhy() {
        if (geteuid() != 0)
            QSKIP("mounting needs root");
        QTemporaryDir dir;
        if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                        QStringLiteral("ro,size=16k"), QStringLiteral("tmpfs"), dir.path()}) != 0)
            QSKIP("tmpfs cannot be mounted here");
        const auto lock = core::claimDatabase(dir.filePath(QStringLiteral("dravennacard.db")));
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), dir.path()});
        QCOMPARE(lock->state(), InstanceLock::State::CannotCreate);
        QVERIFY2(lock->reason().endsWith(QStringLiteral("Der Ordner liegt auf einem schreibgeschützten Datenträger.")),
                 qPrintable(lock->reason()));
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "hold")
        return holdLock(QString::fromLocal8Bit(argv[2]));
    TstInstanceLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_instancelock.moc"
