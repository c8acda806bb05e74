// The cells of one bound grid, read all at once or row by row on demand, with row colours.
#include "db/gridmodel.h"

#include <algorithm>

namespace db {

int GridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_fetcher || !m_rowids.empty() ? m_rowids.size() : m_rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_labels.size(); }

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.row(), index.column());
    if (role == TextColorRole)
        return rowColor(index.row());
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 && section < m_labels.size())
        return m_labels[section];
    return {};
}

void GridModel::resetRows() {
    m_rows.clear();
    m_rowids.clear();
    m_fetcher.reset();
    for (Slot& slot : m_cache)
        slot.row = -1;
    m_rowColors.clear();
    m_markColumn = -1;
    m_markKeys.clear();
}

void GridModel::load(const Recordset& result) {
    beginResetModel();
    resetRows();
    m_labels = result.labels();
    m_rows.reserve(result.rows().size());
    for (const auto& row : result.rows()) {
        QStringList cells;
        cells.reserve(static_cast<qsizetype>(row.size()));
        for (const QVariant& v : row)
            cells << cellText(v);
        m_rows.push_back(std::move(cells));
    }
    endResetModel();
}

void GridModel::load(std::vector<qint64> rowids, std::unique_ptr<RowFetcher> fetcher) {
    beginResetModel();
    resetRows();
    m_labels = fetcher->labels();
    m_rowids = std::move(rowids);
    m_fetcher = std::move(fetcher);
    endResetModel();
}

void GridModel::clear() {
    beginResetModel();
    resetRows();
    endResetModel();
}

void GridModel::releaseFetcher() { m_fetcher.reset(); }

const QStringList& GridModel::rowCells(int row) const {
    static const QStringList none;
    if (row < 0 || row >= rowCount())
        return none;
    if (!m_rows.empty())
        return m_rows[static_cast<size_t>(row)];
    Slot& slot = m_cache[static_cast<size_t>(row) % kCacheSlots];
    if (slot.row != row) {
        if (!m_fetcher)
            return none;
        // A grid asks for the rows below next: read what it shows in one go.
        const RowFetcher::Batch batch(*m_fetcher);
        const int last = std::min(rowCount(), row + m_fetchAhead);
        for (int r = row; r < last; ++r) {
            Slot& ahead = m_cache[static_cast<size_t>(r) % kCacheSlots];
            if (ahead.row != r) {
                m_fetcher->fetch(m_rowids[static_cast<size_t>(r)], ahead.cells);
                ahead.row = r;
            }
        }
    }
    return slot.cells;
}

QString GridModel::cell(int row, int column) const {
    const QStringList& cells = rowCells(row);
    return column >= 0 && column < cells.size() ? cells[column] : QString();
}

quint32 GridModel::rowColor(int row) const {
    if (const auto it = m_rowColors.constFind(row); it != m_rowColors.constEnd())
        return it.value();
    if (m_markColumn >= 0 && m_markKeys.contains(cell(row, m_markColumn).toCaseFolded()))
        return m_markColor;
    return Black;
}

void GridModel::setRowColor(int row, quint32 rgb) {
    if (row < 0 || row >= rowCount() || rowColor(row) == rgb)
        return;
    m_rowColors.insert(row, rgb);
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), {TextColorRole});
}

void GridModel::markRows(int column, QSet<QString> foldedKeys, quint32 rgb) {
    m_rowColors.clear();
    m_markColumn = column;
    m_markKeys = std::move(foldedKeys);
    m_markColor = rgb;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {TextColorRole});
}

int GridModel::findRow(int column, const QString& text) const {
    if (!m_rows.empty() || !m_fetcher) {
        for (int r = 0; r < rowCount(); ++r)
            if (cell(r, column) == text)
                return r;
        return -1;
    }
    // Read past the cache so that a search through a large pool does not empty it.
    QStringList cells;
    for (size_t r = 0; r < m_rowids.size(); ++r) {
        const Slot& slot = m_cache[r % kCacheSlots];
        const QStringList& row = slot.row == static_cast<int>(r) ? slot.cells : (m_fetcher->fetch(m_rowids[r], cells), cells);
        if (column < row.size() && row[column] == text)
            return static_cast<int>(r);
    }
    return -1;
}

int GridModel::findRowid(const std::vector<qint64>& rowids) const {
    if (rowids.empty() || !m_rows.empty())
        return -1;
    for (size_t r = 0; r < m_rowids.size(); ++r)
        if (std::find(rowids.begin(), rowids.end(), m_rowids[r]) != rowids.end())
            return static_cast<int>(r);
    return -1;
}

} // namespace db
