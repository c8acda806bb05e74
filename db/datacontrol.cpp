// A record source bound to its grid's model, read on demand where its text allows.
#include "db/datacontrol.h"

#include "db/dberror.h"
#include "db/jetfunctions.h"
#include "db/querybudget.h"
#include "db/rowsource.h"

namespace db {

void DataControl::connect() {
    if (!m_connection || m_connectedTo != DatabaseName) {
        m_model.releaseFetcher();
        m_baseRows.clear();
        m_connection = Database::OpenDatabase(DatabaseName);
        m_connectedTo = DatabaseName;
    }
}

void DataControl::Refresh() {
    connect();
    const Translation whole = m_connection->translateQuery(RecordSource);
    if (const auto queries = whole.plain ? rowidQueries(*whole.plain) : std::nullopt) {
        try {
            std::optional<std::vector<qint64>> rowids;
            Source source = Source::Narrowed;
            // The narrowed list stands for the whole text only where that text is one the engine takes.
            if (NameNarrowing && m_connection->prepares(queries->rowids, Trust::UserCondition))
                rowids = narrowedRowids(*NameNarrowing);
            else if (!NameNarrowing && (rowids = rememberedRowids()))
                source = Source::Remembered;
            if (!rowids) {
                rowids = m_connection->runRowids(queries->rowids, Trust::UserCondition);
                source = Source::Rowids;
            }
            if (rowids) {
                m_model.load(std::move(*rowids), m_connection->prepareRowFetch(queries->fetch, Trust::UserCondition));
                m_lastSource = source;
                return;
            }
        } catch (const DbError& e) {
            // Whether a failing part of a condition is reached at all depends on the order the engine
            // tries the parts in; the whole query decides. A query cut short is not run again.
            if (e.number() == kQueryCancelled)
                throw;
        }
    }
    m_model.load(m_connection->run(whole, Trust::UserCondition));
    m_lastSource = Source::WholeQuery;
}

void DataControl::rememberBase(const Narrowing& narrowing) {
    connect();
    try {
        loadBase(narrowing);
    } catch (const DbError&) {
        // The keystroke that needs the list runs the query and reports what fails.
        m_baseRows.clear();
    }
}

bool DataControl::loadBase(const Narrowing& narrowing) {
    const qint64 version = m_connection->dataVersion();
    // The same text on an unchanged file translates and reads as before: no translation to find that out.
    if (!m_baseRows.isEmpty() && version == m_baseVersion && narrowing.base == m_baseSource && narrowing.column == m_baseColumn)
        return true;
    const Translation base = m_connection->translateQuery(narrowing.base);
    const auto rowsText = base.plain ? rowidTextsQuery(*base.plain, m_connection->translate(narrowing.column)) : std::nullopt;
    if (!rowsText)
        return false;
    const QString& baseRows = *rowsText;
    if (baseRows == m_baseRows && version == m_baseVersion) {
        m_baseSource = narrowing.base; // another text for the same rows
        m_baseColumn = narrowing.column;
        return true;
    }
    m_baseRows.clear();
    auto list = m_connection->runRowidTexts(baseRows, Trust::UserCondition);
    if (!list)
        return false;
    m_base = std::move(*list);
    // Folded once here, so that a keystroke only compares.
    m_folded.clear();
    m_foldedEnds.clear();
    m_folded.reserve(static_cast<size_t>(m_base.text.size()));
    m_foldedEnds.reserve(m_base.rowids.size());
    qsizetype begin = 0;
    for (const qsizetype end : m_base.ends) {
        appendFolded(m_base.text.constData() + begin, static_cast<int>(end - begin), m_folded);
        m_foldedEnds.push_back(m_folded.size());
        begin = end;
    }
    m_base.text = QByteArray();
    m_base.ends = {};
    m_baseRows = baseRows;
    m_baseSource = narrowing.base;
    m_baseColumn = narrowing.column;
    m_baseVersion = version;
    return true;
}

std::optional<std::vector<qint64>> DataControl::rememberedRowids() {
    if (m_baseRows.isEmpty() || RecordSource != m_baseSource || m_connection->dataVersion() != m_baseVersion)
        return std::nullopt;
    return m_base.rowids;
}

std::optional<std::vector<qint64>> DataControl::narrowedRowids(const Narrowing& narrowing) {
    const auto like = LikePattern::compile(u'*' + narrowing.contains + u'*');
    if (!like)
        return std::nullopt; // the query itself reports the malformed pattern
    if (!loadBase(narrowing))
        return std::nullopt;
    std::vector<qint64> rowids;
    size_t begin = 0;
    for (size_t i = 0; i < m_base.rowids.size(); ++i) {
        const size_t end = m_foldedEnds[i];
        if (!m_base.nulls[i] && like->matchesFolded(m_folded.data() + begin, static_cast<qsizetype>(end - begin)))
            rowids.push_back(m_base.rowids[i]);
        begin = end;
    }
    return rowids;
}

} // namespace db
