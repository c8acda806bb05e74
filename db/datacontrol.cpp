#include "db/datacontrol.h"

#include "db/rowsource.h"

namespace db {

void DataControl::Refresh() {
    if (!m_connection || m_connectedTo != DatabaseName) {
        m_model.releaseFetcher();
        m_connection = Database::OpenDatabase(DatabaseName);
        m_connectedTo = DatabaseName;
    }
    const QString sql = m_connection->translate(RecordSource);
    if (const auto queries = rowidQueries(sql)) {
        if (auto rowids = m_connection->runRowids(queries->rowids, Trust::UserCondition)) {
            m_model.load(std::move(*rowids), m_connection->prepareRowFetch(queries->fetch, Trust::UserCondition));
            return;
        }
    }
    m_model.load(m_connection->runNative(sql, Trust::UserCondition));
}

} // namespace db
