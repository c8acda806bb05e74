// Undo and redo of deck steps in the real window on a real catalogue file: every kind of step taken
// back and done again, compared with what DECK, the lists, the grids, the pool marking and the notes
// held; long sequences; failures of the real writes in the middle of a step.
#include "app/frmstatistik.h"
#include "db/database.h"
#include "deck/deckmarking.h"
#include "deck/deckstep.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"
#include "tests/helpers/statistikwindow.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest/QTest>
#include <sqlite3.h>

using testing::MainWindowFixture;

namespace {

// What DECK holds and what the player sees of it.
struct Seen {
    deck::DeckRows rows;
    int leader = -1;
    int inquisitor = -1;
    QString leaderText;
    QString inquisitorText;
    QStringList deckGrid; // every cell of the deck grid's data rows
    QStringList marked;   // numbers of the pool rows not in black
    QStringList notes;    // text of every node, "(rot)" after red ones
    QString deckCount;
};

Seen seen(MainWindowFixture& f) {
    Seen s;
    {
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        s.rows = deck::readDeck(*conn);
    }
    ui::frmMain& w = *f.window;
    s.leader = w.cmbLeader->currentIndex();
    s.inquisitor = w.cmbInquisitor->currentIndex();
    s.leaderText = w.cmbLeader->currentText();
    s.inquisitorText = w.cmbInquisitor->currentText();
    for (int r = 1; r < w.flxDeck->Rows(); ++r)
        for (int c = 0; c < 9; ++c)
            s.deckGrid << w.flxDeck->TextMatrix(r, c);
    for (int r = 0; r < w.dtaPool.model().rowCount(); ++r)
        if (w.dtaPool.model().rowColor(r) != deck::kBlack)
            s.marked << w.flxPool->TextMatrix(r + 1, 7);
    s.marked.sort();
    for (QTreeWidgetItemIterator it(w.tvwNotes); *it; ++it)
        s.notes << (*it)->text(0) + ((*it)->foreground(0).color() == QColor(255, 0, 0) ? QStringLiteral(" (rot)") : QString());
    s.deckCount = w.lblAnzDeck->text();
    return s;
}

// Empty when both are alike, else what differs.
QString difference(const Seen& a, const Seen& b) {
    QStringList d;
    if (a.rows.rows != b.rows.rows)
        d << QStringLiteral("DECK rows %1 / %2").arg(a.rows.rows.size()).arg(b.rows.rows.size());
    if (a.leader != b.leader || a.leaderText != b.leaderText)
        d << QStringLiteral("leader '%1' / '%2'").arg(a.leaderText, b.leaderText);
    if (a.inquisitor != b.inquisitor || a.inquisitorText != b.inquisitorText)
        d << QStringLiteral("inquisitor '%1' / '%2'").arg(a.inquisitorText, b.inquisitorText);
    if (a.deckGrid != b.deckGrid)
        d << QStringLiteral("deck grid %1 / %2 cells").arg(a.deckGrid.size()).arg(b.deckGrid.size());
    if (a.marked != b.marked)
        d << QStringLiteral("pool marking [%1] / [%2]").arg(a.marked.join(u','), b.marked.join(u','));
    if (a.notes != b.notes)
        d << QStringLiteral("notes [%1] / [%2]").arg(a.notes.join(u'|'), b.notes.join(u'|'));
    if (a.deckCount != b.deckCount)
        d << QStringLiteral("count '%1' / '%2'").arg(a.deckCount, b.deckCount);
    return d.join(QStringLiteral("; "));
}

#define COMPARE_SEEN(actual, expected)                                                                                      \
    do {                                                                                                                    \
        const QString why = difference(actual, expected);                                                                   \
        QVERIFY2(why.isEmpty(), qPrintable(why));                                                                           \
    } while (false)

QAction* entry(MainWindowFixture& f, const char* name) { return f.window->findChild<QAction*>(QString::fromLatin1(name)); }

// Runs an entry that must ask nothing and report nothing.
void silently(MainWindowFixture& f, const char* name) {
    QAction* a = entry(f, name);
    QVERIFY(a);
    QVERIFY2(a->isEnabled(), name);
    const size_t before = f.prompter.messages.size();
    a->trigger();
    QCOMPARE(f.prompter.messages.size(), before);
}
void undo(MainWindowFixture& f) { silently(f, "mnuRueckgaengig"); }
void redo(MainWindowFixture& f) { silently(f, "mnuWiederholen"); }

// Takes the last step back and forth again, comparing with the state before and after it.
void backAndForth(MainWindowFixture& f, const Seen& before, const QString& stepName) {
    const Seen after = seen(f);
    QCOMPARE(entry(f, "mnuRueckgaengig")->text(), QStringLiteral("Rückgängig: ") + stepName);
    undo(f);
    COMPARE_SEEN(seen(f), before);
    QCOMPARE(entry(f, "mnuWiederholen")->text(), QStringLiteral("Wiederholen: ") + stepName);
    redo(f);
    COMPARE_SEEN(seen(f), after);
    QCOMPARE(entry(f, "mnuRueckgaengig")->text(), QStringLiteral("Rückgängig: ") + stepName);
}

void rawSql(const QString& path, const QString& sql) {
    sqlite3* h = db::openRawConnection(path, false);
    char* error = nullptr;
    const int rc = sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString why = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(h);
    QVERIFY2(rc == SQLITE_OK, qPrintable(why));
}

void removeDeckRow(MainWindowFixture& f, int row) {
    f.window->flxDeck->setRow(row);
    QTest::keyClick(f.window->flxDeck, Qt::Key_Delete);
}

const QByteArray kSivarDeck = "SIVAR 01\r\nINQ 413\r\nSIVAR 06\r\nSIVAR 07\r\nSIVAR 08\r\nORVANE 05\r\n";
const QByteArray kCardTableDeck = "card \"b/orvane/ORVANE07\" \"a\"\r\ncard \"b/orvane/ORVANE00\" \"Harald\"\r\n"
                                  "card \"b/inq/INQ411\" \"Mordan\"\r\ncard \"b/tolven/TOLVEN05\" \"b\"\r\n";

// Every bar value and limit line of a chart of the statistics window.
QStringList chartFigures(QChartView* view) {
    QStringList out;
    for (QAbstractSeries* s : view->chart()->series()) {
        if (auto* bars = qobject_cast<QAbstractBarSeries*>(s))
            for (QBarSet* set : bars->barSets())
                for (int i = 0; i < set->count(); ++i)
                    out << set->label() + u'=' + QString::number(set->at(i));
        else if (auto* line = qobject_cast<QLineSeries*>(s))
            out << line->name();
    }
    return out;
}

QStringList statistics(ui::frmStatistik* w) {
    // The window draws once the event loop comes round.
    QCoreApplication::processEvents();
    return chartFigures(w->chvStaerke) + chartFigures(w->chvMonde) + chartFigures(w->chvKartenarten);
}

} // namespace

class TstUndo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The two entries follow the Deck menu's own entries behind a separator, with their shortcuts;
    // disabled they read plainly, enabled they name the step.
    void entriesInTheDeckMenu() {
        MainWindowFixture f;
        f.start();
        QMenu* menu = f.window->findChild<QMenu*>(QStringLiteral("mnuHDeck"));
        QVERIFY(menu);
        const QList<QAction*> actions = menu->actions();
        QVERIFY(actions.size() >= 6);
        QStringList names;
        for (QAction* a : actions.mid(0, 6))
            names << a->objectName() + u'=' + (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(names, (QStringList{"mnuNeuesDeck=Neues Deck", "mnuSep2=-", "mnuKartenAnzeigen=Karten Anzeigen", "mnuSepUndo=-",
                                     "mnuRueckgaengig=Rückgängig", "mnuWiederholen=Wiederholen"}));
        QCOMPARE(actions.at(0)->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+N"))});
        QVERIFY(actions.at(2)->shortcuts().isEmpty());
        QAction* back = entry(f, "mnuRueckgaengig");
        QAction* forth = entry(f, "mnuWiederholen");
        QCOMPARE(back->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
        QCOMPARE(forth->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                                          QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
        QVERIFY(!back->isEnabled());
        QVERIFY(!forth->isEnabled());

        // The shortcuts reach the entries from the grids.
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.chooseLeader(QStringLiteral("Harald"));
        QVERIFY(back->isEnabled());
        QCOMPARE(back->text(), QStringLiteral("Rückgängig: Anführer wählen"));
        QCOMPARE(forth->text(), QStringLiteral("Wiederholen"));
        f.window->flxPool->setFocus();
        QTest::keyClick(f.window->flxPool, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.window->cmbLeader->currentIndex(), -1);
        QCOMPARE(f.window->cmbInquisitor->currentIndex(), -1);
        QVERIFY(!back->isEnabled());
        QCOMPARE(back->text(), QStringLiteral("Rückgängig"));
        QCOMPARE(forth->text(), QStringLiteral("Wiederholen: Anführer wählen"));
        QTest::keyClick(f.window->flxPool, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.window->cmbLeader->currentText().left(7), QStringLiteral("Harald "));
        QCOMPARE(f.window->cmbInquisitor->currentText(), QStringLiteral("- "));
        QTest::keyClick(f.window->flxPool, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(f.window->flxPool, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.window->cmbLeader->currentText().left(7), QStringLiteral("Harald "));
        QVERIFY(!forth->isEnabled());
        QCOMPARE(forth->text(), QStringLiteral("Wiederholen"));
    }

    // Every kind of step, each taken back and done again: DECK's rows (rowids and values), both
    // lists, the deck grid, the pool marking and the notes are compared after each.
    void everyKindOfStep() {
        MainWindowFixture f;
        f.start();
        Seen before = seen(f);

        f.chooseLeader(QStringLiteral("Harald"));
        backAndForth(f, before, QStringLiteral("Anführer wählen"));
        before = seen(f);
        f.chooseInquisitor(QStringLiteral("Vater Odo"));
        backAndForth(f, before, QStringLiteral("Inquisitor wählen"));

        // A name with a quote, one without.
        before = seen(f);
        f.addByNumber({QStringLiteral("ORVANE 05")});
        QCOMPARE(f.deckRows(), 1);
        backAndForth(f, before, QStringLiteral("Karte hinzufügen"));
        f.addByNumber({QStringLiteral("ORVANE 07"), QStringLiteral("SIVAR 06")});
        before = seen(f);
        f.addByNumber({QStringLiteral("TOLVEN 05")});
        backAndForth(f, before, QStringLiteral("Karte hinzufügen"));

        before = seen(f);
        removeDeckRow(f, 2);
        QCOMPARE(f.deckRows(), 3);
        backAndForth(f, before, QStringLiteral("Karte entfernen"));

        // The discard question is asked once, by the step itself.
        before = seen(f);
        f.prompter.answer(core::Answer::Yes);
        f.window->cmdStandard->click();
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        QVERIFY(f.deckRows() > 10);
        backAndForth(f, before, QStringLiteral("Standard-Deck"));

        before = seen(f);
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");
        QCOMPARE(f.deckRows(), 0);
        backAndForth(f, before, QStringLiteral("Neues Deck"));

        // A deck file brings its own leader and inquisitor.
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");
        f.addByNumber({QStringLiteral("ORVANE 09")});
        before = seen(f);
        const QString deckPath = f.dir.filePath(QStringLiteral("sivar.drd"));
        testing::writeFile(deckPath, kSivarDeck);
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(deckPath);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck geladen"));
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Sivrid Eisenhand (")));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Isaura (")));
        QCOMPARE(f.deckRows(), 4);
        backAndForth(f, before, QStringLiteral("Deck laden"));

        before = seen(f);
        const QString ctPath = f.dir.filePath(QStringLiteral("harald.ctd"));
        testing::writeFile(ctPath, kCardTableDeck);
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(ctPath);
        f.trigger("mnuCTImport");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Datei Importiert"));
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Harald (")));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Mordan der Bleiche (")));
        backAndForth(f, before, QStringLiteral("Import von CardTable-Datei"));
        // The second "Neues Deck" found the deck empty already: no step.
        QCOMPARE(f.window->undoStack()->count(), 12);
    }

    // A deck named on the command line is loaded as "Deck laden" loads one, so it is a step too:
    // taken back, the window shows what a start without a deck shows.
    void deckFromTheCommandLine() {
        MainWindowFixture plain;
        plain.start();
        const Seen start = seen(plain);
        plain.close();

        MainWindowFixture f;
        const QString deckPath = f.dir.filePath(QStringLiteral("sivar.drd"));
        testing::writeFile(deckPath, kSivarDeck);
        f.start(u'"' + deckPath + u'"');
        QCOMPARE(f.deckRows(), 4);
        QCOMPARE(entry(f, "mnuRueckgaengig")->text(), QStringLiteral("Rückgängig: Deck laden"));
        const Seen loaded = seen(f);
        undo(f);
        Seen back = seen(f);
        QVERIFY(back.marked.isEmpty());
        COMPARE_SEEN(back, start);
        redo(f);
        COMPARE_SEEN(seen(f), loaded);
    }

    // The statistics window follows an undo and a redo as it follows the player's own steps.
    void statisticsFollow() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("ORVANE 05"), QStringLiteral("SIVAR 06")});
        f.trigger("mnuStatistik");
        ui::frmStatistik* w = testing::statistikWindow(*f.window);
        QVERIFY(w);
        const QStringList before = statistics(w);
        f.chooseInquisitor(QStringLiteral("Vater Odo"));
        f.addByNumber({QStringLiteral("TOLVEN 05")});
        const QStringList after = statistics(w);
        QVERIFY(after != before);
        undo(f);
        undo(f);
        QCOMPARE(statistics(w), before);
        redo(f);
        redo(f);
        QCOMPARE(statistics(w), after);
    }

    // Twenty mixed steps taken back to the start give an empty deck and no leader; done again, the
    // same deck as before.
    void twentyStepsBackToTheStartAndForward() {
        MainWindowFixture f;
        f.start();
        const Seen start = seen(f);
        const QString deckPath = f.dir.filePath(QStringLiteral("sivar.drd"));
        testing::writeFile(deckPath, kSivarDeck);
        const QString ctPath = f.dir.filePath(QStringLiteral("harald.ctd"));
        testing::writeFile(ctPath, kCardTableDeck);

        f.chooseLeader(QStringLiteral("Harald"));                              // 1
        f.addByNumber({QStringLiteral("ORVANE 05"), QStringLiteral("ORVANE 07"),
                       QStringLiteral("SIVAR 06")});                           // 2-4
        f.chooseInquisitor(QStringLiteral("Isaura"));                          // 5
        removeDeckRow(f, 1);                                                   // 6
        f.prompter.answer(core::Answer::Yes);
        f.window->cmdStandard->click();                                        // 7
        removeDeckRow(f, 3);                                                   // 8
        f.chooseLeader(QStringLiteral("Hild"));                                // 9
        f.addByNumber({QStringLiteral("TOLVEN 05")});                          // 10
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(deckPath);
        f.trigger("mnuLaden");                                                 // 11
        f.addByNumber({QStringLiteral("ORVANE 09")});                          // 12
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");                                             // 13
        f.addByNumber({QStringLiteral("ORVANE 10")});                          // 14
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(ctPath);
        f.trigger("mnuCTImport");                                              // 15
        f.chooseInquisitor(QStringLiteral("-"));                               // 16
        f.addByNumber({QStringLiteral("ORVANE 11"), QStringLiteral("ORVANE 12")}); // 17-18
        removeDeckRow(f, 2);                                                   // 19
        f.chooseLeader(QStringLiteral("Merethis (die Ältere)"));               // 20
        QCOMPARE(f.window->undoStack()->count(), 20);
        const Seen end = seen(f);
        QCOMPARE(end.rows.rows.size(), size_t(3));

        for (int i = 0; i < 20; ++i)
            undo(f);
        COMPARE_SEEN(seen(f), start);
        QCOMPARE(f.deckCountInDatabase(), 0);
        QCOMPARE(f.window->cmbLeader->currentText(), QString());
        QCOMPARE(f.window->cmbInquisitor->currentText(), QString());
        QVERIFY(!entry(f, "mnuRueckgaengig")->isEnabled());

        for (int i = 0; i < 20; ++i)
            redo(f);
        COMPARE_SEEN(seen(f), end);
        QVERIFY(!entry(f, "mnuWiederholen")->isEnabled());
    }

    // A write refused in the middle of an undo (a trigger stops the fifth row) leaves DECK, the
    // lists, the grids and the stack as they were, and the player is told; likewise for a redo.
    void failureInTheMiddleChangesNothing() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.window->cmdStandard->click();
        f.chooseInquisitor(QStringLiteral("Isaura"));
        const Seen full = seen(f);
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");
        QCOMPARE(f.deckRows(), 0);
        const Seen empty = seen(f);
        QCOMPARE(f.window->undoStack()->count(), 4);
        // The fifth card of the standard deck, in the order the step puts the cards back.
        QString number;
        undo(f);
        {
            auto conn = db::Database::OpenDatabase(f.dir.databasePath());
            const deck::DeckRows rows = deck::readDeck(*conn);
            QVERIFY(rows.rows.size() > 10);
            number = rows.rows[4].values[3].toString();
        }
        redo(f);
        COMPARE_SEEN(seen(f), empty);

        rawSql(f.dir.databasePath(), QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON DECK WHEN NEW.NUMMER = '%1' "
                                                    "BEGIN SELECT RAISE(ABORT, 'Schreibfehler auf dem Datenträger'); END")
                                         .arg(number));
        const size_t messages = f.prompter.messages.size();
        f.trigger("mnuRueckgaengig");
        QCOMPARE(f.prompter.messages.size(), messages + 1);
        const auto& m = f.prompter.messages.back();
        QCOMPARE(m.title, QStringLiteral("Rückgängig"));
        QCOMPARE(m.icon, core::Icon::Critical);
        QVERIFY2(m.text.startsWith(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n")), qPrintable(m.text));
        QVERIFY2(m.text.contains(QStringLiteral("Schreibfehler auf dem Datenträger")), qPrintable(m.text));
        QVERIFY2(m.text.endsWith(QStringLiteral("\r\n\r\nDer Schritt wurde nicht rückgängig gemacht, das Deck ist unverändert.")),
                 qPrintable(m.text));
        COMPARE_SEEN(seen(f), empty);
        QCOMPARE(entry(f, "mnuRueckgaengig")->text(), QStringLiteral("Rückgängig: Neues Deck"));
        QVERIFY(!entry(f, "mnuWiederholen")->isEnabled());
        QCOMPARE(f.window->undoStack()->index(), 4);

        // Once the disk takes the rows again, the same undo goes through.
        rawSql(f.dir.databasePath(), QStringLiteral("DROP TRIGGER refuse"));
        undo(f);
        COMPARE_SEEN(seen(f), full);
        const Seen restored = seen(f);

        // A redo refused in the middle of its deletions.
        rawSql(f.dir.databasePath(), QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON DECK WHEN OLD.NUMMER = '%1' "
                                                    "BEGIN SELECT RAISE(ABORT, 'Schreibfehler auf dem Datenträger'); END")
                                         .arg(number));
        f.trigger("mnuWiederholen");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Wiederholen"));
        QVERIFY2(f.prompter.messages.back().text.endsWith(
                     QStringLiteral("\r\n\r\nDer Schritt wurde nicht wiederholt, das Deck ist unverändert.")),
                 qPrintable(f.prompter.messages.back().text));
        COMPARE_SEEN(seen(f), restored);
        QCOMPARE(entry(f, "mnuWiederholen")->text(), QStringLiteral("Wiederholen: Neues Deck"));
        QCOMPARE(f.window->undoStack()->index(), 3);
        rawSql(f.dir.databasePath(), QStringLiteral("DROP TRIGGER refuse"));
        redo(f);
        COMPARE_SEEN(seen(f), empty);
    }

    // Undo and redo never ask the discard questions; the exit question asks as before, by what DECK
    // holds after them.
    void noDiscardQuestionsExitQuestionAsBefore() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("ORVANE 05"), QStringLiteral("ORVANE 07")});
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");
        f.window->cmdStandard->click(); // empty deck: no question
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        undo(f); // the standard deck goes, the empty deck comes back
        undo(f); // the two cards come back
        QCOMPARE(f.deckRows(), 2);
        redo(f); // empties a filled deck without asking
        QCOMPARE(f.deckRows(), 0);
        redo(f);
        QVERIFY(f.deckRows() > 10);

        f.prompter.answer(core::Answer::No);
        QVERIFY(!f.close());
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Soll der Dravenna Deck-Builder wirklich beendet werden?"));
        const size_t asked = f.prompter.messages.size();
        while (entry(f, "mnuRueckgaengig")->isEnabled())
            undo(f);
        QCOMPARE(f.deckCountInDatabase(), 0);
        QVERIFY(f.close());
        QCOMPARE(f.prompter.messages.size(), asked);
    }

    // A deck file loaded by path (as a later start, a dropped file or a list of recent decks hand
    // it over), a discarded deck whose load was cancelled, and a load that failed half-way are
    // steps like the others.
    void loadsByPathCancelledAndFailed() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.chooseInquisitor(QStringLiteral("Vater Odo"));
        f.addByNumber({QStringLiteral("ORVANE 05"), QStringLiteral("ORVANE 07")});
        const QString deckPath = f.dir.filePath(QStringLiteral("sivar.drd"));
        testing::writeFile(deckPath, kSivarDeck);

        Seen before = seen(f);
        f.prompter.answer(core::Answer::Yes);
        f.window->funcLoadFile(deckPath);
        QCOMPARE(f.deckRows(), 4);
        backAndForth(f, before, QStringLiteral("Deck laden"));
        undo(f);
        // The same file again from "Zuletzt geöffnet".
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuZuletzt_1");
        QCOMPARE(f.deckRows(), 4);
        backAndForth(f, before, QStringLiteral("Deck laden"));
        undo(f);

        // Yes to the discard question, then no file: the deck was still discarded.
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(QString());
        f.trigger("mnuLaden");
        QCOMPARE(f.deckRows(), 0);
        backAndForth(f, before, QStringLiteral("Deck verwerfen"));
        undo(f);
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(QString());
        f.trigger("mnuCTImport");
        backAndForth(f, before, QStringLiteral("Deck verwerfen"));
        undo(f);

        // No to the question changes nothing and leaves no step.
        const int steps = f.window->undoStack()->count();
        f.prompter.answer(core::Answer::No);
        f.trigger("mnuLaden");
        QCOMPARE(f.window->undoStack()->count(), steps);

        // A file of one line chooses its leader and then fails: that much is a step of its own.
        const QString broken = f.dir.filePath(QStringLiteral("kaputt.drd"));
        testing::writeFile(broken, "SIVAR 01");
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(broken);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Sivrid Eisenhand (")));
        QCOMPARE(entry(f, "mnuRueckgaengig")->text(), QStringLiteral("Rückgängig: Deck laden"));
        undo(f);
        COMPARE_SEEN(seen(f), before);
    }
};

QTEST_MAIN(TstUndo)
#include "tst_undo.moc"
