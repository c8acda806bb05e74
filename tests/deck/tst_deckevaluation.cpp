// The deck evaluation against the limits of leader and inquisitor, on a real catalogue.
#include "db/database.h"
#include "db/queries.h"
#include "deck/deckevaluation.h"
#include "deck/deckfigures.h"
#include "deck/entrynames.h"
#include "tests/helpers/testprogramdir.h"

#include <QtTest/QTest>

using deck::NoteNode;

class TstDeckEvaluation : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<db::Database> m_db;

    // Harald: Orvane, 40 cards, 12 moons. Isaura adds 0 cards and 4 moons.
    const QString harald = deck::leaderEntry("Harald", "Orvane", "40", "12");
    const QString isaura = deck::inquisitorEntry("Isaura", "0", "4");

    int deckCount() { return m_db->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt(); }
    deck::DeckEvaluation evaluate(const QString& leader, const QString& inq = deck::kNoInquisitor,
                                  const QLocale& locale = QLocale::c()) {
        return deck::evaluateDeck(*m_db, leader, inq, deckCount(), 292, locale);
    }
    static const NoteNode* node(const deck::DeckEvaluation& e, const QString& key) {
        for (const NoteNode& n : e.nodes)
            if (n.key == key)
                return &n;
        return nullptr;
    }
    // Fills the deck with n cards of the faction (moons set to 0) plus foreign cards carrying the moons.
    void makeDeck(int ownCards, int foreignMoons) {
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        for (int i = 0; i < ownCards; ++i)
            m_db->Execute(QStringLiteral("INSERT INTO DECK (NAME, FRAKTION, KARTENART, MONDE, STFEUER, STERDE) "
                                         "VALUES ('Karte %1', 'Orvane', 'Charakter', 0, 2, 3)").arg(i));
        if (foreignMoons > 0)
            m_db->Execute(QStringLiteral("INSERT INTO DECK (NAME, FRAKTION, KARTENART, MONDE) VALUES ('Fremd', 'Sivar', 'Ort', %1)")
                              .arg(foreignMoons));
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_db = db::Database::OpenDatabase(m_dir->databasePath());
    }
    void cleanup() {
        m_db.reset();
        m_dir.reset();
    }

    void emptyDeckWithAKnownLeader() {
        const auto e = evaluate(harald);
        QCOMPARE(e.deckCountText, QStringLiteral("Anzahl Karten: 0"));
        QCOMPARE(e.poolCountText, QStringLiteral("Anzahl Karten: 292"));
        QStringList keys;
        for (const NoteNode& n : e.nodes)
            keys << n.key;
        QCOMPARE(keys, (QStringList{"A", "B", "C", "F", "FSTF", "FSTE", "FDD"}));
        QCOMPARE(node(e, "A")->text, QStringLiteral("Anzahl Karten: 0"));
        QCOMPARE(node(e, "B")->text, QStringLiteral("Hauptfraktion: Orvane"));
        QCOMPARE(node(e, "C")->text, QStringLiteral("Anzahl Monde: 0"));
        QCOMPARE(node(e, "FSTF")->text, QStringLiteral("Gesamtstärke Feuer: 0"));
        QCOMPARE(node(e, "FSTE")->parentKey, QStringLiteral("F"));
        QCOMPARE(node(e, "FDD")->text, QStringLiteral("Durchschnittliche Differenz: 0.00"));
        QVERIFY(!node(e, "A")->red && !node(e, "C")->red);
    }

    void cardAndMoonLimitsEqualIsBlackOneMoreIsRed() {
        makeDeck(39, 12); // 40 cards, 12 foreign moons: both at the limit
        auto e = evaluate(harald);
        QCOMPARE(node(e, "A")->text, QStringLiteral("Anzahl Karten: 40"));
        QVERIFY(!node(e, "A")->red);
        QCOMPARE(node(e, "C")->text, QStringLiteral("Anzahl Monde: 12"));
        QVERIFY(!node(e, "C")->red);
        makeDeck(40, 13);
        e = evaluate(harald);
        QVERIFY(node(e, "A")->red);
        QVERIFY(node(e, "C")->red);
        // The inquisitor raises the moon limit.
        QVERIFY(!node(evaluate(harald, isaura), "C")->red);
        QVERIFY(node(evaluate(harald, isaura), "A")->red);
    }

    void unknownLeaderGivesThirtyAndTen() {
        makeDeck(29, 10);
        const QString stranger = deck::leaderEntry("Niemand", "Orvane", "99", "99");
        auto e = evaluate(stranger);
        QCOMPARE(node(e, "B")->text, QStringLiteral("Hauptfraktion: "));
        QVERIFY(!node(e, "A")->red); // 30 cards
        // Without a main faction every card with a faction is foreign: 10 moons, the limit.
        QVERIFY(!node(e, "C")->red);
        makeDeck(30, 10);
        e = evaluate(stranger);
        QVERIFY(node(e, "A")->red);
    }

    void noLeaderMeansZeroLimitsPlusTheInquisitor() {
        makeDeck(1, 0);
        QVERIFY(node(evaluate(QString(), QString()), "A")->red);
        QVERIFY(!node(evaluate(QString(), deck::inquisitorEntry("Vater Odo", "10", "0")), "A")->red);
        QCOMPARE(node(evaluate(QString(), QString()), "B")->text, QStringLiteral("Hauptfraktion: "));
    }

    void distributionsAndAveragesWithGermanFormatting() {
        m_db->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER IN ('ORVANE 05','ORVANE 06','ORVANE 07','SIVAR 05','SIVAR 06','GARSK 05')"));
        const auto e = evaluate(harald, deck::kNoInquisitor, QLocale(QLocale::German, QLocale::Germany));
        QStringList dChildren, eChildren;
        int sum = 0;
        for (const NoteNode& n : e.nodes) {
            if (n.parentKey == u"D") {
                dChildren << n.text;
                sum += n.text.section(u' ', 1, 1).toInt();
            }
            if (n.parentKey == u"E")
                eChildren << n.key;
        }
        QCOMPARE(dChildren, (QStringList{"Garsk: 1 Karte(n)", "Orvane: 3 Karte(n)", "Sivar: 2 Karte(n)"}));
        QCOMPARE(sum, 6);
        QCOMPARE(eChildren, (QStringList{"Artefakt", "Charakter", "Ort", "Unterstützung", "Verstärkung"}));
        // Fire 3 + 4 = 7, earth 5 + 2 = 7 over 4 fighting cards; the difference only where both exist: |5-3|.
        QCOMPARE(node(e, "FSTF")->text, QStringLiteral("Gesamtstärke Feuer: 7"));
        QCOMPARE(node(e, "FDF")->text, QStringLiteral("Durchschnittlicher Feuerwert: 1,75"));
        QCOMPARE(node(e, "FDE")->text, QStringLiteral("Durchschnittlicher Erdewert: 1,75"));
        QCOMPARE(node(e, "FDD")->text, QStringLiteral("Durchschnittliche Differenz: 2,00"));
        // Foreign moons: the Sivar and Garsk cards.
        const int foreign = m_db->OpenRecordset(QStringLiteral("SELECT SUM(MONDE) FROM DECK WHERE FRAKTION <> 'Orvane'")).Fields(0).toInt();
        QCOMPARE(node(e, "C")->text, QStringLiteral("Anzahl Monde: %1").arg(foreign));
    }

    void onlyNonFightingCardsHaveNoAverages() {
        m_db->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE KARTENART IN ('Ort', 'Ereignis')"));
        const auto e = evaluate(harald);
        QVERIFY(!node(e, "FDF"));
        QVERIFY(!node(e, "FDE"));
        QCOMPARE(node(e, "FDD")->text, QStringLiteral("Durchschnittliche Differenz: 0.00"));
    }

    void apostropheLeaderIsFound() {
        const auto e = evaluate(deck::leaderEntry("Garsk'scher Fürst", "Garsk", "50", "8"));
        QCOMPARE(node(e, "B")->text, QStringLiteral("Hauptfraktion: Garsk"));
    }

    void chartFiguresCountEveryValueOnce() {
        // Fire 2 plain twice and warded once, fire 5 warded; earth only on two cards; one card without strengths and
        // without faction; moons on the main and the foreign factions.
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        const char* rows[] = {
            "('A', 'orvane', 'Charakter', 1, 2, 3, FALSE, FALSE)", "('B', 'Orvane', 'Charakter', 2, 2, NULL, FALSE, FALSE)",
            "('C', 'Sivar', 'Ort', 4, 2, NULL, TRUE, FALSE)",       "('D', 'Sivar', 'Verstärkung', 3, 5, 3, TRUE, TRUE)",
            "('E', NULL, 'Ereignis', 0, NULL, NULL, FALSE, FALSE)"};
        for (const char* row : rows)
            m_db->Execute(QStringLiteral("INSERT INTO DECK (NAME, FRAKTION, KARTENART, MONDE, STFEUER, STERDE, ABFEUER, ABERDE) "
                                         "VALUES ") + QString::fromUtf8(row));
        const deck::DeckFigures f = deck::deckFigures(*m_db, harald, deck::kNoInquisitor, 5, true);
        const deck::DeckCharts c = deck::chartsFor(f);
        QCOMPARE(c.strengthCategories, (QStringList{"2", "[2]", "3", "[3]", "[5]"}));
        QCOMPARE(c.fireCards, (QList<int>{2, 1, 0, 0, 1}));
        QCOMPARE(c.earthCards, (QList<int>{0, 0, 1, 1, 0}));
        QCOMPARE(c.strengthWarded, (QList<bool>{false, true, false, true, true}));
        // The faction is matched as the database matches it, without regard to case.
        QCOMPARE(c.moonCategories, (QStringList{"(ohne)", "orvane (Haupt)", "Sivar", "Fremde Monde"}));
        QCOMPARE(c.moons, (QList<int>{0, 3, 7, 7}));
        QCOMPARE(c.moonLimit, 12);
        QVERIFY(!c.moonsOver);
        QCOMPARE(c.typeCategories.last(), QStringLiteral("Deck gesamt"));
        QCOMPARE(c.typeCards.last(), 5);
        QCOMPARE(c.mainCards, 2);
        QCOMPARE(c.otherCards, 3);
        // The notes of the same figures are those of the evaluation.
        const auto notes = deck::evaluationOf(f, 292, QLocale::c());
        const auto direct = evaluate(harald);
        QCOMPARE(notes.nodes.size(), direct.nodes.size());
        for (size_t i = 0; i < notes.nodes.size(); ++i)
            QCOMPARE(notes.nodes[i].text, direct.nodes[i].text);
        // Without the charts asked for, none of their figures are read.
        QVERIFY(deck::deckFigures(*m_db, harald, deck::kNoInquisitor, 5).fire.empty());
    }
};

QTEST_GUILESS_MAIN(TstDeckEvaluation)
#include "tst_deckevaluation.moc"
