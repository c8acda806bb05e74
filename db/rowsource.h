#pragma once

#include "db/jettranslator.h"

#include <QString>
#include <optional>

namespace db {

// A plain SELECT read on demand: one query for the rowids in its order, one that reads its items of
// a single row by rowid.
struct RowidQueries {
    QString rowids; // SELECT <table>.rowid FROM <table> [WHERE <condition>] ORDER BY <terms>
    QString fetch;  // SELECT <items> FROM <table> WHERE <table>.rowid = ?1
};

// Nothing when an order term is a bare position in the select list: the rowid query has another
// list, so such a text is left to the whole query. A text that qualifies may still fail to prepare
// (a condition naming a column alias, say); the caller falls back then as well.
std::optional<RowidQueries> rowidQueries(const PlainSelect& select);

// The rowids beside one column's (already translated) text, in the select's order: the list a typed
// name narrows in memory.
std::optional<QString> rowidTextsQuery(const PlainSelect& select, const QString& column);

} // namespace db
