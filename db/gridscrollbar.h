#pragma once

#include <QPixmap>
#include <QScrollBar>

namespace ui {

// A grid's scroll bar, drawn from a picture of itself while nothing that shows has changed. Qt lays
// out a scroll area's scroll bars on every change of its rows and raises one above the other, so both
// are painted again on each letter typed into the name box, although they mostly look the same.
// While the mouse is over it or a button is held, or under a style whose bars fade, it is drawn as
// QScrollBar draws itself.
class GridScrollBar : public QScrollBar {
public:
    explicit GridScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // How many pictures it has drawn: fewer than its paints when the picture is reused.
    int picturesDrawn() const { return m_picturesDrawn; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPixmap m_picture;
    QByteArray m_pictureOf;
    int m_picturesDrawn = 0;
};

} // namespace ui
