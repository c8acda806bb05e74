#pragma once

#include "db/database.h"
#include "db/gridmodel.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

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
        m_baseRows.clear();
        m_connection.reset();
    }

    GridModel& model() { return m_model; }
    const GridModel& model() const { return m_model; }

private:
    // The rows of a text that narrows its base text by a LIKE; nothing when that does not apply.
    std::optional<std::vector<qint64>> narrowedRowids(const QString& baseRows, const QString& pattern);

    std::unique_ptr<Database> m_connection;
    // The base list of the last narrowing, valid while the file has not changed.
    QString m_baseRows;
    qint64 m_baseVersion = -1;
    RowidTexts m_base;
    QString m_connectedTo;
    GridModel m_model;
};

} // namespace db
