// Window frames: what they add, when they are there, placing a window by its outer edges, its normal place.
#include "core/windowframe.h"

#include "core/placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace ui {

namespace {

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
    sizeClient(placed.size() - (framedNow(window) ? frameExtra(window) : QSize()));
    if (!framedNow(window)) {
        QPointer<QWidget> guard(window);
        const QSize meant = window->size();
        whenFramed(window, [guard, placed, sizeClient, meant] {
            // A size set in the meantime is the newer wish.
            if (guard && guard->size() == meant)
                sizeClient(placed.size() - frameExtra(guard));
        });
    }
}

NormalPlace::NormalPlace(QWidget* window) : QObject(window), m_window(window) { window->installEventFilter(this); }

namespace {
bool inNormalState(const QWidget* w) {
    return !(w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}
} // namespace

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
