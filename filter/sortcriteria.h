#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace filter {

// The entries of every criterion list, and the column each one writes (position 0: no criterion).
const QStringList& sortEntries();
const QStringList& strSortColumns();

struct SortCriterion {
    int entry = 0;         // position in the criterion list; 0 sets nothing
    bool ascending = true;
};

// "ORDER BY <column> ASC|DESC,…" for the criteria that name a column, or empty when none does.
QString buildOrder(const QVector<SortCriterion>& criteria);

} // namespace filter
