// Where a stored window place is kept and where it is brought back onto a screen; where a window opens beside
// its owner; how panes are arranged.
#include "core/placement.h"

#include <QRandomGenerator>
#include <QtTest/QTest>

namespace {
int hidden(const QRect& r, const QList<QRect>& areas) {
    int sum = 0;
    for (const QRect& a : areas)
        sum += r.intersected(a).width() * r.intersected(a).height();
    return sum;
}
} // namespace

class TstPlacement : public QObject {
    Q_OBJECT

    const QRect left{0, 0, 1280, 1024};
    const QRect right{1280, 0, 1920, 1080};

private Q_SLOTS:
    void reachablePlacesAreKept() {
        const QList<QRect> one{left};
        QCOMPARE(core::keptOnScreen(QRect(100, 50, 900, 600), one), QRect(100, 50, 900, 600));
        // Partly off the right edge, but enough of the title bar to grab it.
        QCOMPARE(core::keptOnScreen(QRect(1100, 500, 900, 600), one), QRect(1100, 500, 900, 600));
        // On the second screen of two.
        QCOMPARE(core::keptOnScreen(QRect(2000, 100, 900, 600), {left, right}), QRect(2000, 100, 900, 600));
        // Without any screen there is nothing to bring it to.
        QCOMPARE(core::keptOnScreen(QRect(-5000, 0, 10, 10), {}), QRect(-5000, 0, 10, 10));
    }

    void lostPlacesComeBack() {
        const QList<QRect> one{left};
        // Far off to the left and below.
        QCOMPARE(core::keptOnScreen(QRect(-20000, 16000, 900, 600), one), QRect(0, 424, 900, 600));
        // Only a sliver of the title bar on screen.
        QCOMPARE(core::keptOnScreen(QRect(1230, 10, 900, 600), one), QRect(380, 10, 900, 600));
        // Title bar above the top edge: it could not be grabbed.
        QCOMPARE(core::keptOnScreen(QRect(100, -10, 900, 600), one), QRect(100, 0, 900, 600));
        // Larger than the screen: its corner goes to the screen's corner.
        QCOMPARE(core::keptOnScreen(QRect(-3000, -3000, 2000, 1500), one), QRect(0, 0, 2000, 1500));
        // Into the screen it overlaps most.
        QCOMPARE(core::keptOnScreen(QRect(1500, -100, 900, 600), {left, right}), QRect(1500, 0, 900, 600));
        // Off both: the first screen.
        QCOMPARE(core::keptOnScreen(QRect(9000, 9000, 900, 600), {left, right}), QRect(380, 424, 900, 600));
    }

    // Small generated desktops, every place of the window tried by brute force where nothing beside fits.
    void besideTheOwnerOnGeneratedDesktops() {
        QRandomGenerator rng(21);
        int right = 0, below = 0, elsewhere = 0;
        for (int run = 0; run < 1500; ++run) {
            const QRect screen(rng.bounded(-40, 40), rng.bounded(-40, 40), rng.bounded(60, 200), rng.bounded(50, 160));
            const QRect owner(screen.left() + rng.bounded(-20, screen.width() - 10), screen.top() + rng.bounded(-10, screen.height() - 10),
                              rng.bounded(20, 150), rng.bounded(20, 120));
            // The two grids side by side below a strip of lists, as in the main window.
            const int top = owner.top() + owner.height() / 4;
            const QList<QRect> grids{QRect(owner.left(), top, owner.width() / 2 - 2, owner.bottom() - top),
                                     QRect(owner.center().x() + 2, top, owner.width() / 2 - 2, owner.bottom() - top)};
            const QSize preferred(rng.bounded(10, screen.width() + 1), rng.bounded(10, screen.height() + 1));
            const bool fixed = rng.bounded(2) == 0;
            const QSize minimum = fixed ? preferred : QSize(rng.bounded(5, preferred.width() + 1), rng.bounded(5, preferred.height() + 1));
            const QRect placed = core::placedBeside(owner, preferred, minimum, screen, grids);
            const QString where = QStringLiteral("run %1: screen %2,%3 %4x%5 owner %6,%7 %8x%9 -> %10,%11 %12x%13")
                                      .arg(run).arg(screen.x()).arg(screen.y()).arg(screen.width()).arg(screen.height())
                                      .arg(owner.x()).arg(owner.y()).arg(owner.width()).arg(owner.height())
                                      .arg(placed.x()).arg(placed.y()).arg(placed.width()).arg(placed.height());
            QVERIFY2(screen.contains(placed), qPrintable(where));
            QVERIFY2(placed.width() >= minimum.width() && placed.height() >= minimum.height(), qPrintable(where));
            QVERIFY2(placed.width() <= preferred.width() || placed.height() < preferred.height(), qPrintable(where));
            QVERIFY2(placed.height() <= preferred.height() || placed.width() < preferred.width(), qPrintable(where));
            if (fixed)
                QVERIFY2(placed.size() == preferred, qPrintable(where));
            if (screen.right() - owner.right() >= minimum.width()) {
                ++right;
                QVERIFY2(placed.left() == owner.right() + 1, qPrintable(where));
                // The whole preferred size when the room holds it.
                if (screen.right() - owner.right() >= preferred.width())
                    QVERIFY2(placed.size() == preferred, qPrintable(where));
            } else if (screen.bottom() - owner.bottom() >= minimum.height()) {
                ++below;
                QVERIFY2(placed.top() == owner.bottom() + 1, qPrintable(where));
            } else {
                ++elsewhere;
                int least = INT_MAX;
                for (int x = screen.left(); x + placed.width() <= screen.right() + 1; ++x)
                    for (int y = screen.top(); y + placed.height() <= screen.bottom() + 1; ++y)
                        least = qMin(least, hidden(QRect(QPoint(x, y), placed.size()), grids));
                QVERIFY2(hidden(placed, grids) == least, qPrintable(where + QStringLiteral(" hides %1, could %2").arg(hidden(placed, grids)).arg(least)));
            }
        }
        // Every rule had its cases.
        QVERIFY(right > 150 && below > 150 && elsewhere > 150);
    }

    void panesArrangedToTheShape() {
        const QSize chart(270, 190);
        // A strip right of the main window, one below it, a window as designed, too small for any.
        QCOMPARE(core::columnsFor(QSize(296, 960), 4, chart, 4.0 / 3), 1);
        QCOMPARE(core::columnsFor(QSize(1592, 215), 4, chart, 4.0 / 3), 4);
        QCOMPARE(core::columnsFor(QSize(992, 670), 4, chart, 4.0 / 3), 2);
        QCOMPARE(core::columnsFor(QSize(560, 1400), 4, chart, 4.0 / 3), 1);
    }
};

QTEST_GUILESS_MAIN(TstPlacement)
#include "tst_placement.moc"
