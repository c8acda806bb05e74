#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <utility>
#include <chrono>
#include <cstdio>
#include <functional>

namespace ui {

// For the start-up benchmark (bench/startup.py): with DRAVENNA_FIRST_PAINT set in the environment,
// prints "first-paint" and the monotonic clock in nanoseconds once the watched widget's first paint
// has been flushed, then ends the event loop (no exit steps run).
class FirstPaintReport : public QObject {
public:
    static void installIfAsked(QObject* watched) {
        if (qEnvironmentVariableIsSet("DRAVENNA_FIRST_PAINT"))
            watched->installEventFilter(new FirstPaintReport(watched));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Runs after this paint has reached the window system.
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("first-paint %lld\n",
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    explicit FirstPaintReport(QObject* parent) : QObject(parent) {}
    bool m_seen = false;
};

// Runs then once the watched widget's first paint has reached the window system: what the first
// picture of a window does not show waits for it.
class AfterFirstPaint : public QObject {
public:
    static void run(QWidget* watched, std::function<void()> then) {
        watched->installEventFilter(new AfterFirstPaint(watched, std::move(then)));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_then) {
            QTimer::singleShot(0, parent(), std::exchange(m_then, nullptr));
            deleteLater();
        }
        return false;
    }

private:
    AfterFirstPaint(QWidget* watched, std::function<void()> then) : QObject(watched), m_then(std::move(then)) {}
    std::function<void()> m_then;
};

} // namespace ui
