#pragma once

#include "db/database.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace db {

// The cells of one bound grid as text, with a text colour per row (marking is no database state).
// Rows come either all at once from a recordset, or as rowids in order whose cells are read when
// asked for, through a small cache, so that a large pool costs what is shown of it.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int TextColorRole = Qt::UserRole + 1; // quint32 0xRRGGBB
    static constexpr quint32 Black = 0x000000;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void load(const Recordset& result);
    void load(std::vector<qint64> rowids, std::unique_ptr<RowFetcher> fetcher);
    void clear();
    // Before the connection behind the rows closes: later reads find no cells.
    void releaseFetcher();

    bool rowsOnDemand() const { return m_rows.empty() && (m_fetcher || !m_rowids.empty()); }
    QString cell(int row, int column) const;
    const QStringList& labels() const { return m_labels; }
    quint32 rowColor(int row) const;
    void setRowColor(int row, quint32 rgb);
    // Colours every row whose text in column, case folded, is one of keys; all other rows black.
    // Holds until the next load, under colours set row by row afterwards.
    void markRows(int column, QSet<QString> foldedKeys, quint32 rgb);
    // How many rows the grid shows: a row read on demand brings as many after it.
    void setRowsShown(int rows) { m_fetchAhead = std::clamp(rows, 1, static_cast<int>(kCacheSlots / 2)); }
    // First row whose text in column is exactly text; -1 when none.
    int findRow(int column, const QString& text) const;
    // First row whose rowid is one of rowids; -1 when none, or when the rows were not read by rowid.
    int findRowid(const std::vector<qint64>& rowids) const;

private:
    const QStringList& rowCells(int row) const;
    void resetRows();

    QStringList m_labels;
    std::vector<QStringList> m_rows; // all rows, when loaded from a recordset
    std::vector<qint64> m_rowids;    // otherwise the rows in order
    std::unique_ptr<RowFetcher> m_fetcher;

    struct Slot {
        int row = -1;
        QStringList cells;
    };
    static constexpr size_t kCacheSlots = 256; // a few screens of rows
    int m_fetchAhead = 48;                       // until the grid says how many it shows
    mutable std::array<Slot, kCacheSlots> m_cache;

    QHash<int, quint32> m_rowColors;
    int m_markColumn = -1;
    QSet<QString> m_markKeys;
    quint32 m_markColor = Black;
};

} // namespace db
