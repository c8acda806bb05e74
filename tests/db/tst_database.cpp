// Connections, recordsets and data controls on a real catalogue file.
#include "db/database.h"
#include "db/datacontrol.h"
#include "db/dberror.h"
#include "db/enginemessages.h"
#include "db/jetfunctions.h"
#include "db/queries.h"
#include "tests/helpers/testprogramdir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest/QTest>
#include <sqlite3.h>

using db::Database;
using db::DbError;

class TstDatabase : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testing::TestProgramDir>(); }
    void cleanup() { m_dir.reset(); }

    void missingOrForeignFileIsAnError() {
        QVERIFY_THROWS_EXCEPTION(DbError, Database::OpenDatabase(m_dir->filePath(QStringLiteral("nope.db"))));
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("nope.db"))));
        QFile junk(m_dir->filePath(QStringLiteral("junk.db")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is no database at all, just some text that is long enough to look like a header");
        junk.close();
        QVERIFY_THROWS_EXCEPTION(DbError, Database::OpenDatabase(junk.fileName()));
    }

    void recordsetWalksRowsAndReadsFields() {
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        auto rs = conn->OpenRecordset(QStringLiteral("SELECT NAME, STFEUER, STERDE, MONDE FROM KARTEN WHERE NUMMER = 'SIVAR 05'"));
        QVERIFY(rs.RecordCount() > 0);
        QVERIFY(!rs.Eof());
        QCOMPARE(rs.Fields(0).toString(), QStringLiteral("Äbtissin Güldenstern"));
        QCOMPARE(rs.Fields(QStringLiteral("name")).toString(), QStringLiteral("Äbtissin Güldenstern"));
        QCOMPARE(rs.Fields(QStringLiteral("StFeuer")).toInt(), 4);
        QVERIFY(rs.Fields(2).isNull());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Fields(QStringLiteral("NOPE")));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Fields(9));
        rs.MoveNext();
        QVERIFY(rs.Eof());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Fields(0));

        auto none = conn->OpenRecordset(QStringLiteral("SELECT * FROM DECK"));
        QCOMPARE(none.RecordCount(), 0);
        QVERIFY(none.Eof());
        conn->Close();
        QVERIFY_THROWS_EXCEPTION(DbError, conn->OpenRecordset(QStringLiteral("SELECT * FROM DECK")));
    }

    void apostropheNamesAddFindAndDelete() {
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        const QString name = db::quoted(QStringLiteral("D'Arvens Schwur"));
        const QString where = QStringLiteral("WHERE NAME = '") + name + QStringLiteral("' ");
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE KARTEN.NAME = '") + name + QStringLiteral("' "));
        QCOMPARE(conn->OpenRecordset(QStringLiteral("SELECT * FROM DECK ") + where).RecordCount(), 1);
        conn->Execute(QStringLiteral("DELETE * FROM DECK ") + where);
        QCOMPARE(conn->OpenRecordset(QStringLiteral("SELECT * FROM DECK")).RecordCount(), 0);
    }

    void deckHasTheCatalogueColumnsInOrder() {
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        const QStringList karten = conn->OpenRecordset(QStringLiteral("SELECT * FROM KARTEN")).labels();
        QCOMPARE(karten, (QStringList{"NAME", "SET", "FRAKTION", "NUMMER", "KARTENART", "STFEUER", "STERDE", "ABFEUER",
                                      "ABERDE", "SONDER", "MONDE", "FREI", "PAAR", "GESCHÜTZT", "WIEDERAUFNEHMEN", "STOP",
                                      "ERSETZEN", "GANG", "KUENSTLER", "FLAVOR"}));
        QCOMPARE(conn->OpenRecordset(QStringLiteral("SELECT * FROM DECK")).labels(), karten);
    }

    void catalogueCarriesTheAwkwardCases() {
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        auto has = [&](const QString& where) {
            return conn->OpenRecordset(QStringLiteral("SELECT * FROM KARTEN WHERE ") + where).RecordCount() > 0;
        };
        QVERIFY(has(QStringLiteral("NAME LIKE \"*'*\"")));
        QVERIFY(has(QStringLiteral("ISNULL(STFEUER) AND ISNULL(STERDE)")));
        QVERIFY(has(QStringLiteral("ISNULL(STFEUER) AND NOT ISNULL(STERDE)")));
        QVERIFY(has(QStringLiteral("ABFEUER")) && has(QStringLiteral("ABERDE")));
        for (const char* symbol : {"FREI", "PAAR", "GESCHÜTZT", "WIEDERAUFNEHMEN", "STOP", "ERSETZEN"})
            QVERIFY2(has(QString::fromUtf8(symbol)), symbol);
        QVERIFY(has(QStringLiteral("GANG = '-'")) && has(QStringLiteral("GANG <> '-'")));
        QVERIFY(has(QStringLiteral("SONDER = ''")) && has(QStringLiteral("LEN(SONDER) > 300")));
        QCOMPARE(conn->OpenRecordset(QStringLiteral("SELECT * FROM INQUISITOR WHERE NAME LIKE '* *'")).RecordCount() > 0, true);
        QCOMPARE(conn->OpenRecordset(QStringLiteral("SELECT * FROM ANFUEHRER WHERE NAME LIKE '* (*'")).RecordCount(), 1);
        QCOMPARE(conn->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM FRAKTIONEN")).Fields(0).toInt(), 8);
        auto perFaction = conn->OpenRecordset(QStringLiteral("SELECT FRAKTION, COUNT(*) FROM ANFUEHRER GROUP BY FRAKTION"));
        int factions = 0;
        for (; !perFaction.Eof(); perFaction.MoveNext(), ++factions)
            QVERIFY(perFaction.Fields(1).toInt() >= 2);
        QCOMPARE(factions, 8);
    }

    void changesOfOneConnectionAreSeenByTheNextRefresh() {
        db::DataControl deck;
        deck.DatabaseName = m_dir->databasePath();
        deck.RecordSource = db::sqlDeck() + db::kStartOrder;
        deck.Refresh();
        QCOMPARE(deck.model().rowCount(), 0);
        QCOMPARE(deck.model().labels().size(), 9);

        auto conn = Database::OpenDatabase(m_dir->databasePath());
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE KARTEN.SET = 'O' "));
        const int expected = conn->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt();
        QVERIFY(expected > 10);
        deck.Refresh();
        QCOMPARE(deck.model().rowCount(), expected);
        for (int r = 1; r < deck.model().rowCount(); ++r)
            QVERIFY(db::jetCompare(deck.model().cell(r - 1, 0), deck.model().cell(r, 0)) <= 0);
        // Cells are text: numbers plain, NULL empty.
        bool sawEmptyStrength = false;
        for (int r = 0; r < deck.model().rowCount(); ++r) {
            bool ok = false;
            deck.model().cell(r, 4).toInt(&ok);
            QVERIFY(ok);
            sawEmptyStrength = sawEmptyStrength || deck.model().cell(r, 3).isEmpty();
        }
        QVERIFY(sawEmptyStrength);
    }

    void dataControlRefusesWritingText() {
        db::DataControl pool;
        pool.DatabaseName = m_dir->databasePath();
        pool.RecordSource = db::sqlPool() + QStringLiteral("WHERE 1=1; DELETE * FROM KARTEN ") + db::kStartOrder;
        QVERIFY_THROWS_EXCEPTION(DbError, pool.Refresh());
        pool.RecordSource = db::sqlPool() + db::kStartOrder;
        pool.Refresh();
        QCOMPARE(pool.model().rowCount(), 292);
    }

    // A reader beside a running program: the program's deck, in the file and in its open
    // transaction, stays as it is whatever the reader does with its own DECK.
    void aPrivateDeckLeavesTheFileAndItsDeckAlone() {
        auto program = Database::OpenDatabase(m_dir->databasePath());
        program->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE FRAKTION = 'Sivar'"));
        const auto fileHash = [this] {
            QFile f(m_dir->databasePath());
            return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
        };
        const QByteArray before = fileHash();
        const QString programDeck = QStringLiteral("SELECT COUNT(*) FROM DECK WHERE FRAKTION = 'Sivar'");
        const int sivar = program->OpenRecordset(programDeck).Fields(0).toInt();
        QVERIFY(sivar > 0);

        auto reader = Database::OpenWithPrivateDeck(m_dir->databasePath());
        QCOMPARE(reader->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt(), 0);
        reader->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER = 'ORVANE 05'"));
        // The same columns, types and collation: a whole row copies across and compares like the file's.
        auto row = reader->OpenRecordset(QStringLiteral("SELECT NAME, ABFEUER, STFEUER FROM DECK WHERE NAME = 'd''arvens schwur'"));
        QCOMPARE(row.Fields(0).toString(), QStringLiteral("D'Arvens Schwur"));
        QCOMPARE(row.Fields(1).toInt(), -1);
        reader->Execute(QStringLiteral("DELETE * FROM DECK WHERE FRAKTION = 'Sivar'"));
        QCOMPARE(reader->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt(), 1);
        // The file itself cannot be written through it.
        QVERIFY_THROWS_EXCEPTION(DbError, reader->Execute(QStringLiteral("DELETE * FROM KARTEN")));
        QCOMPARE(reader->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM KARTEN")).Fields(0).toInt(), 292);

        // The program goes on changing its deck, even while the reader reads.
        sqlite3* writer = db::openRawConnection(m_dir->databasePath(), db::Access::ReadWrite);
        QCOMPARE(sqlite3_exec(writer, "BEGIN IMMEDIATE; INSERT INTO DECK SELECT * FROM KARTEN WHERE FRAKTION = 'Garsk'", nullptr, nullptr, nullptr),
                 SQLITE_OK);
        QCOMPARE(reader->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt(), 1);
        QCOMPARE(reader->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK, KARTEN WHERE DECK.NUMMER = KARTEN.NUMMER")).Fields(0).toInt(), 1);
        QCOMPARE(sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(writer);
        reader.reset();
        QCOMPARE(program->OpenRecordset(programDeck).Fields(0).toInt(), sivar);
        QCOMPARE(program->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt(), sivar);
        QCOMPARE(fileHash(), before);
    }

    void aPrivateDeckNeedsACardDatabase() {
        // Opening for reading never makes a file.
        QVERIFY_THROWS_EXCEPTION(DbError, Database::OpenWithPrivateDeck(m_dir->filePath(QStringLiteral("nope.db"))));
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("nope.db"))));
        // A catalogue without the deck table is no card database.
        const QString noDeck = m_dir->filePath(QStringLiteral("ohnedeck.db"));
        QVERIFY(QFile::copy(m_dir->databasePath(), noDeck));
        QFile::setPermissions(noDeck, QFile::ReadOwner | QFile::WriteOwner);
        sqlite3* h = db::openRawConnection(noDeck, db::Access::ReadWrite);
        QCOMPARE(sqlite3_exec(h, "DROP TABLE DECK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(h);
        try {
            Database::OpenWithPrivateDeck(noDeck);
            QFAIL("opened");
        } catch (const DbError& e) {
            QCOMPARE(e.description(), QStringLiteral("Die Datei '%1' ist keine Kartendatenbank.").arg(noDeck));
        }
    }

    void engineErrorsReachThePlayerInGerman() {
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        const auto failure = [&](const QString& sql) {
            try {
                conn->OpenRecordset(sql, db::Trust::UserCondition);
            } catch (const DbError& e) {
                return e.description();
            }
            return QStringLiteral("<kein Fehler>");
        };
        QCOMPARE(failure(QStringLiteral("SELECT NAME FROM KARTEN WHERE [Gibtsnicht] = 1")),
                 QStringLiteral("Unbekannter Feldname: Gibtsnicht"));
        QCOMPARE(failure(QStringLiteral("SELECT NAME FROM KARTEN WHERE")), QStringLiteral("Die Abfrage ist unvollständig."));
        QCOMPARE(failure(QStringLiteral("SELECT NAME FROM KARTEN WHERE NAME = = 1")), QStringLiteral("Syntaxfehler bei \"=\"."));
        QCOMPARE(failure(QStringLiteral("SELECT NAME FROM Nirgends")), QStringLiteral("Unbekannte Tabelle: Nirgends"));
        QCOMPARE(failure(QStringLiteral("SELECT NAME FROM KARTEN WHERE NAME IN (SELECT NAME, NUMMER FROM KARTEN)")),
                 QStringLiteral("Die Unterabfrage liefert 2 Spalten, erwartet wird 1."));
        // A text the table does not know keeps its words behind a German lead-in.
        QCOMPARE(db::germanEngineMessage(QStringLiteral("something new")), QStringLiteral("Fehler der Datenbank: something new"));
        QCOMPARE(db::germanEngineMessage(QStringLiteral("no such column: %2x")), QStringLiteral("Unbekannter Feldname: %2x"));
    }
};

QTEST_GUILESS_MAIN(TstDatabase)
#include "tst_database.moc"
