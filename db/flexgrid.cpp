// The grid widget, addressed by row and column as the window's code expects.
#include "db/flexgrid.h"

#include "db/gridcelldelegate.h"
#include "db/gridmodel.h"
#include "db/gridscrollbar.h"
#include "core/windowplace.h"

#include <QApplication>
#include <QHeaderView>
#include <algorithm>
#include <utility>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace ui {

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent) {
    setVerticalScrollBar(new GridScrollBar(Qt::Vertical));
    setHorizontalScrollBar(new GridScrollBar(Qt::Horizontal));
    setItemDelegate(new GridCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Names and numbers are often longer than the designed widths: the player may widen a column.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(8);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (QApplication::mouseButtons() != Qt::NoButton)
            m_resizing = true;
    });
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->viewport()->installEventFilter(this);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    QFont gridFont(QStringLiteral("DejaVu Sans"));
    gridFont.setPointSizeF(8.25);
    setFont(gridFont);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 4);
}

void FlexGrid::setGridModel(db::GridModel* model) {
    m_model = model;
    setModel(model);
    // A bound grid shows a re-run query from its first row; only funcRefreshKeepTop scrolls back.
    connect(model, &QAbstractItemModel::modelReset, this, &QAbstractItemView::scrollToTop);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { Q_EMIT selectionMoved(); });
    tellRowsShown();
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    tellRowsShown();
}

int FlexGrid::wholeRowsShown() const { return viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()); }

void FlexGrid::tellRowsShown() {
    // With the row cut at the bottom.
    if (m_model)
        m_model->setRowsShown(wholeRowsShown() + 1);
}

int FlexGrid::Rows() const { return m_model ? m_model->rowCount() + 1 : 1; }

int FlexGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void FlexGrid::setRow(int row, Scroll scroll) {
    if (!m_model || row < 1 || row >= Rows())
        return;
    const QModelIndex index = m_model->index(row - 1, 0);
    // A hidden view would otherwise remember to scroll to its current row when it is shown.
    const bool autoScrolling = hasAutoScroll();
    setAutoScroll(scroll == Scroll::IntoView && autoScrolling);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    setAutoScroll(autoScrolling);
    if (scroll == Scroll::IntoView)
        scrollTo(index);
}

QString FlexGrid::TextMatrix(int row, int column) const {
    if (!m_model)
        return QString();
    if (row == 0)
        return column >= 0 && column < m_model->labels().size() ? m_model->labels()[column] : QString();
    return m_model->cell(row - 1, column);
}

int FlexGrid::TopRow() const {
    const int r = QTableView::rowAt(0);
    return r < 0 ? 0 : r + 1;
}

void FlexGrid::setTopRow(int row) {
    if (!m_model || row < 1 || row >= Rows())
        return;
    // Right after a refresh the scroll range is not laid out yet and would clamp the scroll to the top.
    executeDelayedItemsLayout();
    updateGeometries();
    scrollTo(m_model->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

void FlexGrid::setRedraw(bool on) { setUpdatesEnabled(on); }

void FlexGrid::setColumnWidthsTwips(const QList<int>& twips) {
    for (int c = 0; c < twips.size(); ++c)
        setColumnWidth(c, twipsToPixels(this, twips[c]));
}

void FlexGrid::setHeaderToolTip(int column, const QString& text) { m_headerToolTips.insert(column, text); }

QList<int> FlexGrid::columnWidthsTwips() const {
    QList<int> twips;
    for (int c = 0; c < horizontalHeader()->count(); ++c)
        twips << pixelsToTwips(this, columnWidth(c));
    return twips;
}

int FlexGrid::rowAt(const QPoint& viewportPos) const {
    const int r = QTableView::rowAt(viewportPos.y());
    return r < 0 ? 0 : r + 1;
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

void FlexGrid::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat())
        Q_EMIT deleteReleased();
    QTableView::keyReleaseEvent(event);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    Q_EMIT mouseReleased(event->button(), rowAt(event->position().toPoint()), event->globalPosition().toPoint());
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && rowAt(event->position().toPoint()) > 0)
        Q_EMIT dataDoubleClicked();
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = m_headerToolTips.value(horizontalHeader()->logicalIndexAt(help->pos()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, horizontalHeader()->viewport());
        return true;
    }
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonPress)
        m_resizing = false;
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (std::exchange(m_resizing, false))
            return false;
        const int column = horizontalHeader()->logicalIndexAt(me->position().toPoint());
        if (column >= 0)
            Q_EMIT headerReleased(me->button(), column, me->globalPosition().toPoint());
        return false;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace ui
