#pragma once

#include "deck/deckstep.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace db {
class Database;
}

namespace deck {

// A deck by card numbers, as a deck file keeps it; names are looked up again when it is loaded.
struct DeckContent {
    QString leaderNumber;
    QString inquisitorNumber; // empty: no inquisitor
    QStringList cardNumbers;
    int lineCount = 0; // lines read, so that a short file can be told from an empty second line
};

// A deck file ends before its first or second line.
inline const QString kPastEndOfFile = QStringLiteral("Einlesen hinter Dateiende.");

// The player's note on card numbers a load passed over: ten named, the rest counted.
QString passedOverText(const QStringList& numbers);

// Why a deck cannot be saved, listed or exported, as the player is told.
struct Refusal {
    QString text;
    QString title;
};

// What a change did, for whoever shows the deck.
struct DeckChange {
    bool leader = false;     // the leader's choice changed
    bool inquisitor = false; // the inquisitor's choice changed
    bool rows = false;       // DECK's rows changed
    // With rows: the numbers of the single cards taken out and put in, or, when wholeDeck, the deck
    // as a whole is to be read again.
    bool wholeDeck = false;
    QStringList removed;
    QStringList added;
    // An undo has taken the deck back to what the program started with.
    bool toStart = false;
};

// The deck being edited: DECK's rows and the leader and inquisitor chosen from their lists. Every
// change to the deck goes through here, for the window and the command-line tool alike; changed()
// tells what changed. Database failures are thrown as db::DbError.
class DeckSession : public QObject {
    Q_OBJECT
public:
    // The window's deck: a connection to the file is opened for each change, as the record
    // sources open theirs.
    explicit DeckSession(QString databasePath, QObject* parent = nullptr);
    // A deck on a connection the caller keeps open (the tool's private DECK).
    explicit DeckSession(db::Database& conn, QObject* parent = nullptr);
    ~DeckSession() override;

    // The lists the choice is made from; read once.
    const QStringList& leaderEntries();
    const QStringList& inquisitorEntries();
    DeckChoice choice() const { return m_choice; }
    QString leaderEntry();
    QString inquisitorEntry();

    // A leader chosen while no inquisitor is gets "no inquisitor" with it. -1 chooses nothing.
    void chooseLeader(int index);
    void chooseInquisitor(int index);
    // By the name in an entry; a name no entry has leaves the choice alone. An empty inquisitor
    // name chooses "no inquisitor".
    void chooseLeaderNamed(const QString& name);
    void chooseInquisitorNamed(const QString& name);

    // Whether the deck holds the card of this name: it may hold each card once.
    bool holdsCard(const QString& name);
    enum class Added { Yes, NoLeader, AlreadyThere };
    // One card by its name.
    Added addCard(const QString& name);
    // Cards by number, each once; numbers no card has are passed over and returned, each once in
    // their order. What went in before a failure stays.
    QStringList addCardNumbers(const QStringList& numbers);
    // Every row of this card name.
    void removeCard(const QString& name);
    bool hasCards();
    int cardCount();
    void clear();
    // Empties the deck and fills it with the cards of the chosen leader's set; false without a
    // leader (nothing changed) or when the catalogue knows no faction for it (the deck stays empty).
    bool fillStandard();

    // Empties the deck, then reads a deck file's content: the leader, the inquisitor, the cards.
    // Throws when the file ends before its second line or names no known leader; what was read
    // before stays. Returns the card numbers passed over because no card has them: a later save
    // would drop them, so whoever loads tells of them.
    QStringList load(const DeckContent& content);
    // Puts this deck in place of the one being edited: the leader and inquisitor by number when it
    // names either (a leader alone gets "no inquisitor"; naming neither leaves the choice), then the
    // cards. Returns the card numbers passed over, as load() does.
    QStringList replaceWith(const DeckContent& content);
    // Empties the deck, then takes the numbers of a CardTable deck in their order: cards go in,
    // a leader's or inquisitor's number chooses it.
    void loadCardTable(const QStringList& numbers);
    // The deck by numbers; throws when the chosen leader or inquisitor is not in the catalogue.
    DeckContent content();
    // The deck's card numbers alone, by number.
    QStringList cardNumbers();
    // Nothing when the deck has cards and a leader is chosen.
    std::optional<Refusal> incomplete();

    // The rows a step touches: every row, or those of one card name.
    DeckRows rows(const QString& cardName = QString());
    // Takes a step back or does it again. Throws, with DECK and the choice unchanged, when DECK
    // does not take it.
    void replay(const DeckStep& step, bool back, bool singleCards, bool toStart);

Q_SIGNALS:
    void changed(const deck::DeckChange& change);

private:
    class Connection;
    Connection open();
    static bool holds(db::Database& conn, const QString& column, const QString& value);
    // The rule that a card is in the deck once: true when it went in.
    bool insertUnlessHeld(db::Database& conn, const QString& column, const QString& value);
    QStringList insertNumbers(db::Database& conn, const QStringList& numbers);
    void setChoice(DeckChoice choice, DeckChange change = {});
    QStringList numbersNamed(db::Database& conn, const QString& name);

    QString m_path;
    db::Database* m_conn = nullptr;
    std::optional<QStringList> m_leaders;
    std::optional<QStringList> m_inquisitors;
    DeckChoice m_choice;
};

} // namespace deck
