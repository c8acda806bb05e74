// The leader and inquisitor list entries, the names cut from them, and look-ups by card number.
#include "deck/entrynames.h"

#include "db/database.h"
#include "db/jetfunctions.h"
#include "db/queries.h"

#include <algorithm>
#include <optional>

namespace deck {

namespace {
const QString kParen = QStringLiteral(" (");

QString firstField(db::Database& conn, const QString& sql) {
    auto rs = conn.OpenRecordset(sql);
    return rs.Eof() ? QString() : db::cellText(rs.Fields(0));
}

bool jetLess(QByteArrayView a, QByteArrayView b) { return db::jetCompareUtf8(a, b) < 0; }
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
    // The numbers as the file stores them, in the collation's order: no value, text and copy for
    // each of them, as a deck file is read.
    const QString numbers = QStringLiteral("SELECT NULL, NUMMER FROM ") + table + QStringLiteral(" ORDER BY NUMMER");
    std::optional<db::RowidTexts> rows = conn.runRowidTexts(numbers);
    if (!rows) {
        (void)conn.OpenRecordset(numbers); // says why it does not prepare
        rows.emplace();
    }
    m_text = std::move(rows->text);
    m_ends = std::move(rows->ends);
    // Any other order (a number stored as a number sorts before every text) is sorted here.
    std::vector<size_t> order(m_ends.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto less = [this](size_t a, size_t b) { return jetLess(key(a), key(b)); };
    if (!std::is_sorted(order.begin(), order.end(), less)) {
        std::vector<QByteArray> keys;
        for (size_t i = 0; i < m_ends.size(); ++i)
            keys.push_back(key(i).toByteArray());
        pack(std::move(keys));
    }
}

NumberIndex::NumberIndex(const QStringList& numbers) {
    std::vector<QByteArray> keys;
    keys.reserve(static_cast<size_t>(numbers.size()));
    for (const QString& number : numbers)
        keys.push_back(number.toUtf8());
    pack(std::move(keys));
}

void NumberIndex::pack(std::vector<QByteArray> keys) {
    std::sort(keys.begin(), keys.end(), jetLess);
    m_text.clear();
    m_ends.clear();
    for (const QByteArray& k : keys) {
        m_text += k;
        m_ends.push_back(m_text.size());
    }
}

QByteArrayView NumberIndex::key(size_t i) const {
    const qsizetype begin = i == 0 ? 0 : m_ends[i - 1];
    return QByteArrayView(m_text.constData() + begin, m_ends[i] - begin);
}

qsizetype NumberIndex::find(const QString& number) const {
    if (namesNoCard(number))
        return -1;
    const QByteArray wanted = number.toUtf8();
    size_t lo = 0, hi = m_ends.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (jetLess(key(mid), wanted))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == m_ends.size() || db::jetCompareUtf8(key(lo), wanted) != 0)
        return -1;
    return static_cast<qsizetype>(lo);
}

} // namespace deck
