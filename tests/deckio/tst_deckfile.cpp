// Saving and loading deck files through the main window, with real files and a scripted dialog.
#include "db/database.h"
#include "core/textfile.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QFile>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <sqlite3.h>

using testing::MainWindowFixture;

class TstDeckFile : public QObject {
    Q_OBJECT


private Q_SLOTS:
    void roundTripByteForByte() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald der Kühne"));
        f.chooseInquisitor(QStringLiteral("Vater Odo"));
        f.addByNumber({"SIVAR 06", "ORVANE 05", "MUTANT 101", "GARSK 05"});
        f.clickPoolHeader(1);
        f.clickPoolHeader(1); // the grid shows names descending; the file is sorted by number
        const QString path = f.dir.filePath(QStringLiteral("mein deck.drd"));
        f.prompter.choose(path);
        f.trigger("mnuSpeichern");
        QCOMPARE(testing::readFile(path), QByteArray("ORVANE 01\r\nINQ 412\r\nGARSK 05\r\nMUTANT 101\r\nORVANE 05\r\nSIVAR 06\r\n"));
        const auto& dialog = f.prompter.dialogs.back();
        QVERIFY(dialog.save);
        QCOMPARE(dialog.state.dialogTitle, QStringLiteral("Dravenna-Deck speichern"));
        QCOMPARE(dialog.state.filter, QStringLiteral("Dravenna-Decks (*.drd)|*.drd|Alle Dateien (*.*)|*.*"));
        QCOMPARE(dialog.state.flags, 0x8802u);
        QCOMPARE(dialog.state.initDir, f.dir.path());
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Das Dravenna-Deck wurde gespeichert unter:\r\n") + path);
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck erfolgreich gespeichert"));

        // Load it into a fresh window.
        QVERIFY(f.close() || (f.prompter.answer(core::Answer::Yes), f.close()));
        f.start();
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.dialogs.back().state.flags, 0x1800u);
        QCOMPARE(f.prompter.dialogs.back().state.dialogTitle, QStringLiteral("Dravenna-Deck Laden"));
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck geladen"));
        QCOMPARE(f.window->cmbLeader->currentText(), QStringLiteral("Harald der Kühne (Orvane: 45 Karten / 10 Monde )"));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Vater Odo (")));
        QCOMPARE(f.deckRows(), 4);
        QCOMPARE(f.window->tvwNotes->topLevelItem(0)->text(0), QStringLiteral("Anzahl Karten: 4"));

        // And saved again gives the same bytes.
        const QString again = f.dir.filePath(QStringLiteral("again.drd"));
        f.prompter.choose(again);
        f.trigger("mnuSpeichern");
        QCOMPARE(testing::readFile(again), testing::readFile(path));
    }

    void noInquisitorIsAnEmptySecondLine() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({"ORVANE 07"});
        const QString path = f.dir.filePath(QStringLiteral("d.drd"));
        f.prompter.choose(path);
        f.trigger("mnuSpeichern");
        QCOMPARE(testing::readFile(path), QByteArray("ORVANE 00\r\n\r\nORVANE 07\r\n"));
        f.chooseInquisitor(QStringLiteral("Isaura"));
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.window->cmbInquisitor->currentText(), QStringLiteral("- "));
        QCOMPARE(f.deckRows(), 1);
    }

    void savingIsRefusedForAnEmptyDeckOrNoLeader() {
        MainWindowFixture f;
        f.start();
        f.trigger("mnuSpeichern");
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Keine Daten zum Speichern vorhanden."));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Leeres Deck"));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Exclamation);
        QVERIFY(f.prompter.dialogs.empty());
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER = 'ORVANE 05'"));
        f.trigger("mnuShowDeckliste");
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Es wurde kein Anführer ausgewählt."));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Kein Anführer gewählt"));
        QVERIFY(f.prompter.dialogs.empty());
    }

    void leaderWithBracketsInItsNameIsSaved() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Merethis (die Ältere)"));
        f.addByNumber({"SIVAR 06"});
        const QString path = f.dir.filePath(QStringLiteral("merethis.drd"));
        f.prompter.choose(path);
        f.trigger("mnuSpeichern");
        QCOMPARE(testing::readFile(path), QByteArray("SIVAR 00\r\n\r\nSIVAR 06\r\n"));
    }

    void failedSaveLeavesTheOldFile() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Sivrid Eisenhand"));
        f.addByNumber({"SIVAR 06"});
        // The leader's row has gone from the catalogue since the list was filled: nothing is written.
        db::Database::OpenDatabase(f.dir.databasePath())
            ->Execute(QStringLiteral("DELETE * FROM ANFUEHRER WHERE NAME = 'Sivrid Eisenhand'"));
        const QString path = f.dir.filePath(QStringLiteral("old.drd"));
        testing::writeFile(path, "SIVAR 01\r\n\r\nSIVAR 05\r\n");
        f.prompter.choose(path);
        f.trigger("mnuSpeichern");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck speichern"));
        QVERIFY(f.prompter.messages.back().text.startsWith(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n")));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Critical);
        QCOMPARE(testing::readFile(path), QByteArray("SIVAR 01\r\n\r\nSIVAR 05\r\n"));
    }

    void loadingSkipsUnknownNumbersAndEmptyLines() {
        MainWindowFixture f;
        f.start();
        const QString path = f.dir.filePath(QStringLiteral("x.drd"));
        testing::writeFile(path, "GARSK 01\rINQ 414\r\n\r\nGARSK 05\r\ngarsk 05\r\nNIRGENDS 99\r\n\r\nit's\r\nUMBREL 10\r\n\r\n");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        // The known cards are loaded; the player is told of the numbers passed over, each once.
        QCOMPARE(f.prompter.messages.at(f.prompter.messages.size() - 2).text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Diese Kartennummern der Datei kennt der Katalog nicht; sie wurden übergangen:\r\nNIRGENDS 99, it's"));
        QCOMPARE(f.deckRows(), 2); // GARSK 05 twice is one card
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Gundolf Hammerschlag (")));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Kelm von Aschgrau (")));
        int grey = 0;
        for (int r = 0; r < f.window->dtaPool.model().rowCount(); ++r)
            grey += f.window->dtaPool.model().rowColor(r) != 0;
        QCOMPARE(grey, 2);
    }

    // The cards go in under one commit; a card the disk refuses half-way keeps the ones before it, as
    // a commit per card did, says so, and leaves the database writable for the next step.
    void aCardRefusedHalfWayKeepsTheCardsBeforeIt() {
        MainWindowFixture f;
        f.start();
        sqlite3* raw = db::openRawConnection(f.dir.databasePath(), false);
        QCOMPARE(sqlite3_exec(raw, "CREATE TRIGGER refuse BEFORE INSERT ON DECK WHEN NEW.NUMMER = 'UMBREL 10' "
                                   "BEGIN SELECT RAISE(ABORT, 'Schreibfehler auf dem Datenträger'); END",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(raw);
        const QString path = f.dir.filePath(QStringLiteral("x.drd"));
        testing::writeFile(path, "GARSK 01\r\n\r\nGARSK 05\r\nSIVAR 06\r\nUMBREL 10\r\nORVANE 05\r\n");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QVERIFY2(f.prompter.messages.back().text.contains(QStringLiteral("Schreibfehler auf dem Datenträger")),
                 qPrintable(f.prompter.messages.back().text));
        QCOMPARE(f.deckCountInDatabase(), 2);
        f.addByNumber({QStringLiteral("ORVANE 07")});
        QCOMPARE(f.deckCountInDatabase(), 3);
    }

    void loadingSelectsTheLeaderByItsWholeName() {
        MainWindowFixture f;
        f.start();
        const QString path = f.dir.filePath(QStringLiteral("hild.drd"));
        testing::writeFile(path, "TOLVEN 00\r\n\r\n");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        // "Adelhild" is listed before "Hild" and contains it; the whole name decides.
        QCOMPARE(f.window->cmbLeader->currentText(), QStringLiteral("Hild (Tolven: 45 Karten / 10 Monde )"));
        testing::writeFile(path, "ORVANE 00\r\n\r\n");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.window->cmbLeader->currentText(), QStringLiteral("Harald (Orvane: 40 Karten / 12 Monde )"));
    }

    void noToTheQuestionChangesNothingAndCancelLeavesTheDeckEmpty() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({"ORVANE 05"});
        f.prompter.answer(core::Answer::No);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\nSoll das aktuelle Deck verworfen werden?"));
        QVERIFY(f.prompter.dialogs.empty());
        QCOMPARE(f.deckRows(), 1);
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(QString()); // cancelled
        f.trigger("mnuLaden");
        QCOMPARE(f.deckRows(), 0);
        QCOMPARE(f.deckCountInDatabase(), 0);
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Harald (")));
    }

    void shortFilesFail() {
        MainWindowFixture f;
        f.start();
        const QString path = f.dir.filePath(QStringLiteral("short.drd"));
        testing::writeFile(path, "");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Critical);
        QCOMPARE(f.window->cmbLeader->currentText(), QString());
        testing::writeFile(path, "KORVAL 01");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Critical);
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Kaspar Düsterwald (")));
        QCOMPARE(f.window->cmbInquisitor->currentText(), QStringLiteral("- ")); // from choosing the leader
        QCOMPARE(f.deckRows(), 0);
        testing::writeFile(path, "KORVAL 01'\r\n\r\n");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Critical);
    }

    void offeredFileNameOnlyWithTheSameExtension() {
        MainWindowFixture f;
        f.start();
        f.window->cmdcSaveLoad.fileName = QStringLiteral("/tmp/deck.CTD");
        f.prompter.choose(QString());
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.dialogs.back().state.fileName, QString());
        f.window->cmdcSaveLoad.fileName = QStringLiteral("/tmp/deck.DRD");
        f.prompter.choose(QString());
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.dialogs.back().state.fileName, QStringLiteral("/tmp/deck.DRD"));
        QCOMPARE(f.window->funcFileDialog(QStringLiteral("Drucken"), QStringLiteral("x"), QStringLiteral("drd"),
                                          QStringLiteral("y"), 0),
                 QString());
    }

    void startUpWithADeckPath() {
        MainWindowFixture f;
        const QString path = f.dir.filePath(QStringLiteral("start deck.drd"));
        testing::writeFile(path, "QUENTA 01\r\nINQ 411\r\nQUENTA 05\r\nQUENTA 06\r\n");
        f.start(u'"' + path + u'"');
        QCOMPARE(f.deckRows(), 2);
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QVERIFY(f.close() || (f.prompter.answer(core::Answer::Yes), f.close()));
        f.start(path); // unquoted
        QCOMPARE(f.deckRows(), 2);
    }

    void lineSplitting() {
        QCOMPARE(core::decodeLines("a\r\nb\rc\nd\r\n"), (QStringList{"a", "b", "c\nd"}));
        QCOMPARE(core::decodeLines("a\r\n\r\n"), (QStringList{"a", ""}));
        QCOMPARE(core::decodeLines("\xc4rger"), QStringList{QStringLiteral("Ärger")});
        QCOMPARE(core::encodeLines({QStringLiteral("GESCHÜTZT"), QString()}), QByteArray("GESCH\xdcTZT\r\n\r\n"));
    }
};

QTEST_MAIN(TstDeckFile)
#include "tst_deckfile.moc"
