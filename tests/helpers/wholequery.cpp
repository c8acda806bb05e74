// A data control's rows compared with its record source read in full.
#include "tests/helpers/wholequery.h"

#include "db/dberror.h"
#include "db/gridmodel.h"
#include "db/querybudget.h"
#include "deck/deckmarking.h"

#include <optional>

namespace testing {

QString differenceFromWholeQuery(db::DataControl& source, db::Database& whole, const QSet<QString>& deckNumbers,
                                 bool* cutShort) {
    std::optional<db::Recordset> all;
    QString wholeRefusal, refusal;
    bool cut = false; // by the time budget: a matter of the machine's load, not of the rows
    try {
        all = whole.OpenRecordset(source.RecordSource, db::Trust::UserCondition);
    } catch (const db::DbError& e) {
        wholeRefusal = e.description();
        cut = e.number() == db::kQueryCancelled;
    }
    try {
        source.Refresh();
    } catch (const db::DbError& e) {
        refusal = e.description();
        cut = cut || e.number() == db::kQueryCancelled;
    }
    if (cutShort)
        *cutShort = cut;
    if (cut)
        return {};
    if (!all || !refusal.isEmpty())
        return wholeRefusal == refusal && !refusal.isEmpty()
                   ? QString()
                   : QStringLiteral("refused as '%1', the whole query as '%2'").arg(refusal, wholeRefusal);

    db::GridModel expected;
    expected.load(*all);
    db::GridModel& shown = source.model();
    if (shown.labels() != expected.labels())
        return QStringLiteral("labels %1 instead of %2").arg(shown.labels().join(u'|'), expected.labels().join(u'|'));
    if (shown.rowCount() != expected.rowCount())
        return QStringLiteral("%1 rows instead of %2").arg(shown.rowCount()).arg(expected.rowCount());
    const int marked = expected.labels().size() > 7 ? 7 : 0;
    expected.markRows(marked, deckNumbers, deck::kInDeckGrey);
    shown.markRows(marked, deckNumbers, deck::kInDeckGrey);
    for (int r = 0; r < expected.rowCount(); ++r) {
        for (int c = 0; c < expected.columnCount(); ++c)
            if (shown.cell(r, c) != expected.cell(r, c))
                return QStringLiteral("row %1 column %2: '%3' instead of '%4'")
                    .arg(r)
                    .arg(c)
                    .arg(shown.cell(r, c), expected.cell(r, c));
        if (shown.rowColor(r) != expected.rowColor(r))
            return QStringLiteral("row %1 coloured %2 instead of %3").arg(r).arg(shown.rowColor(r), 0, 16).arg(expected.rowColor(r), 0, 16);
    }
    return {};
}

} // namespace testing
