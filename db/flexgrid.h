#pragma once

#include <QHash>
#include <QTableView>

namespace db {
class GridModel;
}

namespace ui {

// A grid addressed like the bound grid the program was designed around: row 0 is the header,
// data rows are 1 to Rows() - 1, and the selection is always one whole row.
class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    void setGridModel(db::GridModel* model);
    db::GridModel* gridModel() const { return m_model; }

    int Rows() const;
    int Row() const; // 0 when no data row is current
    enum class Scroll { IntoView, Keep };
    // Makes the row current and the only one selected; Keep leaves the view where it is, also
    // when the grid is shown later.
    void setRow(int row, Scroll scroll = Scroll::IntoView);
    QString TextMatrix(int row, int column) const;
    int TopRow() const; // first visible data row, 0 if none
    int wholeRowsShown() const; // data rows the view shows uncut
    void setTopRow(int row);
    void setRedraw(bool on);
    void setColumnWidthsTwips(const QList<int>& twips);
    QList<int> columnWidthsTwips() const;
    // Shown when the mouse rests on the column's header cell.
    void setHeaderToolTip(int column, const QString& text);
    int rowAt(const QPoint& viewportPos) const; // 0 over no data row

Q_SIGNALS:
    void selectionMoved();                // the current row changed
    void enterPressed();                  // Enter / Return in the grid
    void deleteReleased();                // Delete key released
    void dataDoubleClicked();             // on a data row
    void mouseReleased(Qt::MouseButton button, int row, QPoint globalPos); // over the data area
    void headerReleased(Qt::MouseButton button, int column, QPoint globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void tellRowsShown();
    db::GridModel* m_model = nullptr;
    // A drag on a header edge widens a column; its release is no click on the header.
    bool m_resizing = false;
    QHash<int, QString> m_headerToolTips;
};

} // namespace ui
