#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace db {
class Database;
}

namespace deckio {

// What a deck file holds: numbers only; names are looked up again when it is read.
struct DeckFileContent {
    QString leaderNumber;
    QString inquisitorNumber; // empty: no inquisitor
    QStringList cardNumbers;
    int lineCount = 0; // lines read, so that a short file can be told from an empty second line
};

// Deck files larger than this are refused unread: a deck names a few dozen cards in a few hundred
// bytes, and a file of this size still reads in well under a second.
inline constexpr qint64 kMaxDeckFileBytes = 256 * 1024;

// The numbers of one table, to tell at once whether a number names one of its rows; compared as
// the catalogue compares them (without regard to case).
class NumberIndex {
public:
    NumberIndex(db::Database& conn, const QString& table);
    explicit NumberIndex(QStringList numbers);
    // Position of the matching number, -1 for none.
    qsizetype find(const QString& number) const;
    bool contains(const QString& number) const { return find(number) >= 0; }
    qsizetype size() const { return m_numbers.size(); }

private:
    QStringList m_numbers;
};

// A deck file ends before its first or second line.
inline const QString kPastEndOfFile = QStringLiteral("Einlesen hinter Dateiende.");

// Reads the current deck from the database. The leader and inquisitor are looked up by the list
// entries' names; throws db::DbError when the leader is not found.
DeckFileContent collectDeck(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry);

QByteArray encodeDeckFile(const DeckFileContent& deck);

// Lines as read: the first two as they stand, card lines without the empty ones.
DeckFileContent parseDeckFile(const QByteArray& bytes);

// The leader and inquisitor names for the numbers in a deck file; empty when not found.
QString leaderNameForNumber(db::Database& conn, const QString& number);
QString inquisitorNameForNumber(db::Database& conn, const QString& number);

// Copies cards into DECK; numbers that match no card, or a card already there, insert nothing.
// insertCards runs one statement per distinct card of the catalogue, however long the list.
void insertCard(db::Database& conn, const QString& cardNumber);
void insertCards(db::Database& conn, const QStringList& cardNumbers);

// Whether DECK holds any card.
bool deckHasCards(db::Database& conn);

// Why a deck cannot be saved, listed or exported, as the player is told.
struct Refusal {
    QString text;
    QString title;
};
// Nothing when the deck has cards and a leader entry is chosen.
std::optional<Refusal> deckIncomplete(db::Database& conn, const QString& leaderEntry);

// Who is told of a leader or inquisitor as soon as it is read, so that one found before a failure
// stays chosen. For a deck file an empty inquisitor name means "no inquisitor".
struct DeckChoices {
    std::function<void(const QString& name)> leader;
    std::function<void(const QString& name)> inquisitor;
};

// Reads a deck file's content into DECK as the program loads it: the leader, the inquisitor, then
// the cards. Throws db::DbError when the file ends before its second line or names no known leader.
void loadDeckContent(db::Database& conn, const DeckFileContent& content, const DeckChoices& choose);

// Index of the list entry naming exactly this name (the text before its last " ("), -1 if none.
int entryIndexForName(const QStringList& entries, const QString& name);

} // namespace deckio
