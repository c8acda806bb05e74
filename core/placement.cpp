// Where a window goes: brought back onto a screen, placed beside its owner the first time, its panes arranged.
#include "core/placement.h"

#include <cmath>
#include <tuple>

namespace core {

namespace {
int overlap(const QRect& a, const QRect& b) {
    const QRect i = a.intersected(b);
    return i.isEmpty() ? 0 : i.width() * i.height();
}

int clampInto(int pos, int size, int low, int span) { return size >= span ? low : qBound(low, pos, low + span - size); }

QSize fitted(QSize preferred, QSize minimum, QSize room) {
    int w = qMin(preferred.width(), room.width());
    int h = qMin(preferred.height(), room.height());
    const double area = double(preferred.width()) * preferred.height();
    if (w < preferred.width())
        h = qMin(room.height(), qMax(h, int(area / qMax(w, 1))));
    else if (h < preferred.height())
        w = qMin(room.width(), qMax(w, int(area / qMax(h, 1))));
    return QSize(qMax(w, minimum.width()), qMax(h, minimum.height()));
}

int overlapWith(const QRect& r, const QList<QRect>& areas) {
    int sum = 0;
    for (const QRect& a : areas)
        sum += overlap(r, a);
    return sum;
}
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

QRect placedBeside(const QRect& owner, QSize preferred, QSize minimum, const QRect& screen, const QList<QRect>& keepClear) {
    minimum = minimum.boundedTo(preferred);
    const QRect right(owner.right() + 1, screen.top(), screen.right() - owner.right(), screen.height());
    if (right.width() >= minimum.width() && right.height() >= minimum.height()) {
        const QSize size = fitted(preferred, minimum, right.size());
        return QRect(QPoint(right.left(), clampInto(owner.top(), size.height(), right.top(), right.height())), size);
    }
    const QRect below(screen.left(), owner.bottom() + 1, screen.width(), screen.bottom() - owner.bottom());
    if (below.width() >= minimum.width() && below.height() >= minimum.height()) {
        const QSize size = fitted(preferred, minimum, below.size());
        return QRect(QPoint(clampInto(owner.left(), size.width(), below.left(), below.width()), below.top()), size);
    }
    // Nowhere beside it: the place that hides least of what the player works in, then of the owner. The area hidden
    // changes its slope only where an edge of the window meets an edge of such a rectangle, so one of those places
    // (or the screen's edges) is the best.
    const QSize size = fitted(preferred, minimum, screen.size());
    QList<int> xs{screen.left(), screen.right() + 1 - size.width()};
    QList<int> ys{screen.top(), screen.bottom() + 1 - size.height()};
    for (const QRect& k : keepClear + QList<QRect>{owner}) {
        xs << k.left() - size.width() << k.left() << k.right() + 1 - size.width() << k.right() + 1;
        ys << k.top() - size.height() << k.top() << k.bottom() + 1 - size.height() << k.bottom() + 1;
    }
    QRect best;
    std::tuple<int, int, qint64> bestScore{};
    for (int x : xs)
        for (int y : ys) {
            const QRect r(clampInto(x, size.width(), screen.left(), screen.width()),
                          clampInto(y, size.height(), screen.top(), screen.height()), size.width(), size.height());
            const QPoint d = r.topLeft() - QPoint(owner.right() + 1, owner.top());
            const std::tuple<int, int, qint64> score{overlapWith(r, keepClear), overlap(r, owner),
                                                     qint64(d.x()) * d.x() + qint64(d.y()) * d.y()};
            if (best.isNull() || score < bestScore) {
                best = r;
                bestScore = score;
            }
        }
    return best;
}

int columnsFor(QSize area, int count, QSize cellMinimum, double ratio) {
    int best = 1;
    double bestMiss = 0, bestShape = 0;
    for (int columns = 1; columns <= count; ++columns) {
        if (count % columns != 0)
            continue;
        const double w = double(area.width()) / columns;
        const double h = double(area.height()) / (count / columns);
        // How far the panes fall short of their minimum, and how far their shape is from the one wished for.
        const double miss = qMax(0.0, 1 - w / cellMinimum.width()) + qMax(0.0, 1 - h / cellMinimum.height());
        const double shape = std::abs(std::log(w / h / ratio));
        if (columns == 1 || miss < bestMiss || (miss == bestMiss && shape < bestShape)) {
            best = columns;
            bestMiss = miss;
            bestShape = shape;
        }
    }
    return best;
}

} // namespace core
