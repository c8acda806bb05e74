// The pool's quick filters: a header menu's value and the typed name.
#include "filter/quickfilter.h"

#include "db/datacontrol.h"
#include "db/queries.h"

namespace filter {

namespace {

// The condition keyword a filter starts with, if it does.
bool startsWithWhere(const QString& where) {
    const QString condition = where.trimmed();
    const QLatin1String keyword("WHERE");
    return condition.startsWith(keyword, Qt::CaseInsensitive) &&
           (condition.size() == keyword.size() || !condition.at(keyword.size()).isLetterOrNumber());
}

} // namespace

QString valueFilter(const QString& column, const QString& value) {
    // Values come from the catalogue; doubling keeps one with an apostrophe a valid literal.
    return QStringLiteral("WHERE CSTR(") + column + QStringLiteral(") = '") + db::quoted(value) + QStringLiteral("' ");
}

QString nameFilterCondition(const QString& where, const QString& name) {
    if (name.isEmpty())
        return where;
    const QString like = QStringLiteral("NAME LIKE '*") + db::quoted(name) + QStringLiteral("*' ");
    if (where.isEmpty())
        return QStringLiteral(" WHERE ") + like;
    // In brackets, so that an OR of the filter cannot let cards of any name through.
    if (startsWithWhere(where))
        return QStringLiteral("WHERE (") + where.trimmed().mid(5).trimmed() + QStringLiteral(") AND ") + like;
    return where + QStringLiteral(" AND ") + like;
}

void setNameFilteredSource(db::DataControl& pool, const QString& select, const QString& where, const QString& order,
                           const QString& name) {
    pool.RecordSource = select + nameFilterCondition(where, name) + order;
    pool.NameNarrowing = nameNarrowing(select, where, order, name);
}

std::optional<db::DataControl::Narrowing> nameNarrowing(const QString& select, const QString& where, const QString& order,
                                                        const QString& name) {
    // Only where the name is added to a whole condition is the text the filter's rows narrowed.
    if (!name.isEmpty() && (where.isEmpty() || startsWithWhere(where)))
        return db::DataControl::Narrowing{select + where + order, QStringLiteral("NAME"), name};
    return std::nullopt;
}

} // namespace filter
