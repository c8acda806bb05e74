#pragma once

#include "db/schema.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace db {

// Name of the collation every connection registers and every translated text literal carries.
inline constexpr const char* kJetCollation = "JET";

// Texts longer than this are refused: no condition a player writes comes near it, and the
// translated text must stay well inside the engine's own length limit of a million bytes.
inline constexpr qsizetype kMaxJetSqlLength = 100000;
// Parentheses (groups and calls) nest at most this deep. The translator walks them recursively, so
// the bound keeps its stack small (also under sanitizers). The engine's parser stops earlier still
// (at about 50 levels of parentheses, fewer for calls, which the translation adds) with the same
// refusal, so nothing that could run is refused here.
inline constexpr int kMaxJetNesting = 100;
inline const QString kTooDeeplyNested =
    QStringLiteral("Die Abfrage ist zu komplex: Klammern und Funktionen sind zu tief verschachtelt.");

// A plain one-table SELECT ("SELECT <items> FROM <table> [WHERE …] [ORDER BY …]", nothing else at
// its own level) in its translated parts: what reading its rows on demand needs.
struct PlainSelect {
    QString table;          // as the translation names it
    QString items;          // the select list, labels included
    QString condition;      // after WHERE; empty when there is none
    QStringList orderTerms; // after ORDER BY, the table's rowid last
};

struct Translation {
    QString sql;
    // The text without the rowid order a plain one-table SELECT gets (see translateJetQuery); the
    // same as sql for any other text.
    QString unordered;
    std::optional<PlainSelect> plain;
};

// Rewrites one Jet SQL text into SQLite SQL: names resolved and quoted, literals single-quoted,
// Jet operators and functions mapped. A plain one-table SELECT is ordered to the end by its table's
// rowid, so that rows its order leaves tied (all of them, without an order) come in the table's own
// order, whichever index the engine reads. Throws DbError on text it cannot translate.
Translation translateJetQuery(const QString& jetSql, const Schema& schema);
inline QString translateJet(const QString& jetSql, const Schema& schema) { return translateJetQuery(jetSql, schema).sql; }

// Whether the engine function of this name is one the translation emits; conditions from users or
// files may call no other.
bool isEngineFunctionOfTheDialect(const QString& sqliteName);

} // namespace db
