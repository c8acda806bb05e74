// One undoable change of DECK: the rows it took out and put in.
#include "deck/deckstep.h"

#include "core/errornumbers.h"
#include "db/database.h"
#include "db/dberror.h"

#include <algorithm>

namespace deck {

namespace {

QString quotedName(QString name) { return u'"' + name.replace(u'"', QStringLiteral("\"\"")) + u'"'; }

DeckRows rowsOf(const db::Recordset& rs) {
    DeckRows out;
    out.columns = rs.labels().mid(1);
    out.rows.reserve(rs.rows().size());
    for (const auto& row : rs.rows())
        out.rows.push_back({row.front().toLongLong(), std::vector<QVariant>(row.begin() + 1, row.end())});
    return out;
}

// Rows of a that b does not hold as they are; both in rowid order.
std::vector<DeckRow> without(const std::vector<DeckRow>& a, const std::vector<DeckRow>& b) {
    std::vector<DeckRow> out;
    auto it = b.begin();
    for (const DeckRow& row : a) {
        while (it != b.end() && it->rowid < row.rowid)
            ++it;
        if (it == b.end() || it->rowid != row.rowid || !(it->values == row.values))
            out.push_back(row);
    }
    return out;
}

// Rowid order is the table's own, but a step's two reads may come from different statements.
void sortByRowid(std::vector<DeckRow>& rows) {
    std::sort(rows.begin(), rows.end(), [](const DeckRow& x, const DeckRow& y) { return x.rowid < y.rowid; });
}

} // namespace

DeckRows readDeck(db::Database& conn) {
    return rowsOf(conn.runBound(QStringLiteral("SELECT rowid, * FROM \"DECK\" ORDER BY rowid"), {}));
}

DeckRows readDeckNamed(db::Database& conn, const QString& name) {
    // NAME carries the JET collation, so "=" compares as the deck's Jet statements do.
    return rowsOf(conn.runBound(QStringLiteral("SELECT rowid, * FROM \"DECK\" WHERE \"NAME\" = ?1 ORDER BY rowid"), {name}));
}

DeckStep::DeckStep(const DeckRows& before, const DeckRows& after, DeckChoice choiceBefore, DeckChoice choiceAfter)
    : m_columns(after.columns.isEmpty() ? before.columns : after.columns), m_choiceBefore(choiceBefore),
      m_choiceAfter(choiceAfter) {
    std::vector<DeckRow> b = before.rows;
    std::vector<DeckRow> a = after.rows;
    sortByRowid(b);
    sortByRowid(a);
    m_removed = without(b, a);
    m_added = without(a, b);
}

void DeckStep::undo(db::Database& conn) const { apply(conn, m_added, m_removed); }
void DeckStep::redo(db::Database& conn) const { apply(conn, m_removed, m_added); }

void DeckStep::apply(db::Database& conn, const std::vector<DeckRow>& out, const std::vector<DeckRow>& in) const {
    if (out.empty() && in.empty())
        return;
    db::Transaction transaction(conn);
    for (const DeckRow& row : out) {
        int changed = 0;
        // Only the row exactly as the step left it goes: anything else means DECK is not what the step knows.
        QString sql = QStringLiteral("DELETE FROM \"DECK\" WHERE rowid = ?1");
        std::vector<QVariant> values{row.rowid};
        for (qsizetype c = 0; c < m_columns.size(); ++c) {
            sql += QStringLiteral(" AND %1 IS ?%2").arg(quotedName(m_columns[c])).arg(c + 2);
            values.push_back(row.values[static_cast<size_t>(c)]);
        }
        conn.runBound(sql, values, &changed);
        if (changed != 1)
            throw db::DbError(core::errors::kRecordChanged, QStringLiteral("Das Deck enthält die Karte '%1' nicht mehr so, wie dieser Schritt sie "
                                                   "hinterlassen hat.")
                                        .arg(row.values.empty() ? QString() : row.values.front().toString()));
    }
    if (!in.empty()) {
        QString names = QStringLiteral("rowid");
        QString params = QStringLiteral("?1");
        for (qsizetype c = 0; c < m_columns.size(); ++c) {
            names += QStringLiteral(", ") + quotedName(m_columns[c]);
            params += QStringLiteral(", ?%1").arg(c + 2);
        }
        const QString sql = QStringLiteral("INSERT INTO \"DECK\" (%1) VALUES (%2)").arg(names, params);
        for (const DeckRow& row : in) {
            std::vector<QVariant> values{row.rowid};
            values.insert(values.end(), row.values.begin(), row.values.end());
            conn.runBound(sql, values);
        }
    }
    transaction.commit();
}

QStringList DeckStep::numbers(const std::vector<DeckRow>& rows) const {
    QStringList out;
    const qsizetype at = m_columns.indexOf(QStringLiteral("NUMMER"));
    if (at < 0)
        return out;
    for (const DeckRow& row : rows)
        out << row.values[static_cast<size_t>(at)].toString();
    return out;
}

} // namespace deck
