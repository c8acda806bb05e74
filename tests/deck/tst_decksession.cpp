// The deck's one owner on a real catalogue file: its rules, what it reports, and its history taken
// back and done again over generated sequences of steps.
#include "db/database.h"
#include "db/dberror.h"
#include "deck/deckhistory.h"
#include "deck/decksession.h"
#include "deck/entrynames.h"
#include "tests/helpers/testprogramdir.h"

#include <QRandomGenerator>
#include <QUndoStack>
#include <QtTest/QTest>
#include <algorithm>
#include <set>

using deck::DeckChange;
using deck::DeckHistory;
using deck::DeckSession;

namespace {

QStringList column(db::Database& conn, const QString& sql) {
    QStringList out;
    for (auto rs = conn.OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
        out << db::cellText(rs.Fields(0));
    return out;
}

// The deck as stored and chosen.
struct State {
    deck::DeckRows rows;
    deck::DeckChoice choice;
    bool operator==(const State& o) const { return rows.rows == o.rows.rows && choice == o.choice; }
};

// What a listener that follows only changed() believes DECK holds.
class Follower {
public:
    Follower(DeckSession& session, const QString& path) : m_path(path) {
        reread();
        QObject::connect(&session, &DeckSession::changed, [this](const DeckChange& c) {
            changes << c;
            if (!c.rows)
                return;
            if (c.wholeDeck) {
                reread();
                return;
            }
            for (const QString& n : c.removed)
                numbers.erase(n);
            for (const QString& n : c.added)
                numbers.insert(n);
        });
    }
    std::set<QString> stored() const {
        auto conn = db::Database::OpenDatabase(m_path);
        const QStringList all = column(*conn, QStringLiteral("SELECT NUMMER FROM DECK"));
        return {all.begin(), all.end()};
    }
    std::set<QString> numbers;
    QList<DeckChange> changes;

private:
    void reread() { numbers = stored(); }
    QString m_path;
};

} // namespace

class TstDeckSession : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    QStringList m_cards, m_names, m_leaders, m_inquisitors;

    State state(DeckSession& s) {
        auto conn = db::Database::OpenDatabase(m_dir->databasePath());
        return {deck::readDeck(*conn), s.choice()};
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        auto conn = db::Database::OpenDatabase(m_dir->databasePath());
        m_cards = column(*conn, QStringLiteral("SELECT NUMMER FROM KARTEN ORDER BY NUMMER"));
        m_names = column(*conn, QStringLiteral("SELECT NAME FROM KARTEN ORDER BY NUMMER"));
        m_leaders = column(*conn, QStringLiteral("SELECT NUMMER FROM ANFUEHRER"));
        m_inquisitors = column(*conn, QStringLiteral("SELECT NUMMER FROM INQUISITOR"));
        QVERIFY(m_cards.size() > 100 && !m_leaders.isEmpty() && !m_inquisitors.isEmpty());
    }

    // Each rule holds on every way in: a card once by name and by number (whatever the case or
    // however often a file names it), "no inquisitor" with a leader chosen alone, a file short of
    // its second line keeping its leader and nothing of the deck before.
    void rulesHoldOnEveryWayIn() {
        DeckSession s(m_dir->databasePath());
        Follower seen(s, m_dir->databasePath());
        const int none = static_cast<int>(s.inquisitorEntries().indexOf(deck::kNoInquisitor));
        QVERIFY(none >= 0);

        QCOMPARE(s.addCard(m_names[0]), DeckSession::Added::NoLeader);
        s.chooseLeader(2);
        QCOMPARE(s.choice(), (deck::DeckChoice{2, none}));
        QVERIFY(seen.changes.back().leader && seen.changes.back().inquisitor);
        s.chooseInquisitor(0);
        s.chooseLeader(1);
        QCOMPARE(s.choice(), (deck::DeckChoice{1, 0}));

        QCOMPARE(s.addCard(m_names[0]), DeckSession::Added::Yes);
        QCOMPARE(seen.changes.back().added, QStringList{m_cards[0]});
        QCOMPARE(s.addCard(m_names[0].toLower()), DeckSession::Added::AlreadyThere);
        // Numbers no card has are passed over and told, each once whatever its case.
        const QString withNul = m_cards[2] + QChar(u'\0');
        QCOMPARE(s.addCardNumbers({m_cards[0].toLower(), m_cards[1], m_cards[1], QStringLiteral("KEINE 99"), withNul,
                                   QStringLiteral("keine 99")}),
                 (QStringList{QStringLiteral("KEINE 99"), withNul}));
        QCOMPARE(s.cardCount(), 2);
        QCOMPARE(deck::passedOverText({QStringLiteral("KEINE 99"), withNul, QString(50, u'x')}),
                 QStringLiteral("Diese Kartennummern der Datei kennt der Katalog nicht; sie wurden übergangen:\r\nKEINE 99, ") +
                     m_cards[2] + QStringLiteral("?, ") + QString(40, u'x') + QStringLiteral("…"));
        QCOMPARE(seen.numbers, seen.stored());

        deck::DeckContent file{m_leaders[0], QString(), {m_cards[5], m_cards[5], m_cards[6].toLower(), m_cards[5]}, 4};
        QCOMPARE(s.load(file), QStringList());
        QCOMPARE(s.cardCount(), 2);
        QCOMPARE(s.choice().inquisitor, none);
        const deck::DeckContent back = s.content();
        QCOMPARE(back.leaderNumber, m_leaders[0]);
        QCOMPARE(back.inquisitorNumber, QString());
        QCOMPARE(back.cardNumbers, (QStringList{m_cards[5], m_cards[6]}));

        s.chooseInquisitor(0);
        try {
            s.load({m_leaders[1], QString(), {}, 1});
            QFAIL("a file of one line loaded");
        } catch (const db::DbError& e) {
            QCOMPARE(e.description(), deck::kPastEndOfFile);
        }
        QCOMPARE(s.cardCount(), 0);
        QCOMPARE(deck::leaderName(s.leaderEntry()), deck::leaderNameForNumber(*db::Database::OpenDatabase(m_dir->databasePath()), m_leaders[1]));
        QCOMPARE(seen.numbers, seen.stored());
        QVERIFY(s.fillStandard());
        QVERIFY(s.cardCount() > 10);
        QCOMPARE(seen.numbers, seen.stored());
        QCOMPARE(s.incomplete(), std::nullopt);
        s.clear();
        QCOMPARE(s.incomplete()->title, QStringLiteral("Leeres Deck"));
    }

    // Seeded sequences of every kind of step: after each step, each undo and each redo, DECK and
    // the choice are what they were at that point, and a listener of changed() alone knows the
    // same cards as DECK. Back at the bottom the start is reported.
    void generatedStepsBackAndForth() {
        for (quint32 seed = 1; seed <= 6; ++seed) {
            const QString where = QStringLiteral("seed %1").arg(seed);
            init();
            DeckSession s(m_dir->databasePath());
            DeckHistory history(s);
            Follower seen(s, m_dir->databasePath());
            QRandomGenerator random(seed);
            auto pick = [&random](const QStringList& list) { return list[random.bounded(static_cast<int>(list.size()))]; };
            std::vector<State> states{state(s)};
            for (int i = 0; i < 40; ++i) {
                const int kind = random.bounded(8);
                const int leaders = static_cast<int>(s.leaderEntries().size());
                const int inquisitors = static_cast<int>(s.inquisitorEntries().size());
                QStringList numbers;
                for (int n = random.bounded(8); n > 0; --n)
                    numbers << pick(random.bounded(4) ? m_cards : random.bounded(2) ? m_leaders : m_inquisitors);
                const QString name = pick(m_names);
                std::function<void()> change;
                DeckHistory::Scope scope = DeckHistory::Scope::Deck;
                switch (kind) {
                case 0: scope = DeckHistory::Scope::Choice; change = [&] { s.chooseLeader(random.bounded(leaders)); }; break;
                case 1: scope = DeckHistory::Scope::Choice; change = [&] { s.chooseInquisitor(random.bounded(inquisitors)); }; break;
                case 2: case 3: scope = DeckHistory::Scope::Card; change = [&] { s.addCard(name); }; break;
                case 4: scope = DeckHistory::Scope::Card; change = [&] { s.removeCard(name); }; break;
                case 5: change = [&] { random.bounded(2) ? s.clear() : void(s.fillStandard()); }; break;
                case 6: change = [&] { s.load({pick(m_leaders), pick(m_inquisitors), numbers, 2}); }; break;
                default: change = [&] { s.loadCardTable(numbers); }; break;
                }
                const int before = history.stack()->index();
                history.run(QStringLiteral("Schritt %1").arg(i), scope, change, name);
                const State now = state(s);
                QCOMPARE(history.stack()->index(), before + (now == states.back() ? 0 : 1));
                if (!(now == states.back()))
                    states.push_back(now);
                QVERIFY2(seen.numbers == seen.stored(), qPrintable(where));
            }
            QVERIFY(states.size() > 20);
            for (size_t i = states.size() - 1; i > 0; --i) {
                history.stack()->undo();
                QVERIFY2(state(s) == states[i - 1], qPrintable(where));
                QVERIFY2(seen.numbers == seen.stored(), qPrintable(where));
            }
            QVERIFY(seen.changes.back().toStart);
            for (size_t i = 1; i < states.size(); ++i) {
                history.stack()->redo();
                QVERIFY2(state(s) == states[i], qPrintable(where));
                QVERIFY2(seen.numbers == seen.stored(), qPrintable(where));
            }
        }
    }

    // The history keeps the latest steps only; taken back as far as it goes, the deck is what the
    // oldest kept step started from, and that is not reported as the program's start.
    void historyIsBounded() {
        DeckSession s(m_dir->databasePath());
        DeckHistory history(s);
        Follower seen(s, m_dir->databasePath());
        s.chooseLeader(0);
        const int steps = DeckHistory::kStepLimit + 30;
        std::vector<State> states{state(s)};
        for (int i = 0; i < steps; ++i) {
            history.run(QStringLiteral("Schritt"), DeckHistory::Scope::Deck, [&] {
                if (i % 2)
                    s.clear();
                else
                    s.load({m_leaders[i % m_leaders.size()], QString(), m_cards.mid(i, 3 + i % 7), 2});
            });
            states.push_back(state(s));
        }
        QCOMPARE(history.stack()->count(), DeckHistory::kStepLimit);
        while (history.stack()->canUndo())
            history.stack()->undo();
        QVERIFY(state(s) == states[steps - DeckHistory::kStepLimit]);
        QVERIFY(!seen.changes.back().toStart);
    }
};

QTEST_MAIN(TstDeckSession)
#include "tst_decksession.moc"
