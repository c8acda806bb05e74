#pragma once

#include <QHash>
#include <QString>
#include <optional>

namespace db {

// Table and column names of one database, found without regard to case (umlauts included).
class Schema {
public:
    void addName(const QString& name);
    std::optional<QString> resolve(const QString& name) const;

private:
    QHash<QString, QString> m_byFoldedName;
};

} // namespace db
