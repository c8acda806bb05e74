#include "filter/sortcriteria.h"

namespace filter {

const QStringList& sortEntries() {
    static const QStringList entries{QString(),          QStringLiteral("Name"),        QStringLiteral("Set"),
                                     QStringLiteral("Fraktion"), QStringLiteral("Nummer"),      QStringLiteral("Kartenart"),
                                     QStringLiteral("Stärke Feuer"), QStringLiteral("Stärke Erde"), QStringLiteral("Monde"),
                                     QStringLiteral("Gang"),     QStringLiteral("Künstler")};
    return entries;
}

const QStringList& strSortColumns() {
    static const QStringList columns{QString(),           QStringLiteral("Name"),    QStringLiteral("Set"),
                                     QStringLiteral("Fraktion"),  QStringLiteral("Nummer"),  QStringLiteral("Kartenart"),
                                     QStringLiteral("StFeuer"),   QStringLiteral("StErde"),  QStringLiteral("Monde"),
                                     QStringLiteral("Gang"),      QStringLiteral("Kuenstler")};
    return columns;
}

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
