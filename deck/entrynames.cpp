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

bool jetLess(const QByteArray& a, const QByteArray& b) { return db::jetCompare(a, b) < 0; }

std::vector<QByteArray> sortedKeys(const QStringList& numbers) {
    std::vector<QByteArray> keys;
    keys.reserve(static_cast<size_t>(numbers.size()));
    for (const QString& number : numbers)
        keys.push_back(number.toUtf8());
    // A table's numbers come in order from its index; sorting them again would compare each
    // a dozen times.
    if (!std::is_sorted(keys.begin(), keys.end(), jetLess))
        std::sort(keys.begin(), keys.end(), jetLess);
    return keys;
}
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
    QStringList numbers;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM ") + table + QStringLiteral(" ORDER BY NUMMER")); !rs.Eof(); rs.MoveNext())
        numbers << db::cellText(rs.Fields(0));
    m_keys = sortedKeys(numbers);
}

NumberIndex::NumberIndex(const QStringList& numbers) : m_keys(sortedKeys(numbers)) {}

qsizetype NumberIndex::find(const QString& number) const {
    if (namesNoCard(number))
        return -1;
    const QByteArray key = number.toUtf8();
    const auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key, jetLess);
    if (it == m_keys.end() || db::jetCompare(*it, key) != 0)
        return -1;
    return it - m_keys.begin();
}

} // namespace deck
