// A scroll bar drawn from a kept picture of itself.
#include "db/gridscrollbar.h"

#include <QDataStream>
#include <QGuiApplication>
#include <QIODevice>
#include <QPainter>
#include <QStyleOptionSlider>

namespace ui {

GridScrollBar::GridScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

void GridScrollBar::paintEvent(QPaintEvent* event) {
    // Hovered or pressed parts are known only to QScrollBar itself.
    if (underMouse() || isSliderDown() || QGuiApplication::mouseButtons() != Qt::NoButton) {
        m_picture = QPixmap();
        QScrollBar::paintEvent(event);
        return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    // A style whose bars fade in and out draws each moment differently.
    if (style()->styleHint(QStyle::SH_ScrollBar_Transient, &option, this)) {
        QScrollBar::paintEvent(event);
        return;
    }
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    // What a picture shows: the parts where the style puts them, not the numbers behind the slider.
    QByteArray of;
    {
        QDataStream out(&of, QIODevice::WriteOnly);
        out << option.rect << int(option.state) << int(option.direction) << int(option.orientation)
            << option.palette.cacheKey() << devicePixelRatio() << quintptr(style()) << option.upsideDown
            << (option.sliderValue == option.minimum) << (option.sliderValue == option.maximum)
            << (option.minimum == option.maximum);
        for (const QStyle::SubControl part : {QStyle::SC_ScrollBarSlider, QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine,
                                              QStyle::SC_ScrollBarGroove, QStyle::SC_ScrollBarAddPage, QStyle::SC_ScrollBarSubPage})
            out << style()->subControlRect(QStyle::CC_ScrollBar, &option, part, this);
    }
    if (m_picture.isNull() || of != m_pictureOf) {
        m_picture = QPixmap(size() * devicePixelRatio());
        m_picture.setDevicePixelRatio(devicePixelRatio());
        m_picture.fill(Qt::transparent);
        QPainter onPicture(&m_picture);
        style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &onPicture, this);
        m_pictureOf = std::move(of);
        ++m_picturesDrawn;
    }
    QPainter(this).drawPixmap(0, 0, m_picture);
}

void GridScrollBar::changeEvent(QEvent* event) {
    // A new style, palette or font may draw differently under the same description.
    m_picture = QPixmap();
    QScrollBar::changeEvent(event);
}

} // namespace ui
