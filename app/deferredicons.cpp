// Standard icons that are read when first drawn.
#include "app/deferredicons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace ui {

namespace {

// Stands for an icon until something asks for its pixels or sizes.
class DeferredIconEngine : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> read) : m_state(std::make_shared<State>()) {
        m_state->read = std::move(read);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override { return icon().pixmap(size, mode, state); }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override { return icon().actualSize(size, mode, state); }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override { return icon().availableSizes(mode, state); }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    struct State {
        std::function<QIcon()> read;
        QIcon icon;
    };
    // Copies of the icon share one reading.
    const QIcon& icon() {
        if (m_state->read)
            m_state->icon = std::exchange(m_state->read, nullptr)();
        return m_state->icon;
    }
    std::shared_ptr<State> m_state;
};

} // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // The widget decides the arrow's direction. Either may be gone by the time the icon is drawn.
    const QPointer<const QWidget> asker(widget);
    const QPointer<const QStyle> base(baseStyle());
    return QIcon(new DeferredIconEngine([icon, asker, base] {
        return (base ? base.data() : QApplication::style())->standardIcon(icon, nullptr, asker.data());
    }));
}

} // namespace ui
