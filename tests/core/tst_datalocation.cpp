// Where the card database lives: beside the program, or a per-user copy of the shipped catalogue.
#include "core/datalocation.h"
#include "core/programdir.h"
#include "db/cataloguecheck.h"
#include "db/database.h"
#include "tests/helpers/testfiles.h"
#include "tests/helpers/testprogramdir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QtTest/QTest>

#include <functional>
#include <sys/mount.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sees the file system as an unprivileged user would: root may write anywhere, so a read-only
// folder is read-only only for someone else. The saved user id keeps the way back.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() {
        if (::geteuid() == 0)
            m_switched = ::setresgid(65534, 65534, 0) == 0 && ::setresuid(65534, 65534, 0) == 0;
    }
    ~AsUnprivilegedUser() {
        if (m_switched) {
            [[maybe_unused]] const int u = ::setresuid(0, 0, 0);
            [[maybe_unused]] const int g = ::setresgid(0, 0, 0);
        }
    }
    bool ok() const { return ::geteuid() != 0; }

private:
    bool m_switched = false;
};

void overwrite(const QString& path, qint64 at, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(at) && file.write(bytes) == bytes.size());
}

qint64 rows(const QString& db, const QString& sql) {
    return db::Database::OpenDatabase(db)->OpenRecordset(sql).Fields(0).toLongLong();
}

} // namespace

class TstDataLocation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aWritableProgramFolderKeepsItsDatabase() {
        testing::TestProgramDir dir;
        const core::DataLocation where = core::chooseDataLocation(dir.path(), QStringLiteral("/nonexistent/peruser"));
        QVERIFY(!where.perUser);
        QCOMPARE(where.databasePath, dir.databasePath());
        // A program folder whose database is missing still uses it: start-up reports the missing file.
        QVERIFY(QFile::remove(dir.databasePath()));
        QVERIFY(!core::chooseDataLocation(dir.path(), QStringLiteral("/x")).perUser);
        // An installed folder is never written, by whoever could.
        testing::writeFile(dir.filePath(QStringLiteral("installed")), "");
        QVERIFY(QFileInfo(dir.path()).isWritable());
        QCOMPARE(core::chooseDataLocation(dir.path(), QStringLiteral("/x")).databasePath, QStringLiteral("/x/dravennacard.db"));
    }

    void aReadOnlyFolderOrDatabaseMovesToThePerUserCopy() {
        testing::TestProgramDir dir;
        const QString perUser = QStringLiteral("/home/someone/.local/share/DravennaDeckBuilder");
        // Readable by everyone, writable by nobody.
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0444) == 0);
        {
            AsUnprivilegedUser user;
            QVERIFY(user.ok());
            const core::DataLocation where = core::chooseDataLocation(dir.path(), perUser);
            QVERIFY(where.perUser);
            QCOMPARE(where.databasePath, perUser + QStringLiteral("/dravennacard.db"));
        }
        // The folder writable but not the database: SQLite could not write the deck.
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
        {
            AsUnprivilegedUser user;
            QVERIFY(core::chooseDataLocation(dir.path(), perUser).perUser);
        }
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0666) == 0);
        {
            AsUnprivilegedUser user;
            QVERIFY(!core::chooseDataLocation(dir.path(), perUser).perUser);
        }
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
        {
            // The folder read-only, the database writable: its journal could not be made.
            AsUnprivilegedUser user;
            QVERIFY(core::chooseDataLocation(dir.path(), perUser).perUser);
        }
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    }

    void thePerUserFolderIsInTheXdgDataDirectory() {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        QCOMPARE(core::perUserDataDirectory(), data.path() + QStringLiteral("/DravennaDeckBuilder"));
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(core::perUserDataDirectory(), QDir::homePath() + QStringLiteral("/.local/share/DravennaDeckBuilder"));
    }

    void theFirstStartCopiesTheShippedCatalogue() {
        testing::TestProgramDir dir;
        QTemporaryDir home;
        const QString copy = home.filePath(QStringLiteral("data/DravennaDeckBuilder/dravennacard.db"));
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem), QString());
        QCOMPARE(testing::readFile(copy), testing::readFile(dir.databasePath()));
        QVERIFY(QFileInfo(copy).isWritable());
        QVERIFY(QFile::exists(core::shippedStampPath(copy)));
        QCOMPARE(rows(copy, QStringLiteral("SELECT COUNT(*) FROM KARTEN")), 292);
    }

    void anUnchangedCatalogueKeepsTheCopy() {
        testing::TestProgramDir dir;
        QTemporaryDir home;
        const QString copy = home.filePath(QStringLiteral("dravennacard.db"));
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem), QString());
        // The player's copy after a run: compacted and different from the shipped bytes.
        db::Database::OpenDatabase(copy)->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER = 'ORVANE 10'"));
        const QByteArray before = testing::readFile(copy);
        QVERIFY(before != testing::readFile(dir.databasePath()));
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem), QString());
        QCOMPARE(testing::readFile(copy), before);
    }

    void aChangedCatalogueReplacesTheCopyAndItsDeck() {
        testing::TestProgramDir dir;
        QTemporaryDir home;
        const QString copy = home.filePath(QStringLiteral("dravennacard.db"));
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem), QString());
        db::Database::OpenDatabase(copy)->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN"));
        // A journal left by a program that was killed while writing the old copy.
        testing::writeFile(copy + QStringLiteral("-journal"), QByteArray(4096, 'j'));
        QCOMPARE(rows(copy, QStringLiteral("SELECT COUNT(*) FROM DECK")), 292);

        // A new version ships one more card.
        db::Database::OpenDatabase(dir.databasePath())
            ->Execute(QStringLiteral("UPDATE KARTEN SET NAME = 'Neu im Katalog' WHERE NUMMER = 'ORVANE 10'"));
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem), QString());
        QCOMPARE(rows(copy, QStringLiteral("SELECT COUNT(*) FROM DECK")), 0);
        QCOMPARE(rows(copy, QStringLiteral("SELECT COUNT(*) FROM KARTEN WHERE NAME = 'Neu im Katalog'")), 1);
        QVERIFY(!QFile::exists(copy + QStringLiteral("-journal")));
        QCOMPARE(testing::readFile(copy), testing::readFile(dir.databasePath()));
    }

    void aCopyWithoutItsStampIsMadeAgain() {
        // A copy interrupted before its stamp was written may be anything.
        testing::TestProgramDir dir;
        QTemporaryDir home;
        const QString copy = home.filePath(QStringLiteral("dravennacard.db"));
        testing::writeFile(copy, QByteArray("half a copy"));
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem), QString());
        QCOMPARE(testing::readFile(copy), testing::readFile(dir.databasePath()));
    }

    // Whatever spoils the copy, the next start puts the shipped catalogue in its place and says so once.
    void aDamagedCopyIsMadeAgain() {
        testing::TestProgramDir dir;
        const QByteArray shipped = testing::readFile(dir.databasePath());
        const QList<std::pair<const char*, std::function<void(const QString&)>>> damages{
            {"header zeroed", [](const QString& copy) { overwrite(copy, 0, QByteArray(100, '\0')); }},
            {"truncated", [](const QString& copy) { QVERIFY(QFile::resize(copy, QFileInfo(copy).size() / 2)); }},
            {"pages zeroed", [](const QString& copy) { overwrite(copy, 8192, QByteArray(32768, '\0')); }},
            {"table dropped", [](const QString& copy) { db::Database::OpenDatabase(copy)->Execute(QStringLiteral("DROP TABLE ANFUEHRER")); }},
            {"empty", [](const QString& copy) { QVERIFY(QFile::resize(copy, 0)); }},
        };
        for (const auto& [name, damage] : damages) {
            QTemporaryDir home;
            const QString copy = home.filePath(QStringLiteral("dravennacard.db"));
            QString notice;
            QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem, &notice), QString());
            QCOMPARE(notice, QString());
            damage(copy);
            QVERIFY2(!db::catalogueProblem(copy).isEmpty(), name);
            QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem, &notice), QString());
            QVERIFY2(notice.startsWith(QStringLiteral("Die Kartendatenbank %1 wurde aus dem mitgelieferten Katalog neu angelegt, weil sie beschädigt war: ")
                                           .arg(copy)),
                     qPrintable(notice));
            QVERIFY2(testing::readFile(copy) == shipped, name);
            QCOMPARE(db::catalogueProblem(copy), QString());
        }
    }

    // On a full file system: the first copy fails with its reason in German; a new catalogue that
    // cannot be copied leaves the older copy in use, says why, and is copied at the next start.
    void aFullFileSystemKeepsTheOlderCopy() {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        QTemporaryDir mountPoint;
        if (::mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0, "size=512k") != 0)
            QSKIP("tmpfs cannot be mounted here");
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH); });
        const QString copy = mountPoint.filePath(QStringLiteral("dravennacard.db"));
        const QString filler = mountPoint.filePath(QStringLiteral("voll"));
        const auto fill = [&] {
            QFile f(filler);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Append));
            const QByteArray block(4096, 'x');
            while (f.write(block) == block.size() && f.flush()) {
            }
        };
        const QString noSpace = QStringLiteral("Auf dem Datenträger ist nicht genug Platz frei.");
        testing::TestProgramDir dir;
        fill();
        QString notice;
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem, &notice),
                 QStringLiteral("Die Kartendatenbank kann nicht nach %1 kopiert werden: %2").arg(copy, noSpace));
        QCOMPARE(notice, QString());
        QVERIFY(QFile::remove(filler));

        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem, &notice), QString());
        const QByteArray older = testing::readFile(copy);
        db::Database::OpenDatabase(dir.databasePath())
            ->Execute(QStringLiteral("UPDATE KARTEN SET NAME = 'Neu im Katalog' WHERE NUMMER = 'ORVANE 10'"));
        fill();
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem, &notice), QString());
        QCOMPARE(notice, QStringLiteral("Der neue Kartenkatalog wurde nicht übernommen, bis zum nächsten Start gilt der bisherige. "
                                        "Die Kartendatenbank kann nicht nach %1 kopiert werden: %2")
                             .arg(copy, noSpace));
        QCOMPARE(testing::readFile(copy), older);
        QVERIFY(QFile::remove(filler));
        notice.clear();
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem, &notice), QString());
        QCOMPARE(notice, QString());
        QCOMPARE(rows(copy, QStringLiteral("SELECT COUNT(*) FROM KARTEN WHERE NAME = 'Neu im Katalog'")), 1);
    }

    void failuresAreReportedWithTheirReason() {
        QTemporaryDir home;
        // The shipped catalogue missing.
        const QString missing = home.filePath(QStringLiteral("nothing.db"));
        const QString why = core::refreshPerUserCopy(missing, home.filePath(QStringLiteral("copy/dravennacard.db")), db::catalogueProblem);
        QVERIFY2(why.startsWith(QStringLiteral("Die mitgelieferte Kartendatenbank ") + missing), qPrintable(why));
        // The data folder cannot be made: a file stands where it should be.
        testing::TestProgramDir dir;
        testing::writeFile(home.filePath(QStringLiteral("blocked")), "x");
        const QString blocked = core::refreshPerUserCopy(dir.databasePath(), home.filePath(QStringLiteral("blocked/dravennacard.db")), db::catalogueProblem);
        QCOMPARE(blocked, QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(home.filePath(QStringLiteral("blocked"))));
    }

    // A reader beside the program (the command-line tool) opens the database the program uses, or
    // the shipped catalogue while the player's copy is missing or older than it.
    void aReaderOpensTheCatalogueTheProgramUses() {
        testing::TestProgramDir dir;
        QTemporaryDir home;
        const QString perUser = home.filePath(QStringLiteral("DravennaDeckBuilder"));
        const QString copy = perUser + QStringLiteral("/dravennacard.db");
        QCOMPARE(core::catalogueToRead(dir.path(), perUser), dir.databasePath());

        QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0);
        const auto asPlayer = [&] {
            AsUnprivilegedUser user;
            return user.ok() ? core::catalogueToRead(dir.path(), perUser) : QStringLiteral("<still privileged>");
        };
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0444) == 0);
        QCOMPARE(asPlayer(), dir.databasePath()); // no copy yet
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0644) == 0);
        QCOMPARE(core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem), QString());
        QVERIFY(::chmod(QFile::encodeName(perUser).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0444) == 0);
        QCOMPARE(asPlayer(), copy);
        // A new catalogue installed: the copy is stale until the program's next start.
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0644) == 0);
        db::Database::OpenDatabase(dir.databasePath())
            ->Execute(QStringLiteral("UPDATE KARTEN SET NAME = 'Neu im Katalog' WHERE NUMMER = 'ORVANE 10'"));
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0444) == 0);
        QCOMPARE(asPlayer(), dir.databasePath());
        QVERIFY(::chmod(QFile::encodeName(dir.databasePath()).constData(), 0644) == 0);
    }

    void theProgramFindsItsFilesInThePerUserFolder() {
        testing::TestProgramDir dir;
        QCOMPARE(core::databasePath(), dir.databasePath());
        QCOMPARE(core::userFilesDirectory(), dir.path());
        QCOMPARE(core::deckFilesDirectory(), dir.path());
        QCOMPARE(core::filterDirectories(), QStringList{dir.path()});
        core::setPerUserDirectory(QStringLiteral("/home/p/.local/share/DravennaDeckBuilder"));
        QCOMPARE(core::databasePath(), QStringLiteral("/home/p/.local/share/DravennaDeckBuilder/dravennacard.db"));
        QCOMPARE(core::userFilesDirectory(), QStringLiteral("/home/p/.local/share/DravennaDeckBuilder"));
        QCOMPARE(core::deckFilesDirectory(), QDir::homePath());
        QCOMPARE(core::filterDirectories(), (QStringList{QStringLiteral("/home/p/.local/share/DravennaDeckBuilder"), dir.path()}));
        core::setPerUserDirectory(QString());
    }
};

QTEST_GUILESS_MAIN(TstDataLocation)
#include "tst_datalocation.moc"
