#pragma once

#include "db/schema.h"

#include <QString>

namespace db {

// Name of the collation every connection registers and every translated text literal carries.
inline constexpr const char* kJetCollation = "JET";

// Rewrites one Jet SQL text into SQLite SQL: names resolved and quoted, literals single-quoted,
// Jet operators and functions mapped. Throws DbError on text it cannot translate.
QString translateJet(const QString& jetSql, const Schema& schema);

} // namespace db
