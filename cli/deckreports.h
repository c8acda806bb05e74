#pragma once

#include "cli/commandline.h"

#include <QByteArray>
#include <QString>

namespace deck {
struct DeckComparison;
struct OddsTable;
} // namespace deck

namespace cli {

// "diff": the three card lists and the differences, the decks named by their files; text lines end with LF.
QByteArray comparisonReport(const deck::DeckComparison& comparison, const QString& here, const QString& there,
                            Format format);

// "odds": the table of the chances of at least k cards of each faction, card type and moon value.
QByteArray oddsReport(const deck::OddsTable& table, Format format);

} // namespace cli
