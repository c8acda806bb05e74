#pragma once

#include <QString>

namespace deck {

// ORDER after a left click on pool header column; unchanged for columns without a sort.
QString nextOrder(int column, const QString& order);

} // namespace deck
