#include "db/gridmodel.h"

#include "db/database.h"

namespace db {

QString cellText(const QVariant& value) {
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (d == static_cast<double>(static_cast<long long>(d)))
            return QString::number(static_cast<long long>(d));
        return QString::number(d, 'g', 15);
    }
    return value.toString();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_labels.size(); }

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.row(), index.column());
    if (role == TextColorRole)
        return m_colors[static_cast<size_t>(index.row())];
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 && section < m_labels.size())
        return m_labels[section];
    return {};
}

void GridModel::load(const Recordset& result) {
    beginResetModel();
    m_labels = result.labels();
    m_rows.clear();
    m_rows.reserve(result.rows().size());
    for (const auto& row : result.rows()) {
        QStringList cells;
        cells.reserve(static_cast<qsizetype>(row.size()));
        for (const QVariant& v : row)
            cells << cellText(v);
        m_rows.push_back(std::move(cells));
    }
    m_colors.assign(m_rows.size(), Black);
    endResetModel();
}

void GridModel::clear() {
    beginResetModel();
    m_rows.clear();
    m_colors.clear();
    endResetModel();
}

const QString& GridModel::cell(int row, int column) const {
    static const QString empty;
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size() || column < 0 || column >= m_rows[row].size())
        return empty;
    return m_rows[static_cast<size_t>(row)][column];
}

void GridModel::setRowColor(int row, quint32 rgb) {
    if (row < 0 || static_cast<size_t>(row) >= m_colors.size() || m_colors[static_cast<size_t>(row)] == rgb)
        return;
    m_colors[static_cast<size_t>(row)] = rgb;
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), {TextColorRole});
}

void GridModel::setRowColors(std::vector<quint32> colors) {
    colors.resize(m_rows.size(), Black);
    m_colors = std::move(colors);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {TextColorRole});
}

} // namespace db
