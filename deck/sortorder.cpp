// The pool's order after a click on a header.
#include "deck/sortorder.h"

namespace deck {

namespace {
QString toggle(const QString& order, const QString& column) {
    const QString asc = QStringLiteral("ORDER BY %1 ASC, NAME ASC").arg(column);
    return order == asc ? QStringLiteral("ORDER BY %1 DESC, NAME DESC").arg(column) : asc;
}
} // namespace

QString nextOrder(int column, const QString& order) {
    switch (column) {
    case 0:
        return toggle(order, QStringLiteral("FRAKTION"));
    case 1:
        return order == QStringLiteral("ORDER BY NAME ASC") ? QStringLiteral("ORDER BY NAME DESC")
                                                            : QStringLiteral("ORDER BY NAME ASC");
    case 2:
        return toggle(order, QStringLiteral("KARTENART"));
    case 3: {
        // Strength cycles: fire ascending, earth ascending, fire descending, earth descending.
        static const QString cycle[] = {
            QStringLiteral("ORDER BY STFEUER ASC, NAME ASC"), QStringLiteral("ORDER BY STERDE ASC, NAME ASC"),
            QStringLiteral("ORDER BY STFEUER DESC, NAME DESC"), QStringLiteral("ORDER BY STERDE DESC, NAME DESC")};
        for (int i = 0; i < 4; ++i)
            if (order == cycle[i])
                return cycle[(i + 1) % 4];
        return cycle[0];
    }
    case 4:
        return toggle(order, QStringLiteral("MONDE"));
    default:
        return order;
    }
}

} // namespace deck
