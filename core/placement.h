#pragma once

#include <QList>
#include <QRect>

namespace core {

// A window's outer rectangle (frame included), moved onto a screen when the player could not reach it there:
// unless at least a strip of its title bar (kReachable wide, or the whole width when narrower) lies on one of the
// screens, it is moved into the screen it overlaps most (the first one when none), as far as it fits.
QRect keptOnScreen(const QRect& outer, const QList<QRect>& screens);

// Where a window opens for the first time beside its owner (outer rectangles, frame included): right of the owner
// when the screen has room there for the window's minimum, else below it, else where it covers the least of
// keepClear (then of the owner). Shrunk to the room, it keeps as much of its preferred area as the room allows, in
// the other direction; a window whose minimum is its preferred size keeps that size.
QRect placedBeside(const QRect& owner, QSize preferred, QSize minimum, const QRect& screen, const QList<QRect>& keepClear);

// How many columns `count` panes of at least cellMinimum get in area: of the arrangements whose panes all fit, the
// one whose panes come nearest the shape `ratio` (width to height); when none fits, the one that comes nearest to
// fitting.
int columnsFor(QSize area, int count, QSize cellMinimum, double ratio);

inline constexpr int kReachable = 100;
inline constexpr int kTitleStrip = 20;

} // namespace core
