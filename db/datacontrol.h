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
    // Set beside a RecordSource that is `base` with "AND <column> LIKE '*<contains>*'" added to its
    // condition: the rows are then the base's, in its order, whose column contains the text, so a
    // name typed letter by letter narrows one list in memory instead of scanning the table again.
    struct Narrowing {
        QString base;
        QString column;
        QString contains;
    };
    std::optional<Narrowing> NameNarrowing;

    // Runs the current text again; read-only, as the text may carry a user's filter condition.
    void Refresh();
    // Reads ahead, while the program is idle, the list this narrowing narrows, so that the first
    // letter finds it ready. Nothing happens when the list is current.
    void rememberBase(const Narrowing& narrowing);

    // How the last Refresh came by its rows: Remembered is the list the name box narrowed, taken for
    // its base text again when the box is emptied.
    enum class Source { WholeQuery, Rowids, Narrowed, Remembered };
    Source lastSource() const { return m_lastSource; }
    void Close() {
        m_model.releaseFetcher();
        m_baseRows.clear();
        m_connection.reset();
    }

    GridModel& model() { return m_model; }
    const GridModel& model() const { return m_model; }

private:
    void connect();
    // The rows of NameNarrowing; nothing when that does not apply.
    std::optional<std::vector<qint64>> narrowedRowids(const Narrowing& narrowing);
    // Reads the base list unless it is current; false when its text does not prepare.
    bool loadBase(const Narrowing& narrowing);
    // The remembered list when RecordSource is the base it was read for and the file is unchanged.
    std::optional<std::vector<qint64>> rememberedRowids();

    std::unique_ptr<Database> m_connection;
    // The base list of the last narrowing, valid while the file has not changed.
    QString m_baseRows;
    QString m_baseSource; // the base text it was read for
    QString m_baseColumn; // and the column it narrows
    qint64 m_baseVersion = -1;
    Source m_lastSource = Source::WholeQuery;
    RowidTexts m_base;                 // its text and ends only until folded into m_folded
    std::vector<char32_t> m_folded;    // each row's text as patterns compare it
    std::vector<size_t> m_foldedEnds;  // where each row's ends in m_folded
    QString m_connectedTo;
    GridModel m_model;
};

} // namespace db
