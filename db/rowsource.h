#pragma once

#include <QString>
#include <optional>

namespace db {

// A record source's translated text taken apart so that its rows can be read on demand: one query
// for the rowids in the text's order, one that reads the text's columns of a single row by rowid.
struct RowidQueries {
    QString rowids; // SELECT <table>.rowid FROM <table> <condition and order as written>
    QString fetch;  // SELECT <columns as written> FROM <table> WHERE <table>.rowid = ?1

    // A condition that ends in "AND <column> LIKE '<pattern>'", or is only that, with no OR beside
    // it at its own level, gives the same rows as the text without that part, in its order, kept
    // where the column's text matches the pattern. So a name typed letter by letter narrows one
    // list of names in memory instead of scanning the table again.
    struct Narrowing {
        QString baseRows; // SELECT <table>.rowid, <column> FROM <table> <the rest without the LIKE>
        QString pattern;  // the literal's value
    };
    std::optional<Narrowing> narrowing;
};

// Only a plain one-table SELECT qualifies: no DISTINCT, aggregate, window, compound, GROUP BY,
// LIMIT, join or comment at its own level. Anything else gives no value, and the caller reads all
// rows as before. A text that qualifies here may still fail to prepare (a condition naming a
// column alias, say); the caller falls back then as well.
std::optional<RowidQueries> rowidQueries(const QString& sqliteSql);

} // namespace db
