// Two decks compared on a real catalogue: the three card lists, the figures side by side, the deck file kept.
#include "db/database.h"
#include "deck/deckcomparison.h"
#include "deck/entrynames.h"
#include "tests/helpers/testprogramdir.h"

#include <QtTest/QTest>

class TstDeckComparison : public QObject {
    Q_OBJECT

    static QStringList numbers(const std::vector<deck::ComparedCard>& cards) {
        QStringList out;
        for (const auto& c : cards)
            out << c.number;
        return out;
    }

private Q_SLOTS:
    void listsAndFiguresSideBySide() {
        testing::TestProgramDir dir;
        {
            // The deck being edited in the file must come through untouched.
            auto conn = db::Database::OpenDatabase(dir.databasePath());
            conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER = 'SIVAR 05'"));
        }
        const deck::DeckNumbers here{"ORVANE 00", "", {"ORVANE 03", "ORVANE 04", "BRAMEL 02", "NIX 99", "ORVANE 04"}};
        const deck::DeckNumbers there{"ORVANE 00", "INQ 411", {"orvane 04", "BRAMEL 02", "BRAMEL 03"}};
        const deck::DeckComparison c = deck::compareDecks(dir.databasePath(), here, there);

        QCOMPARE(numbers(c.onlyHere), QStringList({"ORVANE 03"}));
        QCOMPARE(numbers(c.inBoth), QStringList({"BRAMEL 02", "ORVANE 04"}));
        QCOMPARE(numbers(c.onlyThere), QStringList({"BRAMEL 03"}));
        QCOMPARE(c.onlyThere.front().name, QStringLiteral("Schmiedin aus Morgenrot"));
        QCOMPARE(c.here.unknownNumbers, QStringList({"NIX 99"}));
        QVERIFY(c.there.unknownNumbers.isEmpty());
        QCOMPARE(c.here.leaderEntry, deck::leaderEntry("Harald", "Orvane", "40", "12"));
        QCOMPARE(c.here.inquisitorEntry, QString());
        QCOMPARE(c.there.inquisitorEntry, deck::inquisitorEntry("Mordan der Bleiche", "5", "2"));
        QCOMPARE(c.here.figures.deckCards, 3);
        QCOMPARE(c.there.figures.cardLimit, 45); // 40 and the inquisitor's 5
        // Foreign moons are the Bramel cards' moons on either side.
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        const int b02 = conn->OpenRecordset("SELECT MONDE FROM KARTEN WHERE NUMMER = 'BRAMEL 02'").Fields(0).toInt();
        const int b03 = conn->OpenRecordset("SELECT MONDE FROM KARTEN WHERE NUMMER = 'BRAMEL 03'").Fields(0).toInt();
        QCOMPARE(int(c.here.figures.foreignMoons), b02);
        QCOMPARE(int(c.there.figures.foreignMoons), b02 + b03);
        QStringList factions;
        for (const auto& d : c.factions)
            factions << QStringLiteral("%1 %2:%3").arg(d.name).arg(d.here).arg(d.there);
        QCOMPARE(factions, QStringList({"Bramel 1:2", "Orvane 2:1"}));
        QVERIFY(!c.equal());

        QCOMPARE(conn->OpenRecordset("SELECT NUMMER FROM DECK").Fields(0).toString(), QStringLiteral("SIVAR 05"));
        QCOMPARE(conn->OpenRecordset("SELECT COUNT(*) FROM DECK").Fields(0).toInt(), 1);
    }

    void equalWhateverTheOrderAndCase() {
        testing::TestProgramDir dir;
        const deck::DeckNumbers a{"SIVAR 00", "INQ 413", {"SIVAR 05", "SIVAR 06", "GARSK 10", "NIX 1"}};
        deck::DeckNumbers b{"sivar 00", "inq 413", {"garsk 10", "SIVAR 06", "sivar 05", "SIVAR 06", "nix 1"}};
        QVERIFY(deck::compareDecks(dir.databasePath(), a, b).equal());
        for (const deck::DeckNumbers& other :
             {deck::DeckNumbers{"SIVAR 00", "", a.cardNumbers}, deck::DeckNumbers{"SIVAR 01", "INQ 413", a.cardNumbers},
              deck::DeckNumbers{"SIVAR 00", "INQ 413", {"SIVAR 05", "SIVAR 06", "GARSK 10"}},
              deck::DeckNumbers{"SIVAR 00", "INQ 413", {"SIVAR 05", "SIVAR 06", "NIX 1"}}})
            QVERIFY(!deck::compareDecks(dir.databasePath(), a, other).equal());
    }
};

QTEST_GUILESS_MAIN(TstDeckComparison)
#include "tst_deckcomparison.moc"
