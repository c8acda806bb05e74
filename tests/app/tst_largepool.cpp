// The main window on the shipped catalogue and on one grown to 10,000 cards behaves the same:
// the rows and their texts, the count, the grey marks and where the grids stand after each step.
#include "db/database.h"
#include "deck/deckmarking.h"
#include "tests/helpers/generatedcatalogue.h"
#include "tests/helpers/mainwindowfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QUndoStack>
#include <QtTest/QTest>

using testing::MainWindowFixture;

class TstLargePool : public QObject {
    Q_OBJECT

    // The pool grid shows exactly the rows of its record source text, run as a whole.
    static void poolShowsTheWholeQuery(MainWindowFixture& f) {
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        const db::Recordset all = conn->OpenRecordset(f.window->dtaPool.RecordSource);
        ui::FlexGrid* pool = f.window->flxPool;
        QCOMPARE(pool->Rows() - 1, all.RecordCount());
        for (int r = 1; r < pool->Rows(); ++r)
            for (int c = 0; c < 9; ++c)
                QCOMPARE(pool->TextMatrix(r, c), db::cellText(all.rows()[static_cast<size_t>(r - 1)][static_cast<size_t>(c)]));
        QCOMPARE(f.window->lblAnzPool->text(), QStringLiteral("Anzahl Karten: %1").arg(all.RecordCount()));
    }

    // Grey RGB(180) exactly where the row's number is one of the deck's, apart from the given rows.
    static void greyExactlyForDeckCards(MainWindowFixture& f, const QHash<int, quint32>& except = {}) {
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        const QSet<QString> inDeck = deck::deckNumbers(*conn);
        QVERIFY(!inDeck.isEmpty());
        const db::GridModel& model = f.window->dtaPool.model();
        int grey = 0;
        for (int r = 0; r < model.rowCount(); ++r) {
            const quint32 expected = except.contains(r + 1) ? except.value(r + 1)
                                     : inDeck.contains(model.cell(r, 7).toCaseFolded()) ? deck::kInDeckGrey
                                                                                         : deck::kBlack;
            QCOMPARE(model.rowColor(r), expected);
            grey += model.rowColor(r) == deck::kInDeckGrey;
        }
        QVERIFY(grey > 0);
    }

private Q_SLOTS:
    void sameBehaviourAtAnySize_data() {
        QTest::addColumn<int>("generated");
        QTest::newRow("shipped catalogue") << 0;
        QTest::newRow("10000 more cards") << 10000;
    }

    void sameBehaviourAtAnySize() {
        QFETCH(int, generated);
        MainWindowFixture f;
        testing::growCatalogue(f.dir.databasePath(), generated);
        f.start();
        ui::frmMain& w = *f.window;
        ui::FlexGrid* pool = w.flxPool;
        ui::FlexGrid* deckGrid = w.flxDeck;
        QVERIFY(w.dtaPool.model().rowsOnDemand());
        QCOMPARE(w.flxPool->Rows() - 1, 292 + generated);
        poolShowsTheWholeQuery(f);
        // No pass has run yet: every row is black.
        for (int r = 0; r < w.dtaPool.model().rowCount(); r += 97)
            QCOMPARE(w.dtaPool.model().rowColor(r), deck::kBlack);

        // The standard deck fills the deck grid beyond one screen; the pass greys its cards.
        f.chooseLeader(QStringLiteral("Harald"));
        pool->setRow(3);
        QTest::mouseClick(w.cmdStandard, Qt::LeftButton);
        const int deckCards = f.deckRows();
        QCOMPARE(deckCards, f.deckCountInDatabase());
        QVERIFY(deckCards > 30);
        greyExactlyForDeckCards(f);
        // The player stays on the row they were on; so does an undo.
        QCOMPARE(pool->Row(), 3);
        w.undoStack()->undo();
        QCOMPARE(f.deckRows(), 0);
        QCOMPARE(pool->Row(), 3);
        w.undoStack()->redo();
        QCOMPARE(f.deckRows(), deckCards);

        // The deck grid keeps its first visible row while cards are added and removed.
        const int deckTop = 4;
        deckGrid->setTopRow(deckTop);
        QCOMPARE(deckGrid->TopRow(), deckTop);
        int row = 1;
        while (row < pool->Rows() && w.dtaPool.model().rowColor(row - 1) != deck::kBlack)
            ++row;
        pool->setTopRow(row);
        const int poolTop = pool->TopRow();
        f.doubleClickPoolRow(row);
        QCOMPARE(f.deckRows(), deckCards + 1);
        QCOMPARE(deckGrid->TopRow(), deckTop);
        QCOMPARE(pool->TopRow(), poolTop);
        QCOMPARE(pool->Row(), row + 1);
        greyExactlyForDeckCards(f, {{row, deck::kJustAddedGrey}});
        deckGrid->setFocus();
        deckGrid->setRow(deckTop + 2);
        const QString removed = deckGrid->TextMatrix(deckTop + 2, 7);
        QTest::keyClick(deckGrid, Qt::Key_Delete);
        QCOMPARE(f.deckRows(), deckCards);
        QCOMPARE(deckGrid->TopRow(), deckTop);
        QCOMPARE(deckGrid->Row(), deckTop + 2);
        const int unmarked = pool->Row();
        QCOMPARE(pool->TextMatrix(unmarked, 7), removed);
        QCOMPARE(w.dtaPool.model().rowColor(unmarked - 1), deck::kBlack);

        // A header sort: rows of the new order, the count kept, the deck greyed again.
        f.clickPoolHeader(1);
        poolShowsTheWholeQuery(f);
        greyExactlyForDeckCards(f);
        QCOMPARE(pool->Row(), pool->TopRow());

        // One letter, then a narrowing word: the rows, the count and the marks follow each keystroke.
        w.txtQuickNameFilter->setText(QStringLiteral("k"));
        QVERIFY(pool->Rows() - 1 > 0);
        poolShowsTheWholeQuery(f);
        greyExactlyForDeckCards(f);
        const int oneLetter = pool->Rows() - 1;
        w.txtQuickNameFilter->setText(QStringLiteral("krähe"));
        poolShowsTheWholeQuery(f);
        QVERIFY(pool->Rows() - 1 < oneLetter);
        QVERIFY(pool->Rows() - 1 > 0);
        w.txtQuickNameFilter->setText(QString());
        QCOMPARE(pool->Rows() - 1, 292 + generated);
        QCOMPARE(w.lblAnzPool->text(), QStringLiteral("Anzahl Karten: %1").arg(292 + generated));
    }
};

QTEST_MAIN(TstLargePool)
#include "tst_largepool.moc"
