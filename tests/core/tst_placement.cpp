// Where a stored window place is kept and where it is brought back onto a screen.
#include "core/placement.h"

#include <QtTest/QTest>

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
};

QTEST_GUILESS_MAIN(TstPlacement)
#include "tst_placement.moc"
