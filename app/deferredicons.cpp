// Style pictures kept out of the first paint: icons read when first drawn, a frame read without the image plugins.
#include "app/deferredicons.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>
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

// QPixmap's own spelling of a number in its cache keys: each byte in memory order, low digit first.
template <typename T>
QString cacheKeyHex(T value) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    QString out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof value; ++i) {
        out += QChar(kDigits[bytes[i] & 0xf]);
        out += QChar(kDigits[bytes[i] >> 4]);
    }
    return out;
}

} // namespace

QPixmap readGroupBoxFrame() {
    const QFileInfo file(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
    QImageReader reader(file.filePath(), "png");
    reader.setAutoDetectImageFormat(false);
    const QPixmap frame = QPixmap::fromImage(reader.read());
    if (frame.isNull())
        return frame;
    // The pixmap kind is 0, an ordinary pixmap.
    QPixmapCache::insert(QStringLiteral("qt_pixmap") + file.absoluteFilePath() +
                             cacheKeyHex(static_cast<uint>(file.lastModified().toSecsSinceEpoch())) +
                             cacheKeyHex(static_cast<quint64>(file.size())) + cacheKeyHex(0u),
                         frame);
    return frame;
}

void DeferredIconStyle::polish(QApplication* application) {
    QProxyStyle::polish(application);
    if (baseStyle()->name().compare(u"fusion", Qt::CaseInsensitive) == 0)
        readGroupBoxFrame();
}

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
