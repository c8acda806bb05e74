#pragma once

#include <QString>

namespace db {
class Database;
}

namespace deckio {

// The plain-text deck list: leader and inquisitor with their limits, the cards grouped by card
// type, the card and foreign-moon totals; every line ends with CR LF. Throws db::DbError when the
// data cannot be listed (a card number without a blank, a leader entry without " (").
QString buildDeckList(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry);

} // namespace deckio
