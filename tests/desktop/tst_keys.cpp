// Keys and header drags as a player uses them: real key presses and mouse drags through the X server
// (xdotool) on Xvfb under openbox.
#include "app/frminfo.h"
#include "app/frmmain.h"
#include "core/settings.h"
#include "db/flexgrid.h"
#include "db/queries.h"
#include "tests/helpers/scriptedprompter.h"
#include "tests/helpers/testprogramdir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <QtTest/QTest>

namespace {

constexpr int kWait = 20000;

void xdotool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qFatal("xdotool %s failed", qPrintable(args.join(u' ')));
}

void pressKeys(const QStringList& keys) {
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("120")} + keys);
}

void typeText(const QString& text) { xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("120"), text}); }

struct Program {
    testing::TestProgramDir dir;
    testing::ScriptedPrompter prompter;
    std::unique_ptr<ui::frmMain> window;

    void start() {
        window = std::make_unique<ui::frmMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), kWait));
        window->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window->isActiveWindow(), kWait);
    }
    QAction* entry(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    int deckRows() const { return window->flxDeck->Rows() - 1; }
};

} // namespace

class TstKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyShortcutReachesItsEntryAndACardIsFoundAndAddedWithoutTheMouse() {
        Program p;
        p.start();
        // The captions stay as they are; the keys stand beside them.
        const QList<std::tuple<const char*, QString, QKeySequence>> expected = {
            {"mnuNeuesDeck", "Neues Deck", QKeySequence(QStringLiteral("Ctrl+N"))},
            {"mnuLaden", "Deck Laden", QKeySequence(QStringLiteral("Ctrl+O"))},
            {"mnuSpeichern", "Deck Speichern", QKeySequence(QStringLiteral("Ctrl+S"))},
            {"mnuBeenden", "Beenden", QKeySequence(QStringLiteral("Ctrl+Q"))},
            {"mnuUeber", "Über den Deck-Builder", QKeySequence(QStringLiteral("F1"))}};
        for (const auto& [name, caption, keys] : expected) {
            QVERIFY2(p.entry(name), name);
            QCOMPARE(p.entry(name)->text(), caption);
            QCOMPARE(p.entry(name)->shortcut(), keys);
        }

        pressKeys({QStringLiteral("ctrl+l")});
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), p.window->cmbQuickFilter, kWait);
        pressKeys({QStringLiteral("ctrl+f")});
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), p.window->txtQuickNameFilter, kWait);

        // F1 opens the about box over the window; Escape closes it.
        QTimer player;
        player.setInterval(200);
        bool about = false;
        connect(&player, &QTimer::timeout, [&] {
            auto* box = qobject_cast<ui::frmInfo*>(QApplication::activeModalWidget());
            if (box && !about && box->isActiveWindow()) {
                about = true;
                pressKeys({QStringLiteral("Escape")});
            }
        });
        player.start();
        pressKeys({QStringLiteral("F1")});
        QTRY_VERIFY_WITH_TIMEOUT(about, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), kWait);
        player.stop();

        // A card found by name and added with Enter from the name box, without the mouse.
        p.window->cmbLeader->setCurrentIndex(0);
        p.window->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(p.window->isActiveWindow(), kWait);
        pressKeys({QStringLiteral("ctrl+f")});
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), p.window->txtQuickNameFilter, kWait);
        typeText(QStringLiteral("Hammerschlag"));
        QTRY_COMPARE_WITH_TIMEOUT(p.window->txtQuickNameFilter->text(), QStringLiteral("Hammerschlag"), kWait);
        ui::FlexGrid* pool = p.window->flxPool;
        QVERIFY(pool->Rows() > 2);
        const QString first = pool->TextMatrix(1, 1);
        const QString second = pool->TextMatrix(2, 1);
        pressKeys({QStringLiteral("Return")});
        QTRY_COMPARE_WITH_TIMEOUT(p.deckRows(), 1, kWait);
        QCOMPARE(p.window->flxDeck->TextMatrix(1, 1), first);
        QVERIFY(first.contains(QStringLiteral("Hammerschlag")));
        // Enter moved on to the next card, as in the pool itself; the keyboard stays in the name box.
        QCOMPARE(QApplication::focusWidget(), p.window->txtQuickNameFilter);
        pressKeys({QStringLiteral("Return")});
        QTRY_COMPARE_WITH_TIMEOUT(p.deckRows(), 2, kWait);
        const QStringList added{p.window->flxDeck->TextMatrix(1, 1), p.window->flxDeck->TextMatrix(2, 1)};
        QVERIFY(added.contains(first) && added.contains(second));
        // Down goes into the pool at its first row.
        pressKeys({QStringLiteral("Down")});
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), pool, kWait);
        QCOMPARE(pool->Row(), 1);

        // Ctrl+S saves, Ctrl+N starts a new deck, Ctrl+O loads the saved one.
        const QString saved = p.dir.filePath(QStringLiteral("Tasten.drd"));
        p.prompter.choose(saved);
        pressKeys({QStringLiteral("ctrl+s")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(saved), kWait);
        p.prompter.answer(core::Answer::Yes);
        pressKeys({QStringLiteral("ctrl+n")});
        QTRY_COMPARE_WITH_TIMEOUT(p.deckRows(), 0, kWait);
        p.prompter.answer(core::Answer::Yes);
        p.prompter.choose(saved);
        pressKeys({QStringLiteral("ctrl+o")});
        QTRY_COMPARE_WITH_TIMEOUT(p.deckRows(), 2, kWait);

        // Ctrl+Q ends the program, asking first because the deck holds cards.
        const size_t before = p.prompter.messages.size();
        p.prompter.answer(core::Answer::Yes);
        p.window->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(p.window->isActiveWindow(), kWait);
        pressKeys({QStringLiteral("ctrl+q")});
        QTRY_VERIFY_WITH_TIMEOUT(!p.window->isVisible(), kWait);
        QVERIFY(p.prompter.messages.size() > before);
        QCOMPARE(p.prompter.messages.back().title, QStringLiteral("Dravenna Deck-Builder beenden"));
    }

    void aHeaderEdgeDraggedWidensTheColumnWithoutSortingAndTheWidthIsKept() {
        Program p;
        p.start();
        ui::FlexGrid* pool = p.window->flxPool;
        QHeaderView* header = pool->horizontalHeader();
        const int before = header->sectionSize(1);
        // The edge between "Name" and "Kartenart", dragged 80 pixels to the right.
        const QPoint edge = header->viewport()->mapToGlobal(
            QPoint(header->sectionViewportPosition(1) + before - 1, header->height() / 2));
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(edge.x()), QString::number(edge.y()),
                 QStringLiteral("mousedown"), QStringLiteral("1")});
        for (int step = 1; step <= 4; ++step)
            xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(edge.x() + 20 * step),
                     QString::number(edge.y())});
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTRY_VERIFY_WITH_TIMEOUT(header->sectionSize(1) >= before + 70, kWait);
        QTest::qWait(300);
        QCOMPARE(p.window->ORDER, db::kStartOrder);
        const int widened = header->sectionSize(1);

        // Kept for the next start; the deck grid keeps its own widths.
        QVERIFY(p.window->close());
        p.window.reset();
        p.start();
        QCOMPARE(p.window->flxPool->horizontalHeader()->sectionSize(1), widened);
        QCOMPARE(p.window->flxDeck->horizontalHeader()->sectionSize(1), before);
    }
};

QTEST_MAIN(TstKeys)
#include "tst_keys.moc"
