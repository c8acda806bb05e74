#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace deck {

// The entry standing for "no inquisitor".
inline const QString kNoInquisitor = QStringLiteral("- ");

// Leader list entry: name, " (", faction, ": ", cards, " Karten / ", moons, " Monde )".
QString leaderEntry(const QString& name, const QString& faction, const QString& cards, const QString& moons);
// Inquisitor list entry: name, " (+", cards, " Karten / +", moons, " Monde )".
QString inquisitorEntry(const QString& name, const QString& cards, const QString& moons);

// The leader list as the main window offers it: one entry per leader, by name.
QStringList leaderEntries(db::Database& conn);
// The inquisitor list: one entry per inquisitor, by name, then the entry for no inquisitor.
QStringList inquisitorEntries(db::Database& conn);

// The text before the last " (" (the whole text when there is none).
QString nameBeforeLastParen(const QString& entry);

// The leader's name in an entry: everything before the " (" that starts the faction and limits,
// so that a name with brackets of its own stays whole.
QString leaderName(const QString& entry);

// The inquisitor's name in an entry: everything before the " (" that starts the limits, so that a
// name with brackets of its own stays whole; the entry "- " names the card "-".
QString inquisitorName(const QString& entry);

} // namespace deck
