#pragma once

#include <QList>
#include <QRect>

namespace core {

// A window's outer rectangle (frame included), moved onto a screen when the player could not reach it there:
// unless at least a strip of its title bar (kReachable wide, or the whole width when narrower) lies on one of the
// screens, it is moved into the screen it overlaps most (the first one when none), as far as it fits.
QRect keptOnScreen(const QRect& outer, const QList<QRect>& screens);

inline constexpr int kReachable = 100;
inline constexpr int kTitleStrip = 20;

} // namespace core
