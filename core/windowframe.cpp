// Window frames: what they add, when they are there, placing a window by its outer edges, its normal place.
#include "core/windowframe.h"

#include "core/placement.h"
#include "core/settings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace ui {

namespace {

bool inNormalState(const QWidget* w) {
    return !(w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

bool framedNow(const QWidget* window) {
    return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

// Waits for the first exposure of a window's native window, then runs its task once.
class FramedWatcher : public QObject {
public:
    FramedWatcher(QWidget* window, std::function<void()> apply) : QObject(window), m_window(window), m_apply(std::move(apply)) {
        window->installEventFilter(this);
        if (window->windowHandle())
            window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        QWindow* handle = m_window->windowHandle();
        if (watched == m_window && event->type() == QEvent::Show && handle)
            handle->installEventFilter(this);
        if (handle && watched == handle && event->type() == QEvent::Expose && handle->isExposed() && !m_done) {
            m_done = true;
            m_apply();
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
    std::function<void()> m_apply;
    bool m_done = false;
};

QList<QRect> screenAreas() {
    QList<QRect> areas;
    const auto screens = QGuiApplication::screens();
    for (const QScreen* s : screens)
        areas << s->availableGeometry();
    return areas;
}

// What the window manager's frame added around each window the last time it was seen, kept for the
// next start. A window sized by it before it is mapped is not sized again once it is framed, which
// would cost a second layout and a paint at the first size (a fifth of the main window's start).
const QString kFrameSection = QStringLiteral("WindowFrame");

QHash<QString, QSize>& knownFrames() {
    static QHash<QString, QSize> known;
    return known;
}

// Anything beyond a plausible frame is a damaged entry or a passing state, not a frame.
bool plausibleFrame(QSize frame) { return frame.width() >= 0 && frame.height() >= 0 && frame.width() <= 200 && frame.height() <= 200; }

QSize expectedFrame(const QWidget* window) {
    QHash<QString, QSize>& known = knownFrames();
    const QString name = window->objectName();
    if (!known.contains(name)) {
        const QSize stored = name.isEmpty() ? QSize(0, 0) : core::openSettings(kFrameSection)->value(name, QSize(0, 0)).toSize();
        known.insert(name, plausibleFrame(stored) ? stored : QSize(0, 0));
    }
    return known.value(name);
}

void noteFrame(const QWidget* window, QSize extra) {
    // A maximised window's frame is not the one it is placed with.
    if (window->objectName().isEmpty() || !inNormalState(window) || !plausibleFrame(extra) || extra == expectedFrame(window))
        return;
    knownFrames().insert(window->objectName(), extra);
    core::openSettings(kFrameSection)->setValue(window->objectName(), extra);
}

} // namespace

QSize frameExtra(const QWidget* window) { return window->frameGeometry().size() - window->size(); }

void whenFramed(QWidget* window, std::function<void()> apply) {
    if (framedNow(window))
        apply();
    else
        new FramedWatcher(window, std::move(apply));
}

void placeOuter(QWidget* window, const QRect& outer, std::function<void(QSize client)> sizeClient) {
    if (!sizeClient)
        sizeClient = [window](QSize client) { window->resize(client); };
    const QRect placed = core::keptOnScreen(outer, screenAreas());
    window->move(placed.topLeft());
    if (framedNow(window)) {
        noteFrame(window, frameExtra(window));
        sizeClient(placed.size() - frameExtra(window));
        return;
    }
    sizeClient(placed.size() - expectedFrame(window));
    QPointer<QWidget> guard(window);
    const QSize meant = window->size();
    whenFramed(window, [guard, placed, sizeClient, meant] {
        if (!guard)
            return;
        noteFrame(guard, frameExtra(guard));
        // A size set in the meantime is the newer wish; the frame expected is mostly the frame there.
        if (guard->size() == meant)
            sizeClient(placed.size() - frameExtra(guard));
    });
}

NormalPlace::NormalPlace(QWidget* window) : QObject(window), m_window(window) { window->installEventFilter(this); }

void NormalPlace::restore(const QRect& outer, bool maximised) {
    placeOuter(m_window, outer);
    m_outer = core::keptOnScreen(outer, screenAreas());
    if (maximised) {
        m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
        // Its frame was not known when it was sized: the first un-maximising puts it where it was meant to be.
        m_backPending = 5;
    }
}

QRect NormalPlace::outer() const { return inNormalState(m_window) && m_window->isVisible() ? m_window->frameGeometry() : m_outer; }

bool NormalPlace::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        const QEvent::Type type = event->type();
        const bool normal = inNormalState(m_window) && m_window->isVisible();
        if (normal && m_backPending > 0 && (type == QEvent::WindowStateChange || type == QEvent::Move || type == QEvent::Resize)) {
            // Back from maximised: the frame's edges change after the state does, so the place is set again
            // until the outer edges are where they were meant to be (a few times at most).
            if (m_window->frameGeometry() == m_outer)
                m_backPending = 0;
            else if (!m_correcting) {
                m_correcting = true;
                --m_backPending;
                QTimer::singleShot(50, m_window, [this] {
                    m_correcting = false;
                    placeOuter(m_window, m_outer);
                });
            }
        } else if ((type == QEvent::Move || type == QEvent::Resize) && normal) {
            m_outer = m_window->frameGeometry();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
