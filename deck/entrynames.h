#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

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

// Index of the list entry naming exactly this name (the text before its last " ("), -1 if none.
int entryIndexForName(const QStringList& entries, const QString& name);

// The leader and inquisitor names for a card number; empty when not found.
QString leaderNameForNumber(db::Database& conn, const QString& number);
QString inquisitorNameForNumber(db::Database& conn, const QString& number);

// The numbers of one table, to tell at once whether a number names one of its rows; compared as
// the catalogue compares them (without regard to case).
class NumberIndex {
public:
    NumberIndex(db::Database& conn, const QString& table);
    explicit NumberIndex(const QStringList& numbers);
    // Position of the matching number, -1 for none.
    qsizetype find(const QString& number) const;
    bool contains(const QString& number) const { return find(number) >= 0; }
    qsizetype size() const { return static_cast<qsizetype>(m_ends.size()); }

private:
    void pack(std::vector<QByteArray> keys);
    QByteArrayView key(size_t i) const;

    // The numbers in UTF-8 as the collation compares them, in its order, one after the other:
    // read once, compared without converting or copying.
    QByteArray m_text;
    std::vector<qsizetype> m_ends; // where each number ends in m_text
};

// A number with a NUL character in it names no card (the catalogue's numbers are plain text).
inline bool namesNoCard(const QString& number) { return number.contains(QChar(u'\0')); }

} // namespace deck
