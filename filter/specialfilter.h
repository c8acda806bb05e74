#pragma once

#include <QString>

namespace db {
class Database;
}

namespace filter {

// The columns a condition may use and their kinds, one per line (CR LF after each).
QString specialFilterFields();
QString specialFilterTypes();

// Runs the condition once against KARTEN so that the engine parses and checks it; throws
// db::DbError with the engine's description when it is not a usable read-only condition.
void testCondition(db::Database& conn, const QString& condition);

// The filter text for an accepted condition; the blank lets the order text follow.
QString filterOfCondition(const QString& condition);

} // namespace filter
