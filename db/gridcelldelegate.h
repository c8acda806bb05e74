#pragma once

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

namespace ui {

// Paints a grid's cells: each row in its marking colour, no focus rectangle. A one-line cell is
// drawn as the style draws it, but by one elided drawText instead of the style's text layout
// measured twice per cell, which was most of a grid's repaint on every keystroke.
class GridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // Most cells fit their column: a text's width, once measured, says so without eliding it.
    QString fitted(const QString& text, const QStyleOptionViewItem& cell, int width) const;
    static constexpr qsizetype kWidthsKept = 20000;
    mutable QHash<QString, qreal> m_widths;
    mutable QFont m_widthsFont;
};

} // namespace ui
