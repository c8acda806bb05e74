#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace db {

class Recordset;

// The cells of one bound grid as text, with a text colour per row (marking is no database state).
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
    void clear();

    const QString& cell(int row, int column) const;
    const QStringList& labels() const { return m_labels; }
    quint32 rowColor(int row) const { return m_colors[static_cast<size_t>(row)]; }
    void setRowColor(int row, quint32 rgb);
    // Sets every row's colour at once and tells the views once.
    void setRowColors(std::vector<quint32> colors);

private:
    QStringList m_labels;
    std::vector<QStringList> m_rows;
    std::vector<quint32> m_colors;
};

// Text of a field as a grid shows it: NULL empty, numbers in plain decimal.
QString cellText(const QVariant& value);

} // namespace db
