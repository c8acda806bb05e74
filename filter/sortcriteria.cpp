// The sort dialog's criteria and the order they write.
#include "filter/sortcriteria.h"

#include <utility>

namespace filter {

namespace {

// Entry shown in the criterion list, and the column it writes.
const std::pair<QStringList, QStringList>& table() {
    static const auto t = [] {
        const std::pair<const char*, const char*> rows[] = {
            {"", ""},           {"Name", "Name"},        {"Set", "Set"},         {"Fraktion", "Fraktion"},
            {"Nummer", "Nummer"}, {"Kartenart", "Kartenart"}, {"Stärke Feuer", "StFeuer"}, {"Stärke Erde", "StErde"},
            {"Monde", "Monde"}, {"Gang", "Gang"},        {"Künstler", "Kuenstler"},
        };
        std::pair<QStringList, QStringList> lists;
        for (const auto& [entry, column] : rows) {
            lists.first << QString::fromUtf8(entry);
            lists.second << QString::fromUtf8(column);
        }
        return lists;
    }();
    return t;
}

} // namespace

const QStringList& sortEntries() { return table().first; }
const QStringList& strSortColumns() { return table().second; }

QString buildOrder(const QVector<SortCriterion>& criteria) {
    QString order;
    for (const SortCriterion& c : criteria) {
        if (c.entry <= 0 || c.entry >= strSortColumns().size())
            continue;
        order += strSortColumns()[c.entry] + (c.ascending ? QStringLiteral(" ASC,") : QStringLiteral(" DESC,"));
    }
    if (order.isEmpty())
        return order;
    order.chop(1);
    return QStringLiteral("ORDER BY ") + order;
}

} // namespace filter
