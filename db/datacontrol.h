#pragma once

#include "db/database.h"
#include "db/gridmodel.h"

#include <QString>
#include <memory>

namespace db {

// A bound record source (data control): keeps its own connection and refills its grid's model on
// Refresh. A plain one-table text is run for its rowids only; the model reads the rows it shows.
class DataControl {
public:
    QString DatabaseName;
    QString RecordSource;

    // Runs the current text again; read-only, as the text may carry a user's filter condition.
    void Refresh();
    void Close() {
        m_model.releaseFetcher();
        m_connection.reset();
    }

    GridModel& model() { return m_model; }
    const GridModel& model() const { return m_model; }

private:
    std::unique_ptr<Database> m_connection;
    QString m_connectedTo;
    GridModel m_model;
};

} // namespace db
