#pragma once

#include "db/database.h"
#include "db/datacontrol.h"

#include <QSet>
#include <QString>

namespace testing {

// The data control refreshed, against its record source run as a whole and read in full: the same
// refusal, or the same labels, the rows in the same order with every cell the same, and the same
// grey or black marking against the deck's numbers. Returns the first difference, empty when none.
// A query cut short by the time budget on either side gives no verdict (empty), and says so in
// *cutShort: how often that happens is the caller's to watch, or nothing is compared at all.
QString differenceFromWholeQuery(db::DataControl& source, db::Database& whole, const QSet<QString>& deckNumbers,
                                 bool* cutShort = nullptr);

} // namespace testing
