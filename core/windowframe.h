#pragma once

#include <QRect>
#include <QWidget>
#include <functional>

namespace ui {

// What the window manager's frame adds around a window's client area; nothing before it has framed the window.
QSize frameExtra(const QWidget* window);

// Runs apply once the window is mapped and framed: at once when it already is, else when it first appears.
void whenFramed(QWidget* window, std::function<void()> apply);

// Moves a window's frame to outer's corner, brought onto a screen when it would lie off every screen, and sizes its
// client area so that the frame gets outer's size; sizeClient (default: resize) does the sizing. Until the window
// manager has framed the window the frame's own size is not known: the client is sized for the frame seen last
// (kept in the settings), and sized again once the frame is there when it differs.
void placeOuter(QWidget* window, const QRect& outer, std::function<void(QSize client)> sizeClient = {});

// A window's normal place: its outer rectangle as it was while it was neither maximised, minimised nor full
// screen. That is the place kept for a maximised window, and the one it goes back to.
class NormalPlace : public QObject {
public:
    explicit NormalPlace(QWidget* window);
    // Puts the window at outer (placeOuter), maximised when asked; un-maximised, it comes back to outer.
    void restore(const QRect& outer, bool maximised);
    QRect outer() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QRect m_outer;
    int m_backPending = 0;
    bool m_correcting = false;
};

} // namespace ui
