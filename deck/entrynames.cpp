// The leader and inquisitor list entries, the names cut from them, and look-ups by card number.
#include "deck/entrynames.h"

#include "db/database.h"
#include "db/jetfunctions.h"
#include "db/queries.h"

#include <algorithm>

namespace deck {

namespace {
const QString kParen = QStringLiteral(" (");

QString firstField(db::Database& conn, const QString& sql) {
    auto rs = conn.OpenRecordset(sql);
    return rs.Eof() ? QString() : db::cellText(rs.Fields(0));
}

bool jetLess(const QString& a, const QString& b) { return db::jetCompare(a, b) < 0; }
} // namespace

QString leaderEntry(const QString& name, const QString& faction, const QString& cards, const QString& moons) {
    return name + kParen + faction + QStringLiteral(": ") + cards + QStringLiteral(" Karten / ") + moons +
           QStringLiteral(" Monde )");
}

QString inquisitorEntry(const QString& name, const QString& cards, const QString& moons) {
    return name + QStringLiteral(" (+") + cards + QStringLiteral(" Karten / +") + moons + QStringLiteral(" Monde )");
}

QStringList leaderEntries(db::Database& conn) {
    QStringList entries;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM ANFUEHRER ") + QStringLiteral("ORDER BY NAME")); !rs.Eof();
         rs.MoveNext()) {
        entries << leaderEntry(db::cellText(rs.Fields(QStringLiteral("NAME"))), db::cellText(rs.Fields(QStringLiteral("FRAKTION"))),
                               db::cellText(rs.Fields(QStringLiteral("KARTEN"))), db::cellText(rs.Fields(QStringLiteral("MONDE"))));
    }
    return entries;
}

QStringList inquisitorEntries(db::Database& conn) {
    QStringList entries;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM INQUISITOR ") + QStringLiteral("ORDER BY NAME")); !rs.Eof();
         rs.MoveNext()) {
        entries << inquisitorEntry(db::cellText(rs.Fields(QStringLiteral("NAME"))), db::cellText(rs.Fields(QStringLiteral("KARTEN"))),
                                   db::cellText(rs.Fields(QStringLiteral("MONDE"))));
    }
    entries << kNoInquisitor;
    return entries;
}

QString nameBeforeLastParen(const QString& entry) {
    const qsizetype at = entry.lastIndexOf(kParen);
    return at < 0 ? entry : entry.left(at);
}

QString inquisitorName(const QString& entry) {
    return entry == kNoInquisitor ? QStringLiteral("-") : nameBeforeLastParen(entry);
}

QString leaderName(const QString& entry) { return nameBeforeLastParen(entry); }

int entryIndexForName(const QStringList& entries, const QString& name) {
    for (int i = 0; i < entries.size(); ++i)
        if (nameBeforeLastParen(entries[i]) == name)
            return i;
    return -1;
}

QString leaderNameForNumber(db::Database& conn, const QString& number) {
    if (namesNoCard(number))
        return QString();
    return firstField(conn, QStringLiteral("SELECT NAME FROM ANFUEHRER WHERE NUMMER = '") + db::quoted(number) + QStringLiteral("' "));
}

QString inquisitorNameForNumber(db::Database& conn, const QString& number) {
    if (namesNoCard(number))
        return QString();
    return firstField(conn, QStringLiteral("SELECT NAME FROM INQUISITOR WHERE NUMMER = '") + db::quoted(number) + QStringLiteral("' "));
}

NumberIndex::NumberIndex(db::Database& conn, const QString& table) {
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM ") + table); !rs.Eof(); rs.MoveNext())
        m_numbers << db::cellText(rs.Fields(0));
    std::sort(m_numbers.begin(), m_numbers.end(), jetLess);
}

NumberIndex::NumberIndex(QStringList numbers) : m_numbers(std::move(numbers)) {
    std::sort(m_numbers.begin(), m_numbers.end(), jetLess);
}

qsizetype NumberIndex::find(const QString& number) const {
    if (namesNoCard(number))
        return -1;
    const auto it = std::lower_bound(m_numbers.begin(), m_numbers.end(), number, jetLess);
    if (it == m_numbers.end() || db::jetCompare(*it, number) != 0)
        return -1;
    return it - m_numbers.begin();
}

} // namespace deck
