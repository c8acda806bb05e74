// How a grid cell is painted: marking colour, selection, one line of text cut to its column.
#include "db/gridcelldelegate.h"

#include "db/gridmodel.h"

#include <QApplication>
#include <QPainter>
#include <QStaticText>

namespace ui {

void GridCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
    // An unmarked row is written in the desktop's text colour, black on a light desktop and legible on a dark
    // one; only the marking greys are fixed colours.
    const quint32 rgb = index.data(db::GridModel::TextColorRole).toUInt();
    if (rgb != db::GridModel::Black) {
        const QColor color{QRgb(rgb)};
        option->palette.setColor(QPalette::Text, color);
        option->palette.setColor(QPalette::HighlightedText, color.lighter(130));
    }
    option->displayAlignment = Qt::AlignLeft | Qt::AlignTop;
}

QString GridCellDelegate::fitted(const QString& text, const QStyleOptionViewItem& cell, int width) const {
    // A string separator makes the metrics measure only its first variant; eliding knows them all.
    if (cell.textElideMode == Qt::ElideNone || text.contains(QChar(0x9c)))
        return cell.fontMetrics.elidedText(text, cell.textElideMode, width);
    auto it = m_widths.constFind(text);
    if (it == m_widths.constEnd())
        it = m_widths.insert(text, QFontMetricsF(cell.font).horizontalAdvance(text));
    // Eliding leaves a text alone on the same test.
    return *it <= width ? text : cell.fontMetrics.elidedText(text, cell.textElideMode, width);
}

const QStaticText* GridCellDelegate::laidOut(const QString& text) const {
    auto it = m_glyphs.find(text);
    if (it == m_glyphs.end()) {
        // Only text without control characters is kept, so a text found needs no second look.
        for (const QChar c : text)
            if (c.category() == QChar::Other_Control)
                return nullptr;
        QStaticText glyphs(text);
        glyphs.setTextFormat(Qt::PlainText);
        it = m_glyphs.insert(text, glyphs);
    }
    return &*it;
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    // Anything but plain text on one line (an icon, a check box, wrapping, a line break) goes the style's whole way.
    if (cell.features & ~QStyleOptionViewItem::HasDisplay ||
        cell.text.contains(QChar::LineFeed) || cell.text.contains(QChar::LineSeparator)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The style's text margin, as its own item drawing takes it.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = cell.rect.adjusted(margin, 0, -margin, 0);
    if (cell.font != m_textsFont || m_widths.size() > kTextsKept || m_glyphs.size() > kTextsKept) {
        m_widths.clear();
        m_glyphs.clear();
        m_textsFont = cell.font;
    }
    const QString text = fitted(cell.text, cell, textRect.width());
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
    QPalette::ColorGroup group = cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;

    painter->save();
    painter->setClipRect(cell.rect);
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    if (const QStaticText* glyphs = laidOut(text))
        painter->drawStaticText(textRect.topLeft(), *glyphs);
    else
        painter->drawText(textRect, int(cell.displayAlignment) | Qt::TextSingleLine | Qt::TextDontClip, text);
    painter->restore();
}

} // namespace ui
