#include "filter/quickfilter.h"

#include "db/queries.h"

namespace filter {

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
    const QString condition = where.trimmed();
    const QLatin1String keyword("WHERE");
    if (condition.startsWith(keyword, Qt::CaseInsensitive) &&
        (condition.size() == keyword.size() || !condition.at(keyword.size()).isLetterOrNumber()))
        return QStringLiteral("WHERE (") + condition.mid(keyword.size()).trimmed() + QStringLiteral(") AND ") + like;
    return where + QStringLiteral(" AND ") + like;
}

} // namespace filter
