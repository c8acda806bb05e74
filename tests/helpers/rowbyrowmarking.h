#pragma once

#include "db/database.h"
#include "db/queries.h"
#include "deck/deckmarking.h"

#include <QStringList>
#include <vector>

namespace testing {

// The pool's marking by one query per pool row, as the marking pass was first written: what the
// test compares the one-read marking with and the benchmark measures it against.
inline std::vector<quint32> markDeckCardsRowByRow(db::Database& conn, const QStringList& poolNumbers) {
    std::vector<quint32> colors;
    colors.reserve(static_cast<size_t>(poolNumbers.size()));
    for (const QString& number : poolNumbers) {
        const auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM DECK WHERE ") + QStringLiteral(" NUMMER='") +
                                           db::quoted(number) + QStringLiteral("'"));
        colors.push_back(rs.RecordCount() > 0 ? deck::kInDeckGrey : deck::kBlack);
    }
    return colors;
}

} // namespace testing
