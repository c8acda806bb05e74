// Pool and deck grids driven like a player: double click, Enter, Delete, header clicks, right clicks.
#include "db/database.h"
#include "db/jetfunctions.h"
#include "deck/deckmarking.h"
#include "filter/frmfilter.h"
#include "filter/frmsortieren.h"
#include "filter/frmspezfilter.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QtTest/QTest>

using testing::MainWindowFixture;

class TstGrids : public QObject {
    Q_OBJECT

    static quint32 poolColor(MainWindowFixture& f, int row) { return f.window->dtaPool.model().rowColor(row - 1); }
    static void rightClickDeckRow(MainWindowFixture& f, int row) {
        ui::FlexGrid* grid = f.window->flxDeck;
        const QRect rect = grid->visualRect(grid->gridModel()->index(row - 1, 1));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, rect.center());
    }

    // Scrolls both grids well down, so that showing the first rows is something a re-query must do.
    static void scrollAway(MainWindowFixture& f) {
        f.window->flxPool->setTopRow(120);
        f.window->flxDeck->setTopRow(100);
        QVERIFY(f.window->flxPool->TopRow() > 100);
        QVERIFY2(f.window->flxDeck->TopRow() > 80, qPrintable(QStringLiteral("deck rows %1, top %2").arg(f.window->flxDeck->Rows()).arg(f.window->flxDeck->TopRow())));
    }

private Q_SLOTS:
    void everyRequeryShowsTheFirstRows() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        db::Database::OpenDatabase(f.dir.databasePath())->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN"));
        testing::writeFile(f.dir.filePath(QStringLiteral("Alle.drfilter")), "WHERE MONDE >= 0 OR MONDE IS NULL \r\n");
        f.window->funcSetQuickFilterCombo();
        ui::frmMain* w = f.window.get();
        const auto both = [&](const char* path) {
            QVERIFY2(w->flxPool->TopRow() == 1, path);
            QVERIFY2(w->flxDeck->TopRow() == 1, path);
        };
        const auto pool = [&](const char* path) { QVERIFY2(w->flxPool->TopRow() == 1, path); };

        f.clickPoolHeader(1); // fills the deck grid with every card
        scrollAway(f);
        f.clickPoolHeader(1);
        both("header sort");
        scrollAway(f);
        QVERIFY(f.withDialog<filter::frmSortieren>("mnuSortieren", [](filter::frmSortieren& d) { d.cmdOK->click(); }));
        both("sort dialog");
        scrollAway(f);
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [](filter::frmFilter& d) { d.cmdOK->click(); }));
        pool("filter dialog");
        scrollAway(f);
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [](filter::frmSpezFilter& d) { d.cmdOK->click(); }));
        pool("special filter");
        scrollAway(f);
        const int entry = w->cmbQuickFilter->findText(QStringLiteral("Alle"));
        QVERIFY(entry > 0);
        w->cmbQuickFilter->setCurrentIndex(entry);
        Q_EMIT w->cmbQuickFilter->activated(entry);
        QVERIFY(f.poolRows() > 200);
        pool("quick filter");
        scrollAway(f);
        f.trigger("mnuKeinFilter");
        pool("no filter");
        scrollAway(f);
        QTest::keyClicks(w->txtQuickNameFilter, QStringLiteral("e"));
        QVERIFY(f.poolRows() > 130);
        pool("name filter");
        w->txtQuickNameFilter->clear();
        scrollAway(f);
        f.clickPoolHeader(4, Qt::RightButton);
        w->mnuQFilter[0]->trigger();
        w->mnuQuickFilter->hide();
        pool("header menu value");

        // Adding a card keeps the deck where the player was looking.
        f.trigger("mnuKeinFilter");
        db::Database::OpenDatabase(f.dir.databasePath())->Execute(QStringLiteral("DELETE * FROM DECK WHERE NUMMER = 'SIVAR 06'"));
        scrollAway(f);
        const int deckTop = w->flxDeck->TopRow();
        f.addByNumber({"SIVAR 06"});
        QCOMPARE(w->flxDeck->TopRow(), deckTop);
    }

    void deckFromTheCommandLineLeavesThePoolAtItsTop() {
        MainWindowFixture f;
        const QString path = f.dir.filePath(QStringLiteral("start.drd"));
        testing::writeFile(path, "ORVANE 00\r\n\r\nORVANE 05\r\nUMBREL 10\r\n");
        f.start(QLatin1Char('"') + path + QLatin1Char('"'));
        QCOMPARE(f.deckRows(), 2);
        QCOMPARE(f.window->flxPool->TopRow(), 1);
        QVERIFY(f.window->flxPool->Rows() > 100);
    }

    void addingRequiresALeader() {
        MainWindowFixture f;
        f.start();
        f.doubleClickPoolRow(1);
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        QCOMPARE(f.prompter.messages[0].text,
                 QStringLiteral("Ein Deck kann nur erstellt werden, wenn auch ein Anführer ausgewählt wurde."));
        QCOMPARE(f.prompter.messages[0].title, QStringLiteral("Kein Anführer ausgewählt"));
        QCOMPARE(f.prompter.messages[0].icon, core::Icon::Information);
        QCOMPARE(f.deckCountInDatabase(), 0);
    }

    void addingTwiceKeepsOneCopy() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        const int row = f.poolRowOf(QStringLiteral("D'Arvens Schwur"));
        QVERIFY(row > 0);
        f.doubleClickPoolRow(row);
        QCOMPARE(f.deckNames(), QStringList{QStringLiteral("D'Arvens Schwur")});
        QCOMPARE(poolColor(f, row), deck::kJustAddedGrey);
        QCOMPARE(f.window->flxPool->Row(), row + 1); // the selection moved on
        QVERIFY(f.window->lblAnzDeck->text() == QStringLiteral("Anzahl Karten: 1"));
        f.doubleClickPoolRow(row);
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Die Karte ist bereits dem Deck hinzugefügt worden!\r\n\r\n"
                                "Hinweis: Jede Karte darf nur EINMAL in einem Deck vorkommen."));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Karte hinzufügen"));
        QCOMPARE(f.deckCountInDatabase(), 1);
        // The case of the name does not make it another card.
        QCOMPARE(f.viewer.last().first, QStringLiteral("D'Arvens Schwur"));
    }

    void enterAddsConsecutiveCardsAndStopsOnTheLastRow() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        ui::FlexGrid* pool = f.window->flxPool;
        pool->setFocus();
        pool->setRow(pool->Rows() - 3);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(pool, Qt::Key_Return);
        QCOMPARE(f.deckRows(), 3);
        QCOMPARE(pool->Row(), pool->Rows() - 1);
        QTest::keyClick(pool, Qt::Key_Return);
        QCOMPARE(f.deckRows(), 3);
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Karte hinzufügen"));
    }

    void deletingRowsMovesTheSelection() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        for (int r = 1; r <= 3; ++r)
            f.doubleClickPoolRow(r);
        ui::FlexGrid* deckGrid = f.window->flxDeck;
        QCOMPARE(f.deckRows(), 3);
        const QString second = deckGrid->TextMatrix(2, 1);
        const QString third = deckGrid->TextMatrix(3, 1);
        // The last row: the new last row is selected.
        deckGrid->setFocus();
        deckGrid->setRow(3);
        QTest::keyClick(deckGrid, Qt::Key_Delete);
        QCOMPARE(f.deckRows(), 2);
        QVERIFY(!f.deckNames().contains(third));
        QCOMPARE(deckGrid->Row(), 2);
        QCOMPARE(poolColor(f, f.poolRowOf(third)), deck::kBlack);
        // A middle row by the context menu: the following card takes its place.
        rightClickDeckRow(f, 1);
        QVERIFY(f.window->mnuDeck->isVisible());
        f.window->mnuDeck->actions().first()->trigger();
        f.window->mnuDeck->hide();
        QCOMPARE(f.deckNames(), QStringList{second});
        QCOMPARE(deckGrid->Row(), 1);
        // The only row.
        QTest::keyClick(deckGrid, Qt::Key_Delete);
        QCOMPARE(f.deckRows(), 0);
        QCOMPARE(deckGrid->Rows(), 1);
        QCOMPARE(f.window->lblAnzDeck->text(), QStringLiteral("Anzahl Karten: 0"));
        // Delete on an empty deck and a right click there change nothing.
        QTest::keyClick(deckGrid, Qt::Key_Delete);
        QTest::mouseClick(deckGrid->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(!f.window->mnuDeck->isVisible());
        QCOMPARE(f.deckCountInDatabase(), 0);
    }

    void headerClicksSortPoolAndDeck() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.doubleClickPoolRow(1);
        f.doubleClickPoolRow(5);
        const QStringList fives = {"ORDER BY STFEUER ASC, NAME ASC", "ORDER BY STERDE ASC, NAME ASC",
                                   "ORDER BY STFEUER DESC, NAME DESC", "ORDER BY STERDE DESC, NAME DESC",
                                   "ORDER BY STFEUER ASC, NAME ASC"};
        for (const QString& expected : fives) {
            f.clickPoolHeader(3);
            QCOMPARE(f.window->ORDER, expected);
        }
        f.clickPoolHeader(1);
        QCOMPARE(f.window->ORDER, QStringLiteral("ORDER BY NAME ASC"));
        QCOMPARE(f.window->dtaDeck.RecordSource, f.window->SQLDECK + QStringLiteral("ORDER BY NAME ASC"));
        f.clickPoolHeader(1);
        QCOMPARE(f.window->ORDER, QStringLiteral("ORDER BY NAME DESC"));
        QStringList deckNames = f.deckNames();
        QVERIFY(db::jetCompare(deckNames[0], deckNames[1]) > 0);
        QVERIFY(db::jetCompare(f.window->flxPool->TextMatrix(1, 1), f.window->flxPool->TextMatrix(2, 1)) > 0);
        // "Set" re-runs both without changing the order; the marking pass greys the deck's cards.
        f.clickPoolHeader(8);
        QCOMPARE(f.window->ORDER, QStringLiteral("ORDER BY NAME DESC"));
        int grey = 0;
        for (int r = 1; r < f.window->flxPool->Rows(); ++r) {
            const bool inDeck = deckNames.contains(f.window->flxPool->TextMatrix(r, 1));
            QCOMPARE(poolColor(f, r), inDeck ? deck::kInDeckGrey : deck::kBlack);
            grey += inDeck;
        }
        QCOMPARE(grey, 2);
        // The re-sorted pool is shown from its top; the player is on that row, the card window shows its card and
        // the arrow keys move on from there.
        QCOMPARE(f.window->flxPool->TopRow(), 1);
        QCOMPARE(f.window->flxPool->Row(), 1);
        QCOMPARE(f.viewer.last().first, f.window->flxPool->TextMatrix(1, 1));
        QTest::keyClick(f.window->flxPool, Qt::Key_Down);
        QCOMPARE(f.window->flxPool->Row(), 2);
        QCOMPARE(f.viewer.last().first, f.window->flxPool->TextMatrix(2, 1));
    }

    void rightClickOnHeadersOffersTheColumnValues() {
        MainWindowFixture f;
        f.start();
        const QString before = f.window->ORDER;
        f.clickPoolHeader(4, Qt::RightButton);
        QVERIFY(f.window->bPoolRightButton);
        QCOMPARE(f.window->mnuQuickFilter->title(), QStringLiteral("MONDE"));
        QStringList shown;
        for (QAction* a : f.window->mnuQFilter)
            if (a->isVisible())
                shown << a->text();
        QCOMPARE(shown, (QStringList{"0", "1", "2", "3", "4", "5"}));
        QCOMPARE(f.window->ORDER, before);
        f.window->mnuQFilter[2]->trigger();
        f.window->mnuQuickFilter->hide();
        QCOMPARE(f.window->WHERE, QStringLiteral("WHERE CSTR(MONDE) = '2' "));
        for (int r = 1; r < f.window->flxPool->Rows(); ++r)
            QCOMPARE(f.window->flxPool->TextMatrix(r, 4), QStringLiteral("2"));
        QCOMPARE(f.window->lblAnzPool->text(), QStringLiteral("Anzahl Karten: %1").arg(f.poolRows()));

        f.clickPoolHeader(0, Qt::RightButton);
        QCOMPARE(f.window->mnuQuickFilter->title(), QStringLiteral("FRAKTION"));
        int visible = 0;
        for (QAction* a : f.window->mnuQFilter)
            visible += a->isVisible();
        QCOMPARE(visible, 8);
        f.window->mnuQKeinFilter->trigger();
        f.window->mnuQuickFilter->hide();
        QCOMPARE(f.window->WHERE, QString());
        QCOMPARE(f.poolRows(), 292);
        // Column 1 has no menu.
        f.clickPoolHeader(1, Qt::RightButton);
        QVERIFY(!f.window->mnuQuickFilter->isVisible());
    }

    void atMostTenValuesAreOffered() {
        MainWindowFixture f;
        {
            auto conn = db::Database::OpenDatabase(f.dir.databasePath());
            for (int m = 10; m < 20; ++m)
                conn->Execute(QStringLiteral("INSERT INTO KARTEN (NAME, FRAKTION, NUMMER, MONDE) VALUES ('Extra %1', 'Orvane', 'X %1', %1)").arg(m));
        }
        f.start();
        f.clickPoolHeader(4, Qt::RightButton);
        int visible = 0;
        for (QAction* a : f.window->mnuQFilter)
            visible += a->isVisible();
        QCOMPARE(visible, 10);
        QCOMPARE(f.window->mnuQFilter[9]->text(), QStringLiteral("13")); // 0 to 5, then 10 to 13
        f.window->mnuQuickFilter->hide();
    }

    void removingAFilteredOutCardLeavesThePoolAlone() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        const int row = f.poolRowOf(QStringLiteral("Nebelkrähe"));
        f.doubleClickPoolRow(row);
        f.clickPoolHeader(0, Qt::RightButton);
        f.window->mnuQFilter[7]->trigger(); // Umbrel
        f.window->mnuQuickFilter->hide();
        QVERIFY(f.poolRowOf(QStringLiteral("Nebelkrähe")) == 0);
        f.window->flxPool->setRow(3);
        std::vector<quint32> before;
        for (int r = 1; r < f.window->flxPool->Rows(); ++r)
            before.push_back(poolColor(f, r));
        f.window->flxDeck->setFocus();
        f.window->flxDeck->setRow(1);
        QTest::keyClick(f.window->flxDeck, Qt::Key_Delete);
        QCOMPARE(f.deckRows(), 0);
        QCOMPARE(f.window->flxPool->Row(), 3);
        for (int r = 1; r < f.window->flxPool->Rows(); ++r)
            QCOMPARE(poolColor(f, r), before[static_cast<size_t>(r - 1)]);
    }

    // Each letter in the name box asks the card window once, for the card now on top, where the player is.
    void aKeystrokeAsksForOneCard() {
        MainWindowFixture f;
        f.start();
        ui::FlexGrid* pool = f.window->flxPool;
        for (const QString& letters : {u"e"_qs, u"er"_qs, u"e"_qs, QString()}) {
            const qsizetype asked = f.viewer.shown.size();
            f.window->txtQuickNameFilter->setText(letters);
            QCoreApplication::processEvents();
            QCOMPARE(f.viewer.shown.size(), asked + 1);
            QCOMPARE(f.viewer.last().first, pool->TextMatrix(1, 1));
            QCOMPARE(pool->Row(), 1);
        }
    }

    void selectionAsksForTheCard() {
        MainWindowFixture f;
        f.start();
        f.window->flxPool->setRow(4);
        QCOMPARE(f.viewer.last(), (QPair<QString, QString>{f.window->flxPool->TextMatrix(4, 1), QString()}));
        f.window->flxPool->setFocus();
        QTest::keyClick(f.window->flxPool, Qt::Key_Down);
        QCOMPARE(f.window->flxPool->Row(), 5);
        QCOMPARE(f.viewer.last().first, f.window->flxPool->TextMatrix(5, 1));
        QCOMPARE(f.window->flxPool->selectionModel()->selectedRows().size(), 1);
    }
};

QTEST_MAIN(TstGrids)
#include "tst_grids.moc"
