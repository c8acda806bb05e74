// Opening-hand odds against hand-computed fractions and a brute-force count; the seeded sample hand.
#include "db/database.h"
#include "deck/handodds.h"
#include "tests/helpers/testprogramdir.h"

#include <QtTest/QTest>
#include <set>

using deck::HandCard;

class TstHandOdds : public QObject {
    Q_OBJECT

    static std::vector<HandCard> deckOf(int cards) {
        std::vector<HandCard> deck;
        for (int i = 0; i < cards; ++i)
            deck.push_back({QStringLiteral("T %1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Karte %1").arg(i),
                            i < 10 ? QStringLiteral("Orvane") : QStringLiteral("Sivar"),
                            i % 4 == 0 ? QStringLiteral("Ort") : QStringLiteral("Charakter"), i < 3 ? 2 : 0});
        return deck;
    }

private Q_SLOTS:
    void handComputedFractions() {
        // 40 cards, 10 of them marked, 7 drawn. C(40,7) = 18643560, C(30,7) = 2035800, C(30,6) = 593775,
        // C(30,5) = 142506, C(10,2) = 45.
        const double none = 2035800.0 / 18643560.0;
        const double one = 10.0 * 593775.0 / 18643560.0;
        const double two = 45.0 * 142506.0 / 18643560.0;
        QVERIFY(qAbs(deck::atLeastProbability(40, 10, 7, 1) - (1.0 - none)) < 1e-12);
        QVERIFY(qAbs(deck::atLeastProbability(40, 10, 7, 2) - (1.0 - none - one)) < 1e-12);
        QVERIFY(qAbs(deck::atLeastProbability(40, 10, 7, 3) - (1.0 - none - one - two)) < 1e-12);
        // One card in 60, 7 drawn: 7/60. Every card of the deck drawn: certain. None marked, or more
        // wanted than drawn: impossible. A hand larger than the deck draws the deck.
        QVERIFY(qAbs(deck::atLeastProbability(60, 1, 7, 1) - 7.0 / 60.0) < 1e-12);
        QCOMPARE(deck::atLeastProbability(12, 5, 12, 5), 1.0);
        QCOMPARE(deck::atLeastProbability(40, 0, 7, 1), 0.0);
        QCOMPARE(deck::atLeastProbability(40, 10, 7, 8), 0.0);
        QCOMPARE(deck::atLeastProbability(5, 2, 9, 2), 1.0);
        QCOMPARE(deck::atLeastProbability(0, 0, 7, 1), 0.0);
    }

    void equalsACountOfEveryHand() {
        // Every hand of every small deck counted one by one: the sum must give the same chance.
        for (int size = 1; size <= 12; ++size) {
            for (int drawn = 0; drawn <= size; ++drawn) {
                for (int marked = 0; marked <= size; ++marked) {
                    int all = 0;
                    std::vector<int> exactly(size_t(size + 1), 0);
                    for (unsigned hand = 0; hand < (1u << size); ++hand) {
                        if (std::popcount(hand) != drawn)
                            continue;
                        ++all;
                        ++exactly[size_t(std::popcount(hand & ((1u << marked) - 1u)))];
                    }
                    int atLeast = all;
                    for (int k = 0; k <= drawn; ++k) {
                        const double counted = double(atLeast) / all;
                        QVERIFY2(qAbs(deck::atLeastProbability(size, marked, drawn, k) - counted) < 1e-12,
                                 qPrintable(QStringLiteral("%1/%2/%3/%4").arg(size).arg(marked).arg(drawn).arg(k)));
                        atLeast -= exactly[size_t(k)];
                    }
                }
            }
        }
    }

    void tableRowsFromARealDeck() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenWithPrivateDeck(dir.databasePath());
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER IN "
                                     "('ORVANE 03','ORVANE 04','ORVANE 05','BRAMEL 02','BRAMEL 03')"));
        const auto cards = deck::handCards(*conn);
        QCOMPARE(int(cards.size()), 5);
        const deck::OddsTable table = deck::oddsTable(cards, 7);
        QCOMPARE(table.handSize, 5); // never more than the deck holds
        QCOMPARE(table.columns, 4);
        QStringList labels;
        for (const auto& row : table.rows)
            labels << QStringLiteral("%1=%2").arg(row.label).arg(row.inDeck);
        QCOMPARE(labels, QStringList({"Fraktion: Bramel=2", "Fraktion: Orvane=3", "Kartenart: Charakter=3",
                                      "Kartenart: Unterstützung=1", "Kartenart: Verstärkung=1", "Monde: 0=2",
                                      "Monde: 1=2", "Monde: 4=1"}));
        // The whole deck drawn: at least as many as it has is certain, more impossible.
        QCOMPARE(table.rows[1].atLeast, std::vector<double>({1.0, 1.0, 1.0, 0.0}));
        const deck::OddsTable three = deck::oddsTable(cards, 3, 4);
        QCOMPARE(three.columns, 3);
        QVERIFY(qAbs(three.rows[1].atLeast[2] - 1.0 / 10.0) < 1e-12); // all 3 Orvane in 3 of 5: 1 / C(5,3)
    }

    void sampleHandRepeatsBySeedAndIsFair() {
        const auto deck = deckOf(10);
        auto numbers = [](const std::vector<HandCard>& hand) {
            QStringList n;
            for (const auto& c : hand)
                n << c.number;
            return n;
        };
        QCOMPARE(numbers(deck::sampleHand(deck, 7, 4711)), numbers(deck::sampleHand(deck, 7, 4711)));
        QVERIFY(numbers(deck::sampleHand(deck, 7, 4711)) != numbers(deck::sampleHand(deck, 7, 4712)));
        QCOMPARE(deck::sampleHand(deck, 25, 1).size(), size_t(10));
        QVERIFY(deck::sampleHand({}, 7, 1).empty());

        // Over many seeds every card lands in a hand of 3 about 3 times in 10, and first about 1 in 10.
        std::map<QString, int> inHand;
        std::map<QString, int> first;
        const int draws = 20000;
        for (int seed = 0; seed < draws; ++seed) {
            const auto hand = deck::sampleHand(deck, 3, quint64(seed) * 0x9E3779B97F4A7C15ull);
            const QStringList drawn = numbers(hand);
            QCOMPARE(std::set<QString>(drawn.begin(), drawn.end()).size(), size_t(3));
            for (const auto& c : hand)
                ++inHand[c.number];
            ++first[hand.front().number];
        }
        for (const auto& c : deck) {
            QVERIFY2(qAbs(inHand[c.number] / double(draws) - 0.3) < 0.02, qPrintable(c.number));
            QVERIFY2(qAbs(first[c.number] / double(draws) - 0.1) < 0.015, qPrintable(c.number));
        }
    }

    void percentTexts() {
        QCOMPARE(deck::percentText(1.0 - 2035800.0 / 18643560.0), QStringLiteral("89,1 %"));
        QCOMPARE(deck::percentText(0.0), QStringLiteral("0,0 %"));
        QCOMPARE(deck::percentText(0.0001), QStringLiteral("<0,1 %"));
        QCOMPARE(deck::percentText(1.0), QStringLiteral("100,0 %"));
    }
};

QTEST_GUILESS_MAIN(TstHandOdds)
#include "tst_handodds.moc"
