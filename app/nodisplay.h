#pragma once

#include <QString>

namespace ui {

// Held while QApplication is made. Qt ends the process with a fatal message in English when no
// platform, that is no display, can be reached: that becomes one German line and exit 1. What Qt
// said on the way is passed on once the application stands.
class NoDisplayGuard {
public:
    NoDisplayGuard();
    ~NoDisplayGuard();
    NoDisplayGuard(const NoDisplayGuard&) = delete;
    NoDisplayGuard& operator=(const NoDisplayGuard&) = delete;
};

// "Dravenna Deck-Builder: kein Bildschirm erreichbar (DISPLAY …)."
QString noDisplayLine();

} // namespace ui
