// Table and column names of one database, found without regard to case.
#include "db/schema.h"

namespace db {

void Schema::addName(const QString& name) { m_byFoldedName.insert(name.toCaseFolded(), name); }

std::optional<QString> Schema::resolve(const QString& name) const {
    const auto it = m_byFoldedName.constFind(name.toCaseFolded());
    if (it == m_byFoldedName.constEnd())
        return std::nullopt;
    return it.value();
}

} // namespace db
