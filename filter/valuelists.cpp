// The filter dialog's value lists, kept while the database file stays as it was.
#include "filter/valuelists.h"

#include "db/database.h"
#include "filter/filterbuilder.h"

namespace filter {

FilterValueLists::FilterValueLists(QString databasePath) : m_path(std::move(databasePath)) {}

FilterValueLists::~FilterValueLists() = default;

bool FilterValueLists::stale() {
    if (!m_connection)
        return true;
    return m_connection->dataVersion() != m_version;
}

const QList<QStringList>& FilterValueLists::lists() {
    if (!m_connection)
        m_connection = db::Database::OpenDatabase(m_path);
    const qint64 version = m_connection->dataVersion();
    if (version != m_version || m_lists.isEmpty()) {
        QList<QStringList> lists;
        for (const char* column : kValueListColumns)
            lists << funcFillList(*m_connection, QString::fromLatin1(column));
        m_lists = std::move(lists);
        m_version = version;
    }
    return m_lists;
}

} // namespace filter
