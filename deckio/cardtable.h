#pragma once

#include "db/dberror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace db {
class Database;
}

namespace deckio {

// Files larger than these are refused unread. A CardTable deck names a few dozen cards in a few
// kilobytes; CardTable's card data lists every card of the game in a few hundred kilobytes. Both
// limits leave ample room and still read in well under a second.
inline constexpr qint64 kMaxCardTableDeckBytes = 1024 * 1024;
inline constexpr qint64 kMaxCardTableDataBytes = 4 * 1024 * 1024;

// Where the player told us CardTable's card-data file lies.
struct CardTableLocation {
    QString path;     // folder; ends with a separator only at a root
    QString fileName; // empty: not chosen yet
    QString fullPath() const;
};
CardTableLocation storedCardTableLocation();
void storeCardTableLocation(const CardTableLocation& location);

// A CardTable line that could not be used; line is the line as read.
class CardTableLineError : public db::DbError {
public:
    CardTableLineError(const db::DbError& cause, QString line) : db::DbError(cause), m_line(std::move(line)) {}
    const QString& line() const { return m_line; }

private:
    QString m_line;
};

// Line kinds of CardTable's files, by their first four characters.
bool isBackLine(const QByteArray& line);
bool isCardLine(const QByteArray& line, Qt::CaseSensitivity cs);

// The card number a card line names: the last "/"-part of its first quoted text, with a blank put
// before its first digit. Throws db::DbError when the line has no quoted text.
QString cardTableNumber(const QString& line);

// A CardTable deck file for the current deck, from the card data: one entry per card line whose
// card is in DECK, then the leader's, then the inquisitor's. An entry is the last back line read
// and the card line with " 1". Throws CardTableLineError naming the line that failed.
QByteArray buildCardTableDeck(db::Database& conn, const QByteArray& cardData, const QString& leaderName,
                              const QString& inquisitorName);

// The file's bytes for a built deck: the entries and one more CR LF.
QByteArray encodeCardTableFile(const QByteArray& content);

// The numbers a CardTable deck file's card lines name, in their order. A line that names none
// ends the list there, its failure kept beside the numbers read before it.
struct CardTableDeck {
    QStringList numbers;
    std::optional<db::DbError> failure;
};
CardTableDeck parseCardTableDeck(const QByteArray& deckFile);

} // namespace deckio
