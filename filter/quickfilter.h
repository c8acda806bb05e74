#pragma once

#include "db/datacontrol.h"

#include <QString>
#include <optional>

namespace filter {

// The filter a value of the pool header's menu sets: the column compared as text with the value.
QString valueFilter(const QString& column, const QString& value);

// What goes between the pool's SELECT and its ORDER BY while the player types a name: the current
// filter (its condition in brackets), narrowed to names containing the text when there is one.
QString nameFilterCondition(const QString& where, const QString& name);

// Gives the pool that text, and beside it the filter without the name and the name itself, so that
// a name typed letter by letter narrows one list in memory.
void setNameFilteredSource(db::DataControl& pool, const QString& select, const QString& where, const QString& order,
                           const QString& name);
// The narrowing setNameFilteredSource sets for a name; nothing where the filter's rows cannot be narrowed.
std::optional<db::DataControl::Narrowing> nameNarrowing(const QString& select, const QString& where, const QString& order,
                                                        const QString& name);

} // namespace filter
