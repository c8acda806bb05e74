#include "db/datacontrol.h"

namespace db {

void DataControl::Refresh() {
    if (!m_connection || m_connectedTo != DatabaseName) {
        m_connection = Database::OpenDatabase(DatabaseName);
        m_connectedTo = DatabaseName;
    }
    m_model.load(m_connection->OpenRecordset(RecordSource, Trust::UserCondition));
}

} // namespace db
