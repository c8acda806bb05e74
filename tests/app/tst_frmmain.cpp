// The main window as a whole: start-up, layout, settings, closing, the about box.
#include "core/windowplace.h"
#include "core/instancelock.h"
#include "core/settings.h"
#include "core/startup.h"
#include "db/database.h"
#include "db/dberror.h"
#include "app/frminfo.h"
#include "tests/helpers/mainwindowfixture.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QtTest/QTest>

using testing::MainWindowFixture;

class TstFrmMain : public QObject {
    Q_OBJECT

    static QRect twips(QWidget* w) {
        return QRect(ui::pixelsToTwips(w, w->x()), ui::pixelsToTwips(w, w->y()), ui::pixelsToTwips(w, w->width()),
                     ui::pixelsToTwips(w, w->height()));
    }
    static void resizeClient(ui::frmMain* w, int widthTwips, int heightTwips) {
        const QSize extra = w->size() - w->clientArea()->size();
        w->resize(QSize(ui::twipsToPixels(w, widthTwips), ui::twipsToPixels(w, heightTwips)) + extra);
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void startUpFillsListsAndGridsWithAnEmptyDeck() {
        MainWindowFixture f;
        {
            // A deck left over from an earlier run is emptied.
            auto conn = db::Database::OpenDatabase(f.dir.databasePath());
            conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN"));
        }
        f.start();
        ui::frmMain& w = *f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Dravenna Deck-Builder"));
        QCOMPARE(f.deckRows(), 0);
        QCOMPARE(f.deckCountInDatabase(), 0);
        QCOMPARE(f.poolRows(), 292);
        QCOMPARE(w.flxPool->TextMatrix(0, 3), QStringLiteral("Stärke"));
        QCOMPARE(w.cmbLeader->count(), 17);
        QCOMPARE(w.cmbLeader->itemText(0), QStringLiteral("Adelhild (Umbrel: 40 Karten / 12 Monde )"));
        QVERIFY(w.cmbLeader->findText(QStringLiteral("Merethis (die Ältere) (Sivar: 45 Karten / 10 Monde )")) >= 0);
        QCOMPARE(w.cmbInquisitor->count(), 5);
        QCOMPARE(w.cmbInquisitor->itemText(0), QStringLiteral("Isaura (+0 Karten / +4 Monde )"));
        QCOMPARE(w.cmbInquisitor->itemText(4), QStringLiteral("- "));
        QCOMPARE(w.cmbLeader->currentText(), QString());
        QCOMPARE(w.cmbInquisitor->currentText(), QString());
        QCOMPARE(w.ORDER, QStringLiteral("ORDER BY FRAKTION, KARTENART, NAME "));
        QCOMPARE(w.WHERE, QString());
        QCOMPARE(w.dtaPool.RecordSource, w.SQLPOOL + w.ORDER);
        QCOMPARE(w.lblAnzPool->text(), QStringLiteral("Anzahl Karten: 292"));
        QCOMPARE(w.tvwNotes->topLevelItemCount(), 0);
        QVERIFY(w.mnuKartenAnzeigen->isChecked());
        QCOMPARE(f.viewer.shown.first(), (QPair<QString, QString>{"BLANK", "KARTEN"}));
        QVERIFY(f.prompter.messages.empty());
    }

    void startingWithAnEmptyDeckWritesNothing() {
        // SQLite counts every committed write in the file header (bytes 24 to 27).
        auto changeCounter = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.read(28).mid(24) : QByteArray();
        };
        MainWindowFixture f;
        const QByteArray before = changeCounter(f.dir.databasePath());
        QCOMPARE(before.size(), 4);
        f.start();
        QCOMPARE(f.deckCountInDatabase(), 0);
        QCOMPARE(changeCounter(f.dir.databasePath()), before);
    }

    void menusCarryEveryEntry() {
        MainWindowFixture f;
        f.start();
        QStringList bar;
        for (QAction* a : f.window->menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{"Datei", "CardTable", "Deck", "Filter", "Sortieren", "Info"}));
        auto entries = [&](const char* menu) {
            QStringList out;
            for (QAction* a : f.window->findChild<QMenu*>(QString::fromLatin1(menu))->actions())
                out << (a->isSeparator() ? QStringLiteral("-") : a->text());
            return out;
        };
        QCOMPARE(entries("mnuHDatei"), (QStringList{"Deck Laden", "Deck Speichern", "Deckliste Speichern",
                                                    "Deckliste Anzeigen", "-", "Drucken…", "Als PDF speichern…", "-",
                                                    "Zuletzt geöffnet", "-", "Beenden"}));
        QCOMPARE(entries("mnuCardTable"), (QStringList{"Export zu CardTable-Datei", "Import von CardTable-Datei", "-",
                                                       "Position CardTable-Daten"}));
        // Entries of the program's own come after the specified ones, behind a separator.
        QCOMPARE(entries("mnuHDeck").mid(0, 4), (QStringList{"Neues Deck", "-", "Karten Anzeigen", "-"}));
        QCOMPARE(entries("mnuHDeck").mid(entries("mnuHDeck").indexOf(QStringLiteral("Statistik…"))),
                 (QStringList{"Statistik…", "-", "Aus Text importieren…", "Vergleichen mit…", "Starthand…"}));
        QCOMPARE(entries("mnuHFilter"), (QStringList{"Filter", "Spezial-Filter", "Kein Filter"}));
        QCOMPARE(entries("mnuHSortieren"), QStringList{"Sortieren..."});
        QCOMPARE(entries("mnuHInfo"), QStringList{"Über den Deck-Builder"});
        QCOMPARE(entries("mnuDeck"), QStringList{"Karten entfernen"});
        QCOMPARE(entries("mnuQuickFilter").size(), 12);
        QCOMPARE(entries("mnuQuickFilter").last(), QStringLiteral("Kein Filter"));
        const QStringList withShortcuts{"mnuRueckgaengig", "mnuWiederholen", "mnuNeuesDeck", "mnuLaden",
                                        "mnuSpeichern",    "mnuBeenden",     "mnuUeber"};
        for (QAction* a : f.window->findChildren<QAction*>())
            QVERIFY2(a->shortcut().isEmpty() || withShortcuts.contains(a->objectName()) || a->objectName().isEmpty(),
                     qPrintable(a->objectName()));
    }

    void layoutAtDesignSizeAndSnapAtMinimum() {
        MainWindowFixture f;
        f.start();
        ui::frmMain* w = f.window.get();
        resizeClient(w, 14775, 8055);
        QCOMPARE(twips(w->flxPool), QRect(120, 120, 7215, 5895));
        QCOMPARE(twips(w->flxDeck), QRect(7440, 840, 7215, 6495));
        // The leader buttons are as wide as their captions need in the desktop's font, at least as designed; the
        // frame grows to the left and the lists give way, keeping the designed gap and margin.
        QCOMPARE(twips(w->cmbLeader).topLeft(), QPoint(7440, 120));
        QCOMPARE(twips(w->cmbInquisitor).topLeft(), QPoint(7440, 480));
        QVERIFY(twips(w->frmLeader).width() >= 2415);
        QCOMPARE(w->frmLeader->y(), ui::twipsToPixels(w, 120));
        QCOMPARE(w->frmLeader->geometry().right() + 1, w->clientArea()->width() - ui::twipsToPixels(w, 120));
        QCOMPARE(w->cmbLeader->geometry().right() + 1 + ui::twipsToPixels(w, 105), w->frmLeader->x());
        QCOMPARE(w->cmbInquisitor->width(), w->cmbLeader->width());
        QCOMPARE(twips(w->lblAnzDeck).left(), 7440);
        QCOMPARE(w->lblAnzDeck->y(), ui::twipsToPixels(w, 8055 - 605));
        QCOMPARE(twips(w->frmLower), QRect(120, 6120, 7215, 1575));
        // "Hinweise:" does not fit between the pool count and the notes in the desktop's font: it heads them.
        QCOMPARE(w->Label1->pos(), w->tvwNotes->pos() - QPoint(0, w->tvwNotes->y()));
        QCOMPARE(twips(w->tvwNotes).left(), 2640);
        QCOMPARE(twips(w->tvwNotes).width(), 4575);
        QCOMPARE(w->tvwNotes->geometry().bottom() + 1, w->frmLower->height());
        QVERIFY(w->tvwNotes->y() >= w->Label1->geometry().bottom() + 1);
        QCOMPARE(twips(w->lblNotice).top(), 7800);

        resizeClient(w, 3000, 1000);
        QCOMPARE(ui::pixelsToTwips(w, w->clientArea()->width()), 8175);
        QCOMPARE(ui::pixelsToTwips(w, w->clientArea()->height()), 2910);
        QCOMPARE(twips(w->flxPool).size(), QSize(3915, 750));
        QCOMPARE(twips(w->flxDeck).left(), 4140);
    }

    void controlsCaptionsAndFonts() {
        MainWindowFixture f;
        f.start();
        ui::frmMain* w = f.window.get();
        QCOMPARE(w->cmdShowLeader->text(), QStringLiteral("Anzeigen..."));
        QCOMPARE(w->cmdStandard->text(), QStringLiteral("Standard-Deck"));
        QCOMPARE(w->cmdShowInq->text(), QStringLiteral("Anzeigen..."));
        QCOMPARE(w->Label1->text(), QStringLiteral("Hinweise:"));
        QCOMPARE(w->Frame1->title(), QStringLiteral("Quick-Name-Filter"));
        QCOMPARE(w->Frame2->title(), QStringLiteral("Quick-Filter"));
        QVERIFY(w->lblAnzPool->font().bold() && w->Frame1->font().bold());
        QVERIFY(!w->txtQuickNameFilter->font().bold());
        QCOMPARE(w->flxPool->font().family(), QStringLiteral("DejaVu Sans"));
        // The sample filter files of the program folder, after the empty entry, nothing chosen.
        QVERIFY(w->cmbQuickFilter->isEnabled());
        QCOMPARE(w->cmbQuickFilter->count(), 4);
        QCOMPARE(w->cmbQuickFilter->itemText(0), QString());
        QCOMPARE(w->cmbQuickFilter->currentIndex(), -1);
        const QList<int> design{800, 3350, 1400, 700, 650, 1400, 650, 1100, 400};
        for (int c = 0; c < 9; ++c) {
            QCOMPARE(w->flxDeck->columnWidth(c), ui::twipsToPixels(w, design[c]));
            QCOMPARE(w->flxPool->columnWidth(c), ui::twipsToPixels(w, design[c]));
        }
        // Tab order as designed.
        QWidget* next = w->flxPool;
        QStringList order;
        for (int i = 0; i < 10; ++i) {
            order << next->objectName();
            next = next->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus || !next->isVisibleTo(w) || next->objectName().isEmpty())
                next = next->nextInFocusChain();
        }
        QCOMPARE(order, (QStringList{"flxPool", "cmbLeader", "flxDeck", "txtQuickNameFilter", "tvwNotes", "cmdStandard",
                                     "cmdShowLeader", "cmbQuickFilter", "cmbInquisitor", "cmdShowInq"}));
    }

    void closingWithEmptyDeckAsksNothingAndStoresSettings() {
        MainWindowFixture f;
        f.start();
        f.window->move(ui::twipsToPixels(f.window.get(), 1500), ui::twipsToPixels(f.window.get(), 900));
        resizeClient(f.window.get(), 12000, 6000);
        // Stored and restored is the outer size, frame included.
        const int width = ui::pixelsToTwips(f.window.get(), f.window->frameGeometry().width());
        f.window->mnuKartenAnzeigen->trigger(); // off
        QCOMPARE(f.viewer.closed, 1);
        QVERIFY(f.close());
        QVERIFY(f.prompter.messages.empty());
        const auto s = core::openSettings(QStringLiteral("frmMain"));
        QCOMPARE(s->value(QStringLiteral("Width")).toString(), QString::number(width));
        QCOMPARE(s->value(QStringLiteral("chkShow")).toString(), QStringLiteral("False"));

        // The next start reads them back: no card window, no check mark, same size.
        f.viewer.shown.clear();
        f.start();
        QVERIFY(!f.window->mnuKartenAnzeigen->isChecked());
        QVERIFY(!f.viewer.shown.contains(QPair<QString, QString>{"BLANK", "KARTEN"}));
        QTRY_COMPARE(ui::pixelsToTwips(f.window.get(), f.window->frameGeometry().width()), width);
    }

    void closingDoesNotBringTheCardWindowBack() {
        // Closing the record sources moves the grids' selection; a card window shown then kept the
        // program running with its main window gone.
        // Here the window closes before its first activation has been handled, which gives the pool
        // grid the focus and a current row.
        MainWindowFixture f;
        f.window = std::make_unique<ui::frmMain>(QString(), &f.viewer);
        f.window->show();
        QVERIFY(f.window->mnuKartenAnzeigen->isChecked());
        const qsizetype before = f.viewer.shown.size();
        QVERIFY(f.window->close());
        QTest::qWait(200);
        QCOMPARE(f.viewer.shown.size(), before);
        QCOMPARE(f.viewer.closed, 1);
    }

    void closingWithCardsAsksAndNoKeepsEverything() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.doubleClickPoolRow(3);
        QCOMPARE(f.deckRows(), 1);
        f.prompter.answer(core::Answer::No);
        QVERIFY(!f.close());
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Soll der Dravenna Deck-Builder wirklich beendet werden?"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna Deck-Builder beenden"));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Question);
        QCOMPARE(f.prompter.messages.back().buttons, core::Buttons::YesNo);
        QCOMPARE(f.deckRows(), 1);
        QCOMPARE(f.deckCountInDatabase(), 1);
        QVERIFY(!core::openSettings(QStringLiteral("frmMain"))->contains(QStringLiteral("Width")));

        f.prompter.answer(core::Answer::Yes);
        QVERIFY(f.close());
        QCOMPARE(f.deckCountInDatabase(), 0);
        QVERIFY(!QFile::exists(f.dir.databasePath() + QStringLiteral(".temp")));
    }

    void closingWhileMinimizedWritesNoSettings() {
        MainWindowFixture f;
        f.start();
        f.window->showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(f.window->isMinimized());
        QVERIFY(f.close());
        QVERIFY(!core::openSettings(QStringLiteral("frmMain"))->contains(QStringLiteral("Left")));
    }

    void chkShowFalseStartsWithoutCheckMark() {
        MainWindowFixture f;
        core::openSettings(QStringLiteral("frmMain"))->setValue(QStringLiteral("chkShow"), QStringLiteral("False"));
        f.start();
        QVERIFY(!f.window->mnuKartenAnzeigen->isChecked());
        QCOMPARE(f.viewer.closed, 1);
        f.window->mnuKartenAnzeigen->trigger();
        QVERIFY(f.window->mnuKartenAnzeigen->isChecked());
        QCOMPARE(f.viewer.last(), (QPair<QString, QString>{"BLANK", "KARTEN"}));
    }

    void missingDatabaseIsAnErrorNotACrash() {
        MainWindowFixture f;
        QVERIFY(QFile::remove(f.dir.databasePath()));
        QVERIFY_THROWS_EXCEPTION(db::DbError, f.start());
        QVERIFY(!QFile::exists(f.dir.databasePath()));
    }

    void secondProgramMayNotClaimTheDatabase() {
        testing::TestProgramDir dir;
        auto first = core::claimDatabase(dir.databasePath());
        QCOMPARE(first->state(), core::InstanceLock::State::Acquired);
        QCOMPARE(core::claimDatabase(dir.databasePath())->state(), core::InstanceLock::State::HeldByLiveProgram);
        first.reset();
        QCOMPARE(core::claimDatabase(dir.databasePath())->state(), core::InstanceLock::State::Acquired);
    }

    void aboutBoxShowsTheVersion() {
        MainWindowFixture f;
        f.start();
        ui::frmInfo about(f.window.get());
        QCOMPARE(about.windowTitle(), QStringLiteral("Info"));
        QVERIFY(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d\\d$")).match(about.lblVersion->text()).hasMatch());
        QCOMPARE(about.lblVersion->text(),
                 QStringLiteral("Version %1.%2").arg(DRAVENNA_VERSION_MAJOR).arg(DRAVENNA_VERSION_MINOR, 2, 10, QChar(u'0')));
        QCOMPARE(core::versionText(1, 5), QStringLiteral("Version 1.05"));
        QCOMPARE(core::versionText(1, 0), QStringLiteral("Version 1.00"));
        QCOMPARE(core::versionText(2, 17), QStringLiteral("Version 2.17"));
        QCOMPARE(ui::pixelsToTwips(&about, about.width()), 4935);
    }

    void commandLineArgument() {
        QCOMPARE(core::deckPathFromArgument(QStringLiteral("\"/tmp/a b.drd\"")), QStringLiteral("/tmp/a b.drd"));
        QCOMPARE(core::deckPathFromArgument(QStringLiteral("/tmp/deck.drd")), QStringLiteral("/tmp/deck.drd"));
        QCOMPARE(core::deckPathFromArgument(QStringLiteral("\"")), QString());
        QCOMPARE(core::deckPathFromArgument(QString()), QString());
        MainWindowFixture f;
        f.start(QStringLiteral("\"/no/such/deck.drd\""));
        QVERIFY(f.prompter.messages.empty());
        QCOMPARE(f.deckRows(), 0);
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
