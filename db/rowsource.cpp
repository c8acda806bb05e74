// The queries that read a plain SELECT's rows on demand, built from its translated parts.
#include "db/rowsource.h"

namespace db {

namespace {

// A term of nothing but a number (signs, brackets, ASC/DESC around it) names no column: the engine
// reads a bare integer as a position in the select list.
bool namesNothing(QString term) {
    for (const QLatin1StringView word : {QLatin1StringView(" ASC"), QLatin1StringView(" DESC")})
        if (term.endsWith(word))
            term.chop(word.size());
    for (const QChar c : term)
        if (!c.isDigit() && !QStringView(u" +-().eE").contains(c))
            return false;
    return true;
}

QString rowidsOf(const PlainSelect& select, const QString& columns) {
    QString text = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + select.table;
    if (!select.condition.isEmpty())
        text += QStringLiteral(" WHERE ") + select.condition;
    return text + QStringLiteral(" ORDER BY ") + select.orderTerms.join(QStringLiteral(", "));
}

} // namespace

std::optional<RowidQueries> rowidQueries(const PlainSelect& select) {
    for (const QString& term : select.orderTerms)
        if (namesNothing(term))
            return std::nullopt;
    const QString rowid = select.table + QStringLiteral(".rowid");
    return RowidQueries{rowidsOf(select, rowid), QStringLiteral("SELECT ") + select.items + QStringLiteral(" FROM ") +
                                                     select.table + QStringLiteral(" WHERE ") + rowid + QStringLiteral(" = ?1")};
}

std::optional<QString> rowidTextsQuery(const PlainSelect& select, const QString& column) {
    if (!rowidQueries(select))
        return std::nullopt;
    return rowidsOf(select, select.table + QStringLiteral(".rowid, ") + column);
}

} // namespace db
