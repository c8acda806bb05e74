// Record sources read on demand: which texts qualify, that the rows are the rows the whole query
// gives, that a shown row holds no lock, and the marking the model consults.
#include "db/database.h"
#include "db/datacontrol.h"
#include "db/dberror.h"
#include "db/queries.h"
#include "db/rowsource.h"
#include "deck/deckmarking.h"
#include "filter/quickfilter.h"
#include "tests/helpers/poolconditions.h"
#include "tests/helpers/testprogramdir.h"
#include "tests/helpers/wholequery.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest/QTest>

using db::Database;

class TstRowSource : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;

    // Every cell of every row of the data control against the same text run as a whole.
    void sameRowsAsTheWholeQuery(db::DataControl& source) {
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        const db::Recordset all = conn->OpenRecordset(source.RecordSource);
        const db::GridModel& model = source.model();
        QCOMPARE(model.labels(), all.labels());
        QCOMPARE(model.rowCount(), all.RecordCount());
        for (int r = 0; r < model.rowCount(); ++r)
            for (int c = 0; c < all.labels().size(); ++c)
                QCOMPARE(model.cell(r, c), db::cellText(all.rows()[static_cast<size_t>(r)][static_cast<size_t>(c)]));
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testing::TestProgramDir>(); }
    void cleanup() { m_dir.reset(); }

    // Thousands of filters, orders and typed names from the dialect's grammar, each read for the pool
    // and the deck as the window reads them, against the whole query.
    void generatedSourcesGiveTheRowsOfTheWholeQuery() {
        auto whole = Database::OpenDatabase(m_dir->databasePath());
        // A deck out of the table's order, for sub-selects, the marking and the deck's own order.
        for (const char* faction : {"TOLVEN", "ORVANE", "BRAMEL"})
            whole->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER LIKE '%1 [01]#'").arg(QLatin1String(faction)));
        const QSet<QString> inDeck = deck::deckNumbers(*whole);
        db::DataControl pool, deckSource;
        pool.DatabaseName = deckSource.DatabaseName = m_dir->databasePath();
        testing::SeededChoices choices(20261208);
        // Small, so that it also starts again empty now and then, as it does in a long fuzzing run.
        testing::WholeAnswers answers(std::size_t{4} << 20);
        QStringList differences;
        int onDemand = 0, cutShort = 0, remembered = 0;
        for (int i = 0; i < 3000 && differences.size() < 10; ++i) {
            const testing::PoolSource s = testing::poolSource(choices);
            filter::setNameFilteredSource(pool, db::sqlPool(), s.where, s.order, s.name);
            deckSource.RecordSource = db::sqlDeck() + s.order;
            bool poolCut = false;
            for (db::DataControl* source : {&pool, &deckSource}) {
                bool cut = false;
                if (const QString d = testing::differenceFromWholeQuery(*source, *whole, inDeck, &cut, &answers); !d.isEmpty())
                    differences << QStringLiteral("case %1, %2: %3 | %4 | %5: %6")
                                       .arg(i)
                                       .arg(source == &pool ? u"pool" : u"deck", s.where, s.name, s.order, d);
                cutShort += cut;
                poolCut = poolCut || (cut && source == &pool);
            }
            onDemand += !poolCut && pool.model().rowsOnDemand() && pool.model().rowCount() > 1;
            // The name box emptied again, as by Backspace: the list it narrowed may stand in for the query.
            const bool narrowed = !poolCut && pool.lastSource() == db::DataControl::Source::Narrowed;
            filter::setNameFilteredSource(pool, db::sqlPool(), s.where, s.order, QString());
            bool cut = false;
            if (const QString d = testing::differenceFromWholeQuery(pool, *whole, inDeck, &cut, &answers); !d.isEmpty())
                differences << QStringLiteral("case %1, name box emptied: %2 | %3 | %4: %5").arg(i).arg(s.where, s.name, s.order, d);
            remembered += narrowed && !cut && pool.lastSource() == db::DataControl::Source::Remembered;
            // The list read ahead of the first letter is the one that letter narrows.
            if (i % 50 == 0) {
                db::DataControl ahead;
                ahead.DatabaseName = m_dir->databasePath();
                filter::setNameFilteredSource(ahead, db::sqlPool(), s.where, s.order, s.name);
                if (ahead.NameNarrowing)
                    ahead.rememberBase(*ahead.NameNarrowing);
                if (const QString d = testing::differenceFromWholeQuery(ahead, *whole, inDeck, &cut); !d.isEmpty())
                    differences << QStringLiteral("case %1, read ahead: %2 | %3 | %4: %5").arg(i).arg(s.where, s.name, s.order, d);
            }
        }
        for (const QString& d : differences)
            qWarning().noquote() << d;
        QVERIFY(differences.isEmpty());
        // A query the time budget cut short on a busy machine is no verdict; most must be compared.
        QVERIFY2(cutShort < 3000, qPrintable(QStringLiteral("%1 of 6000 cut short").arg(cutShort)));
        // Most of them took the fast path with rows to compare; the rest fell back or were refused.
        QVERIFY2(onDemand > 1200, qPrintable(QString::number(onDemand)));
        QVERIFY2(remembered > 600, qPrintable(QString::number(remembered)));
    }

    // A card renamed between two letters typed on the same filter: the narrowed list is read again.
    void narrowingFollowsAChangedFile() {
        auto whole = Database::OpenDatabase(m_dir->databasePath());
        whole->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER LIKE 'ORVANE [01]#'"));
        const QSet<QString> inDeck = deck::deckNumbers(*whole);
        QStringList numbers;
        for (auto rs = whole->OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN ORDER BY NUMMER")); !rs.Eof(); rs.MoveNext())
            numbers << rs.Fields(0).toString();
        db::DataControl pool;
        pool.DatabaseName = m_dir->databasePath();
        testing::SeededChoices choices(20261209);
        QStringList differences;
        int narrowed = 0;
        for (int i = 0; i < 300 && differences.size() < 10; ++i) {
            const testing::PoolSource s = testing::poolSource(choices);
            for (const QString& name : {s.name.isEmpty() ? QStringLiteral("a") : s.name, QStringLiteral("qz")}) {
                if (name == u"qz")
                    whole->Execute(QStringLiteral("UPDATE KARTEN SET NAME = NAME & ' Qz' WHERE NUMMER = '%1'").arg(numbers[i % numbers.size()]));
                filter::setNameFilteredSource(pool, db::sqlPool(), s.where, s.order, name);
                bool cut = false;
                if (const QString d = testing::differenceFromWholeQuery(pool, *whole, inDeck, &cut); !d.isEmpty())
                    differences << QStringLiteral("case %1: %2 | %3 | %4: %5").arg(i).arg(s.where, name, s.order, d);
                narrowed += name == u"qz" && !cut && pool.lastSource() == db::DataControl::Source::Narrowed;
            }
        }
        for (const QString& d : differences)
            qWarning().noquote() << d;
        QVERIFY(differences.isEmpty());
        QVERIFY2(narrowed > 100, qPrintable(QString::number(narrowed)));
    }

    // A NULL matches no pattern; without an order the table's own order; an ordinal counts the
    // pool's columns.
    void nullsOrderlessAndOrdinalSourcesAsTheWholeQuery() {
        auto whole = Database::OpenDatabase(m_dir->databasePath());
        for (const char* number : {"ORVANE 05", "BRAMEL 02"})
            whole->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER = '%1'").arg(QLatin1String(number)));
        const QSet<QString> inDeck = deck::deckNumbers(*whole);
        db::DataControl pool, deckSource;
        pool.DatabaseName = deckSource.DatabaseName = m_dir->databasePath();
        const std::pair<const char*, int> sources[] = {{"WHERE [StErde] LIKE '*' ORDER BY FRAKTION, KARTENART, NAME ", 205},
                                                       {"WHERE (FREI = TRUE) AND STERDE LIKE '*' ", 19},
                                                       {"WHERE FREI ORDER BY 1", 32}};
        for (const auto& [where, rows] : sources) {
            pool.RecordSource = db::sqlPool() + QString::fromUtf8(where);
            QCOMPARE(testing::differenceFromWholeQuery(pool, *whole, inDeck), QString());
            QCOMPARE(pool.model().rowCount(), rows);
        }
        QCOMPARE(pool.model().cell(0, 0), QStringLiteral("Bramel"));
        deckSource.RecordSource = db::sqlDeck();
        QCOMPARE(testing::differenceFromWholeQuery(deckSource, *whole, inDeck), QString());
        QCOMPARE(deckSource.model().cell(0, 0), QStringLiteral("Orvane"));
    }

    // The translation hands over a plain SELECT's parts; anything that may change which rows there
    // are, or orders by a position, is left to the whole query.
    void onlyPlainOneTableTextsAreReadOnDemand() {
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        const auto queries = [&](const char* jet) {
            const db::Translation t = conn->translateQuery(QString::fromUtf8(jet));
            return t.plain ? db::rowidQueries(*t.plain) : std::nullopt;
        };
        const auto q = queries("SELECT Name, (FRAKTION & ')') AS X FROM KARTEN WHERE NAME LIKE '*from*' ORDER BY NAME DESC, MONDE");
        QVERIFY(q);
        QCOMPARE(q->rowids, QStringLiteral(R"(SELECT "KARTEN".rowid FROM "KARTEN" WHERE "NAME" LIKE '*from*' COLLATE JET ORDER BY "NAME" DESC, "MONDE", "KARTEN".rowid)"));
        QCOMPARE(q->fetch, QStringLiteral(R"(SELECT "NAME" AS "Name" , ((COALESCE("FRAKTION",'') || COALESCE(')' COLLATE JET,''))) AS "X" FROM "KARTEN" WHERE "KARTEN".rowid = ?1)"));
        QVERIFY(queries("SELECT NAME FROM KARTEN WHERE NAME IN (SELECT MAX(NAME) FROM DECK)"));
        QVERIFY(queries("SELECT NAME FROM KARTEN"));
        const char* whole[] = {
            "SELECT DISTINCT MONDE FROM KARTEN",
            "SELECT COUNT(*) FROM KARTEN",
            "SELECT NAME FROM KARTEN ORDER BY MAX(MONDE)",
            "SELECT FRAKTION FROM KARTEN GROUP BY FRAKTION",
            "SELECT NAME FROM KARTEN WHERE 1=1 UNION SELECT NAME FROM DECK",
            "SELECT NAME FROM KARTEN, DECK",
            "SELECT NAME FROM KARTEN k",
            "SELECT NAME FROM KARTEN INNER JOIN DECK ON KARTEN.NAME = DECK.NAME",
            "SELECT NAME FROM KARTEN; DELETE * FROM DECK",
            "SELECT NAME FROM KARTEN WHERE FREI ORDER BY 1",
            "SELECT NAME FROM KARTEN ORDER BY NAME, (2) DESC",
            "SELECT NAME FROM KARTEN ORDER BY",
            "SELECT NAME FROM NOSUCHTABLE",
            "DELETE * FROM KARTEN",
        };
        for (const char* text : whole)
            QVERIFY2(!queries(text), text);
    }

    // The typed name is handed over beside the text only where the text is the filter's narrowed by it.
    void aTypedNameNarrowsOnlyAWholeCondition() {
        db::DataControl pool;
        for (const char* where : {"", " WHERE FREI OR MONDE = 2 ", "where(FREI)"}) {
            filter::setNameFilteredSource(pool, db::sqlPool(), QString::fromUtf8(where), db::kStartOrder, QStringLiteral("it's"));
            QVERIFY2(pool.NameNarrowing, where);
            QCOMPARE(pool.NameNarrowing->base, db::sqlPool() + QString::fromUtf8(where) + db::kStartOrder);
            QCOMPARE(pool.NameNarrowing->contains, QStringLiteral("it's"));
        }
        filter::setNameFilteredSource(pool, db::sqlPool(), QStringLiteral("ORDER BY 1 "), db::kStartOrder, QStringLiteral("a"));
        QVERIFY(!pool.NameNarrowing);
        filter::setNameFilteredSource(pool, db::sqlPool(), QString(), db::kStartOrder, QString());
        QVERIFY(!pool.NameNarrowing);
        QCOMPARE(pool.RecordSource, db::sqlPool() + db::kStartOrder);
    }

    void aNarrowedPoolSeesCardsAddedSinceTheLastKeystroke() {
        db::DataControl pool;
        pool.DatabaseName = m_dir->databasePath();
        filter::setNameFilteredSource(pool, db::sqlPool(), QString(), db::kStartOrder, QStringLiteral("e"));
        pool.Refresh();
        const int before = pool.model().rowCount();
        Database::OpenDatabase(m_dir->databasePath())
            ->Execute(QStringLiteral("INSERT INTO KARTEN (NAME, FRAKTION, NUMMER, MONDE) VALUES ('Zeder', 'Orvane', 'X 1', 1)"));
        filter::setNameFilteredSource(pool, db::sqlPool(), QString(), db::kStartOrder, QStringLiteral("ed"));
        pool.Refresh();
        QVERIFY(pool.model().findRow(1, QStringLiteral("Zeder")) >= 0);
        sameRowsAsTheWholeQuery(pool);
        filter::setNameFilteredSource(pool, db::sqlPool(), QString(), db::kStartOrder, QStringLiteral("e"));
        pool.Refresh();
        QCOMPARE(pool.model().rowCount(), before + 1);
        // A malformed pattern is refused as the query refuses it.
        filter::setNameFilteredSource(pool, db::sqlPool(), QString(), db::kStartOrder, QStringLiteral("[e"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, pool.Refresh());
    }

    void poolRowsOnDemandAreTheRowsOfTheWholeQuery() {
        const QString conditions[] = {
            QString(),
            QStringLiteral(" WHERE NAME LIKE '*e*' "),
            QStringLiteral("WHERE FREI = TRUE  AND NAME LIKE '*O''N*' "),
            QStringLiteral("WHERE CSTR(MONDE) = '2' "),
            QStringLiteral("WHERE NAME IN (SELECT NAME FROM KARTEN WHERE STFEUER > 2) "),
            QStringLiteral("WHERE (STFEUER = 1 OR STERDE = 2) AND NAME LIKE '*r*' "),
            QStringLiteral("WHERE STFEUER = 1 OR STERDE = 2 AND NAME LIKE '*r*' "),
            QStringLiteral(" WHERE NAME LIKE '*ä*' "),
        };
        const QString orders[] = {db::kStartOrder, QStringLiteral("ORDER BY NAME DESC"),
                                  QStringLiteral("ORDER BY STERDE DESC, NAME DESC"), QStringLiteral("ORDER BY Gang ASC,Name DESC")};
        db::DataControl pool;
        pool.DatabaseName = m_dir->databasePath();
        for (const QString& where : conditions) {
            for (const QString& order : orders) {
                pool.RecordSource = db::sqlPool() + where + order;
                pool.Refresh();
                QVERIFY2(pool.model().rowsOnDemand(), qPrintable(pool.RecordSource));
                sameRowsAsTheWholeQuery(pool);
            }
        }
    }

    void aConditionOnAColumnAliasReadsAllRowsAsBefore() {
        db::DataControl pool;
        pool.DatabaseName = m_dir->databasePath();
        pool.RecordSource = db::sqlPool() + QStringLiteral("WHERE Sonderf LIKE 'Paar*' ") + db::kStartOrder;
        pool.Refresh();
        QVERIFY(!pool.model().rowsOnDemand());
        QVERIFY(pool.model().rowCount() > 0);
        sameRowsAsTheWholeQuery(pool);
        // And back: the next plain text reads on demand again.
        pool.RecordSource = db::sqlPool() + db::kStartOrder;
        pool.Refresh();
        QVERIFY(pool.model().rowsOnDemand());
        QCOMPARE(pool.model().rowCount(), 292);
        // A condition the engine refuses is still refused, and names the fault.
        pool.RecordSource = db::sqlPool() + QStringLiteral("WHERE NOSUCHCOLUMN = 1 ") + db::kStartOrder;
        QVERIFY_THROWS_EXCEPTION(db::DbError, pool.Refresh());
    }

    void aShownRowKeepsNoWriterOut() {
        db::DataControl deckSource;
        deckSource.DatabaseName = m_dir->databasePath();
        auto conn = Database::OpenDatabase(m_dir->databasePath());
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE KARTEN.SET = 'O' "));
        deckSource.RecordSource = db::sqlDeck() + db::kStartOrder;
        deckSource.Refresh();
        QVERIFY(deckSource.model().rowsOnDemand());
        const QString first = deckSource.model().cell(0, 1);
        QVERIFY(!first.isEmpty());
        // A statement left on its row would make this wait for the busy timeout and fail.
        QElapsedTimer timer;
        timer.start();
        conn->Execute(QStringLiteral("DELETE * FROM DECK WHERE NAME = '") + db::quoted(first) + QStringLiteral("' "));
        QVERIFY(timer.elapsed() < 2000);
        // The row read before stays readable from the cache until the next refresh shows the change.
        QCOMPARE(deckSource.model().cell(0, 1), first);
        deckSource.Refresh();
        QVERIFY(deckSource.model().findRow(1, first) < 0);
        // Closing releases the connection; the grid then has nothing more to read.
        deckSource.Close();
        QCOMPARE(deckSource.model().cell(deckSource.model().rowCount() - 1, 1), QString());
    }

    void markingIsConsultedUntilTheNextLoad() {
        db::DataControl pool;
        pool.DatabaseName = m_dir->databasePath();
        pool.RecordSource = db::sqlPool() + db::kStartOrder;
        pool.Refresh();
        db::GridModel& model = pool.model();
        const int a = 3, b = 200;
        QSet<QString> keys{model.cell(a, 7).toUpper().toCaseFolded(), model.cell(b, 7).toCaseFolded()};
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.markRows(7, keys, deck::kInDeckGrey);
        QCOMPARE(changed.size(), 1);
        int grey = 0;
        for (int r = 0; r < model.rowCount(); ++r)
            grey += model.rowColor(r) == deck::kInDeckGrey;
        QCOMPARE(grey, 2);
        QCOMPARE(model.rowColor(a), deck::kInDeckGrey); // compared without regard to case
        // Colours set row by row lie over the marking.
        model.setRowColor(a, deck::kBlack);
        model.setRowColor(5, deck::kJustAddedGrey);
        QCOMPARE(model.rowColor(a), deck::kBlack);
        QCOMPARE(model.rowColor(5), deck::kJustAddedGrey);
        QCOMPARE(model.rowColor(b), deck::kInDeckGrey);
        // Found by exact text only.
        QCOMPARE(model.findRow(7, model.cell(b, 7)), b);
        QCOMPARE(model.findRow(7, model.cell(b, 7).toLower()), -1);
        // A refresh turns every row black again.
        pool.Refresh();
        for (int r : {a, 5, b})
            QCOMPARE(model.rowColor(r), deck::kBlack);
    }
};

QTEST_GUILESS_MAIN(TstRowSource)
#include "tst_rowsource.moc"
