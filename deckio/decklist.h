#pragma once

#include <QByteArray>
#include <QString>

namespace db {
class Database;
}

namespace deckio {

// The plain-text deck list: leader and inquisitor with their limits, the cards grouped by card
// type, the card and foreign-moon totals; every line ends with CR LF. Throws db::DbError when the
// data cannot be listed (a card number without a blank, a leader entry without " (").
QString buildDeckList(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry);

// The deck list as a text file: Windows-1252, the text and one more CR LF, so that it ends with an
// empty line. Throws core::AppError for a character that Windows-1252 cannot hold.
QByteArray encodeDeckListFile(const QString& text);

} // namespace deckio
