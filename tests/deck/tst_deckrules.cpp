// Plain deck rules: header sort orders, names cut from list entries, pool marking.
#include "db/database.h"
#include "db/queries.h"
#include "deck/deckmarking.h"
#include "tests/helpers/rowbyrowmarking.h"
#include "deck/entrynames.h"
#include "deck/sortorder.h"
#include "tests/helpers/testprogramdir.h"

#include <QtTest/QTest>

class TstDeckRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void strengthCyclesThroughFourOrders() {
        QString order = db::kStartOrder;
        const QStringList expected = {"ORDER BY STFEUER ASC, NAME ASC", "ORDER BY STERDE ASC, NAME ASC",
                                      "ORDER BY STFEUER DESC, NAME DESC", "ORDER BY STERDE DESC, NAME DESC",
                                      "ORDER BY STFEUER ASC, NAME ASC"};
        for (const QString& e : expected) {
            order = deck::nextOrder(3, order);
            QCOMPARE(order, e);
        }
    }

    void togglingColumnsStartAscending_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("asc");
        QTest::addColumn<QString>("desc");
        QTest::newRow("Fraktion") << 0 << "ORDER BY FRAKTION ASC, NAME ASC" << "ORDER BY FRAKTION DESC, NAME DESC";
        QTest::newRow("Name") << 1 << "ORDER BY NAME ASC" << "ORDER BY NAME DESC";
        QTest::newRow("Kartenart") << 2 << "ORDER BY KARTENART ASC, NAME ASC" << "ORDER BY KARTENART DESC, NAME DESC";
        QTest::newRow("Monde") << 4 << "ORDER BY MONDE ASC, NAME ASC" << "ORDER BY MONDE DESC, NAME DESC";
    }

    void togglingColumnsStartAscending() {
        QFETCH(int, column);
        QFETCH(QString, asc);
        QFETCH(QString, desc);
        QCOMPARE(deck::nextOrder(column, db::kStartOrder), asc);
        QCOMPARE(deck::nextOrder(column, asc), desc);
        QCOMPARE(deck::nextOrder(column, desc), asc);
        // Any other column's order, even one differing only by a trailing blank, starts ascending again.
        QCOMPARE(deck::nextOrder(column, asc + u' '), asc);
        QCOMPARE(deck::nextOrder(column, QStringLiteral("ORDER BY STFEUER ASC, NAME ASC")), asc);
    }

    void unsortedColumnsKeepTheOrder() {
        for (int column : {5, 6, 7, 8})
            QCOMPARE(deck::nextOrder(column, QStringLiteral("ORDER BY NAME DESC")), QStringLiteral("ORDER BY NAME DESC"));
    }

    void namesFromEntries() {
        const QString paren = deck::leaderEntry(QStringLiteral("Merethis (die Ältere)"), QStringLiteral("Sivar"),
                                                QStringLiteral("45"), QStringLiteral("10"));
        QCOMPARE(paren, QStringLiteral("Merethis (die Ältere) (Sivar: 45 Karten / 10 Monde )"));
        QCOMPARE(deck::nameBeforeLastParen(paren), QStringLiteral("Merethis (die Ältere)"));
        const QString inq = deck::inquisitorEntry(QStringLiteral("Vater Odo"), QStringLiteral("10"), QStringLiteral("0"));
        QCOMPARE(inq, QStringLiteral("Vater Odo (+10 Karten / +0 Monde )"));
        QCOMPARE(deck::inquisitorName(inq), QStringLiteral("Vater Odo"));
        QCOMPARE(deck::inquisitorName(deck::kNoInquisitor), QStringLiteral("-"));
        QCOMPARE(deck::nameBeforeLastParen(QStringLiteral("ohne Klammer")), QStringLiteral("ohne Klammer"));
        // An inquisitor whose name holds brackets keeps them, as a leader does.
        const QString bracketed = deck::inquisitorEntry(QStringLiteral("Mordan (der Jüngere)"), QStringLiteral("3"), QStringLiteral("1"));
        QCOMPARE(deck::inquisitorName(bracketed), QStringLiteral("Mordan (der Jüngere)"));
    }

    // Every number of a table is found in any case, one stored as bytes (which the engine sorts
    // after all texts) too; a number no row has is not.
    void numberIndexFindsNumbersAsTheCatalogueCompares() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        conn->runBound(QStringLiteral("UPDATE KARTEN SET NUMMER = X'41414120303031' WHERE rowid = 1"), {});
        const deck::NumberIndex cards(*conn, QStringLiteral("KARTEN"));
        QSet<qsizetype> positions;
        for (auto rs = conn->OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN")); !rs.Eof(); rs.MoveNext()) {
            const QString number = db::cellText(rs.Fields(0));
            const qsizetype at = cards.find(number.toLower());
            QVERIFY2(at >= 0 && at == cards.find(number.toUpper()), qPrintable(number));
            positions.insert(at);
        }
        QCOMPARE(positions.size(), cards.size());
        QVERIFY(cards.contains(QStringLiteral("aaa 001")));
        QVERIFY(!cards.contains(QStringLiteral("AAA 002")));
        const deck::NumberIndex listed({QStringLiteral("Zorn 1"), QStringLiteral("ärger 2"), QStringLiteral("Aal 3")});
        for (const char* number : {"ZORN 1", "Ärger 2", "aal 3"})
            QVERIFY2(listed.contains(QString::fromUtf8(number)), number);
        QVERIFY(!listed.contains(QStringLiteral("aerger 2")));
    }

    void markingInMemoryMatchesOneQueryPerRow() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE KARTEN.SET = 'G' "));
        QStringList numbers;
        for (auto rs = conn->OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN ORDER BY NAME")); !rs.Eof(); rs.MoveNext())
            numbers << rs.Fields(0).toString();
        numbers << QStringLiteral("garsk 05") << QStringLiteral("NIRGENDS 1") << QStringLiteral("it's");
        const auto fast = deck::markDeckCards(*conn, numbers);
        QCOMPARE(fast, testing::markDeckCardsRowByRow(*conn, numbers));
        QVERIFY(std::count(fast.begin(), fast.end(), deck::kInDeckGrey) > 10);
        QCOMPARE(fast[static_cast<size_t>(numbers.size() - 3)], deck::kInDeckGrey); // numbers compare like the database
        QCOMPARE(fast.back(), deck::kBlack);
    }

    // The numbers kept between markings follow every change another connection commits, and only those.
    void keptDeckNumbersFollowOtherConnections() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        deck::InDeckNumbers kept(dir.databasePath());
        QVERIFY(kept.current().isEmpty());
        const QStringList steps = {"INSERT INTO DECK SELECT * FROM KARTEN WHERE FRAKTION = 'Orvane'",
                                   "DELETE * FROM DECK WHERE NUMMER LIKE '*[13579]'",
                                   "INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER = 'GARSK 05'",
                                   "DELETE * FROM DECK"};
        for (const QString& step : steps) {
            conn->Execute(step);
            QCOMPARE(kept.current(), deck::deckNumbers(*conn));
            QCOMPARE(kept.current(), deck::deckNumbers(*conn)); // asked again without a change
        }
        QVERIFY(kept.current().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstDeckRules)
#include "tst_deckrules.moc"
