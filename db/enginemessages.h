#pragma once

#include <QString>

namespace db {

// The engine's English error text as the German message the player reads; a text the table does not
// know keeps its English words behind a German lead-in.
QString germanEngineMessage(const QString& english);

} // namespace db
