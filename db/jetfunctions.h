#pragma once

#include <QString>

struct sqlite3;

namespace db {

// Registers the Jet collation, LIKE and helper functions on one connection.
void registerJetFunctions(sqlite3* handle);

// The collation's order: without regard to case, umlauts beside their base letters.
int jetCompare(const QString& a, const QString& b);

// Jet LIKE: * ? # [list] [!list], case-insensitive; % and _ are plain characters.
// Returns false for a malformed pattern in *valid when given.
bool jetLike(const QString& pattern, const QString& value, bool* valid = nullptr);

} // namespace db
