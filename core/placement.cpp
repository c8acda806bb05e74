#include "core/placement.h"

namespace core {

namespace {
int overlap(const QRect& a, const QRect& b) {
    const QRect i = a.intersected(b);
    return i.isEmpty() ? 0 : i.width() * i.height();
}

int clampInto(int pos, int size, int low, int span) { return size >= span ? low : qBound(low, pos, low + span - size); }
} // namespace

QRect keptOnScreen(const QRect& outer, const QList<QRect>& screens) {
    if (screens.isEmpty())
        return outer;
    const QRect title(outer.left(), outer.top(), outer.width(), qMin(outer.height(), kTitleStrip));
    const int needed = qMin(outer.width(), kReachable);
    for (const QRect& s : screens) {
        const QRect i = title.intersected(s);
        // The whole strip in height: a title bar above the screen's top edge cannot be grabbed.
        if (!i.isEmpty() && i.width() >= needed && i.top() == title.top())
            return outer;
    }
    QRect best = screens.first();
    for (const QRect& s : screens)
        if (overlap(outer, s) > overlap(outer, best))
            best = s;
    QRect moved = outer;
    moved.moveTo(clampInto(outer.left(), outer.width(), best.left(), best.width()),
                 clampInto(outer.top(), outer.height(), best.top(), best.height()));
    return moved;
}

} // namespace core
