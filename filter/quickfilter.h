#pragma once

#include <QString>

namespace filter {

// The filter a value of the pool header's menu sets: the column compared as text with the value.
QString valueFilter(const QString& column, const QString& value);

// What goes between the pool's SELECT and its ORDER BY while the player types a name: the current
// filter (its condition in brackets), narrowed to names containing the text when there is one.
QString nameFilterCondition(const QString& where, const QString& name);

} // namespace filter
