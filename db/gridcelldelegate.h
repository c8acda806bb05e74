#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace ui {

// Paints a grid's cells: each row in its marking colour, no focus rectangle. A one-line cell is
// drawn as the style draws it, but from the text's glyphs laid out once and its width measured
// once, instead of the style's text layout made twice per cell on every repaint, which was most
// of what a keystroke cost.
class GridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // Most cells fit their column: a text's width, once measured, says so without eliding it.
    QString fitted(const QString& text, const QStyleOptionViewItem& cell, int width) const;
    // The glyphs of a text drawn before; nothing for text with control characters.
    const QStaticText* laidOut(const QString& text) const;

    // Both kept for one font, and forgotten when they grow past a few screens of a large pool.
    static constexpr qsizetype kTextsKept = 20000;
    mutable QFont m_textsFont;
    mutable QHash<QString, qreal> m_widths;
    mutable QHash<QString, QStaticText> m_glyphs;
};

} // namespace ui
