#pragma once

#include <QString>

namespace testing {

// Adds `cards` generated cards to the catalogue at path: eight factions, six card types, names of
// two words from a small stock and a running number ("Sturmfalke 004217"), so that one letter
// matches many of them and a word few; strengths, symbols and moons vary, some strengths are NULL.
void growCatalogue(const QString& databasePath, int cards);

} // namespace testing
