#pragma once

#include <QString>

namespace db {

// Why the card database at path cannot be used (it does not open, SQLite's quick check finds
// damage, or one of the program's tables is missing); empty when it can. A journal left by a
// killed program is played back, as every opening does.
QString catalogueProblem(const QString& path);

} // namespace db
