// CardTable deck files written from and read into the main window, and the data location window.
#include "core/settings.h"
#include "db/dberror.h"
#include "deckio/cardtable.h"
#include "deckio/folderlisting.h"
#include "deckio/frmcardtabledata.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using testing::MainWindowFixture;

class TstCardTable : public QObject {
    Q_OBJECT

    static QStringList deckNumbers(MainWindowFixture& f) {
        QStringList numbers;
        for (int r = 1; r < f.window->flxDeck->Rows(); ++r)
            numbers << f.window->flxDeck->TextMatrix(r, 7);
        numbers.sort();
        return numbers;
    }

    // Card data as CardTable keeps it; ORVANE 05 is listed twice, once with a capital "Card".
    static QByteArray cardData() {
        return "# Dravenna fuer CardTable\r\n"
               "back \"bilder/orvane_ruecken.jpg\"\r\n"
               "card \"bilder/orvane/ORVANE07\" \"Nebelkraehe\" x\ny\r\n"
               "card \"bilder/orvane/orvane06\" \"Wacht\"\r\n"
               "Card \"bilder/orvane/ORVANE05\" \"Schwur\"\r\n"
               "BACK \"bilder/inq_ruecken.jpg\"\r\n"
               "card \"bilder/inq/INQ412\" \"Odo\"\r\n"
               "card \"bilder/orvane/ORVANE00\" \"Harald\"\r"
               "card \"bilder/orvane/ORVANE01\" \"Anderer\"\r\n"
               "card \"bilder/orvane/ORVANE05\" \"Schwur\"\r\n";
    }

private Q_SLOTS:
    void cardNumbersFromLines() {
        QCOMPARE(deckio::cardTableNumber(QStringLiteral("card \"x/y/ab12\" 1")), QStringLiteral("ab 12"));
        // Without a "/" the identifier starts with the line itself and so names no card.
        QCOMPARE(deckio::cardTableNumber(QStringLiteral("card \"ORVANE05\"")), QStringLiteral("card \"ORVANE 05"));
        QCOMPARE(deckio::cardTableNumber(QStringLiteral("card \"a/12b\" \"c/d\"")), QStringLiteral(" 12b"));
        QCOMPARE(deckio::cardTableNumber(QStringLiteral("card \"pfad/ohne\"")), QStringLiteral("ohne"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, deckio::cardTableNumber(QStringLiteral("card \"offen")));
        QVERIFY(deckio::isCardLine("Card x", Qt::CaseInsensitive));
        QVERIFY(!deckio::isCardLine("Card x", Qt::CaseSensitive));
        QVERIFY(deckio::isBackLine("BACK"));
        QVERIFY(!deckio::isBackLine(" back"));
    }

    void exportNeedsTheDataLocation() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("ORVANE 05")});
        f.trigger("mnuCTExport");
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        QCOMPARE(f.prompter.messages[0].text,
                 QStringLiteral("Die CardTable-Daten sind nicht angegeben worden oder existieren nicht mehr. Bitte neu angeben."));
        QCOMPARE(f.prompter.messages[0].title, QStringLiteral("CardTable-Daten nicht gefunden"));
        QCOMPARE(f.prompter.messages[0].icon, core::Icon::Exclamation);
        QVERIFY(f.prompter.dialogs.empty());
        // A stored file that has gone is the same.
        deckio::storeCardTableLocation({f.dir.path(), QStringLiteral("weg.txt")});
        f.trigger("mnuCTExport");
        QCOMPARE(f.prompter.messages.size(), size_t(2));
        QVERIFY(f.prompter.dialogs.empty());
    }

    void exportFollowsTheCardDataAndImportRestores() {
        MainWindowFixture f;
        f.start();
        testing::writeFile(f.dir.filePath(QStringLiteral("karten.txt")), cardData());
        deckio::storeCardTableLocation({f.dir.path(), QStringLiteral("karten.txt")});
        f.chooseLeader(QStringLiteral("Harald"));
        f.chooseInquisitor(QStringLiteral("Vater Odo"));
        // ORVANE 08 has no card line: it is left out without a word.
        f.addByNumber({QStringLiteral("ORVANE 05"), QStringLiteral("ORVANE 07"), QStringLiteral("ORVANE 06"),
                        QStringLiteral("ORVANE 08")});
        const QString path = f.dir.filePath(QStringLiteral("deck.ctd"));
        f.prompter.choose(path);
        f.trigger("mnuCTExport");
        const QByteArray expected = "back \"bilder/orvane_ruecken.jpg\"\r\ncard \"bilder/orvane/ORVANE07\" \"Nebelkraehe\" x\ny 1\r\n"
                                    "back \"bilder/orvane_ruecken.jpg\"\r\ncard \"bilder/orvane/orvane06\" \"Wacht\" 1\r\n"
                                    "back \"bilder/orvane_ruecken.jpg\"\r\nCard \"bilder/orvane/ORVANE05\" \"Schwur\" 1\r\n"
                                    "BACK \"bilder/inq_ruecken.jpg\"\r\ncard \"bilder/orvane/ORVANE05\" \"Schwur\" 1\r\n"
                                    "BACK \"bilder/inq_ruecken.jpg\"\r\ncard \"bilder/orvane/ORVANE00\" \"Harald\" 1\r\n"
                                    "BACK \"bilder/inq_ruecken.jpg\"\r\ncard \"bilder/inq/INQ412\" \"Odo\" 1\r\n"
                                    "\r\n";
        QCOMPARE(testing::readFile(path), expected);
        const auto& dialog = f.prompter.dialogs.at(0);
        QVERIFY(dialog.save);
        QCOMPARE(dialog.state.dialogTitle, QStringLiteral("CardTable-Deck speichern"));
        QCOMPARE(dialog.state.filter, QStringLiteral("CardTable-Deck (*.ctd)|*.ctd|Alle Dateien (*.*)|*.*"));
        QCOMPARE(dialog.state.flags, 0x8802u);
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Die CardTable-Datei wurde gespeichert unter:\r\n") + path);
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Datei erfolgreich gespeichert"));

        // Read back into a fresh window: the lower-case card lines only, the leader and inquisitor chosen.
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(path);
        f.trigger("mnuCTImport");
        QCOMPARE(f.prompter.messages.at(f.prompter.messages.size() - 2).title, QStringLiteral("CardTable-Datei Importieren"));
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Die CardTable-Datei wurde importiert"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Datei Importiert"));
        const auto& open = f.prompter.dialogs.back();
        QVERIFY(!open.save);
        QCOMPARE(open.state.dialogTitle, QStringLiteral("CardTable-Deck Importieren"));
        QCOMPARE(open.state.flags, 0x1800u);
        QCOMPARE(deckNumbers(f), (QStringList{"ORVANE 05", "ORVANE 06", "ORVANE 07"}));
        QCOMPARE(f.window->cmbLeader->currentText().left(7), QStringLiteral("Harald "));
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Harald (")));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Vater Odo (")));
        QCOMPARE(f.deckCountInDatabase(), 3);
    }

    void importTakesEachCardOnceAndKeepsTheInquisitor() {
        MainWindowFixture f;
        f.start();
        f.chooseInquisitor(QStringLiteral("Isaura"));
        const QString path = f.dir.filePath(QStringLiteral("fremd.ctd"));
        testing::writeFile(path, "back \"r\"\r\ncard \"a/ORVANE07\" 3\r\ncard \"b/orvane07\" 1\r\ncard \"c/OR'VANE05\" 1\r\n"
                    "card \"d/SIVAR00\" 1\r\ncard \"e/unbekannt\" 1\r\n");
        f.prompter.choose(path);
        f.trigger("mnuCTImport");
        QCOMPARE(f.prompter.messages.size(), size_t(1)); // no question: the deck was empty
        QCOMPARE(f.prompter.messages[0].title, QStringLiteral("CardTable-Datei Importiert"));
        QCOMPARE(deckNumbers(f), QStringList{QStringLiteral("ORVANE 07")});
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Merethis (die Ältere) (")));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Isaura (")));

        // "No" keeps the deck and opens no dialog; a broken line stops with the cards so far shown.
        f.prompter.answer(core::Answer::No);
        f.trigger("mnuCTImport");
        QCOMPARE(f.prompter.dialogs.size(), size_t(1));
        // Leader and inquisitor read before the broken line stay chosen.
        testing::writeFile(path, "card \"x/ORVANE05\"\r\ncard \"x/ORVANE00\"\r\ncard \"x/INQ412\"\r\ncard \"kaputt\r\n");
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(path);
        f.trigger("mnuCTImport");
        QVERIFY(f.prompter.messages.back().text.startsWith(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n")));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
        QCOMPARE(deckNumbers(f), QStringList{QStringLiteral("ORVANE 05")});
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Harald (")));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Vater Odo (")));
    }

    void brokenDataLineIsShownBeforeTheError() {
        MainWindowFixture f;
        f.start();
        testing::writeFile(f.dir.filePath(QStringLiteral("karten.txt")), "back x\r\ncard ohne Anfuehrungszeichen\r\n");
        deckio::storeCardTableLocation({f.dir.path(), QStringLiteral("karten.txt")});
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("ORVANE 05")});
        f.trigger("mnuCTExport");
        QCOMPARE(f.prompter.messages.size(), size_t(2));
        QCOMPARE(f.prompter.messages[0].text, QStringLiteral("card ohne Anfuehrungszeichen"));
        QCOMPARE(f.prompter.messages[0].buttons, core::Buttons::Ok);
        QVERIFY(f.prompter.messages[1].text.startsWith(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n")));
        QCOMPARE(f.prompter.messages[1].title, QStringLiteral("Dravenna-Deckliste speichern"));
        QVERIFY(f.prompter.dialogs.empty());
    }

    void locationWindowStoresOnlyAConfirmedFile() {
        MainWindowFixture f;
        f.start();
        QDir(f.dir.path()).mkpath(QStringLiteral("ct/daten"));
        const QString folder = f.dir.filePath(QStringLiteral("ct/daten"));
        testing::writeFile(folder + QStringLiteral("/cards.txt"), "back x\r\n");
        testing::writeFile(folder + QStringLiteral("/andere.txt"), "");
        const auto stored = [] { return deckio::storedCardTableLocation(); };

        deckio::frmCardTableData w(f.window.get());
        QCOMPARE(w.windowTitle(), QStringLiteral("Position CardTable-Daten"));
        QCOMPARE(w.folder(), f.dir.path()); // the program folder when nothing is stored
        QCOMPARE(w.Drive1->currentText(), deckio::driveOf(deckio::mountedDrives(), f.dir.path()));
        w.cmdOK->click();
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Es ist keine Datei ausgewählt. Bitte die CardTable-Daten auswählen."));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Daten auswählen"));
        QCOMPARE(stored().fileName, QString());

        // Down into the folder by its entry in the folder list.
        const auto enter = [&w](const QString& name) {
            const auto items = w.Dir1->findItems(name, Qt::MatchEndsWith);
            QVERIFY2(!items.isEmpty(), qPrintable(name));
            Q_EMIT w.Dir1->itemActivated(items.first());
        };
        enter(QStringLiteral("ct"));
        enter(QStringLiteral("daten"));
        QCOMPARE(w.folder(), folder);
        QCOMPARE(w.File1->count(), 2);
        w.File1->setCurrentItem(w.File1->findItems(QStringLiteral("cards.txt"), Qt::MatchExactly).first());
        w.cmdOK->click();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(stored().path, folder);
        QCOMPARE(stored().fileName, QStringLiteral("cards.txt"));

        // Opened again: the stored folder with its file chosen; cancelling after wandering stores nothing.
        deckio::frmCardTableData again(f.window.get());
        QCOMPARE(again.folder(), folder);
        QCOMPARE(again.fileName(), QStringLiteral("cards.txt"));
        again.setFolder(f.dir.path());
        again.cmdCancel->click();
        QCOMPARE(stored().path, folder);

        // A drive that cannot be read is reported and the root stands in for it.
        deckio::frmCardTableData drives(f.window.get(), {QStringLiteral("/"), f.dir.filePath(QStringLiteral("kein-laufwerk"))});
        drives.Drive1->setCurrentIndex(1);
        Q_EMIT drives.Drive1->activated(1);
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Das Laufwerk steht nicht zur Verfügung."));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Laufwerk auswählen"));
        QCOMPARE(drives.folder(), QStringLiteral("/"));
        QCOMPARE(drives.Drive1->currentText(), QStringLiteral("/"));

        // Any other failure is reported with its number, and the window stays where it was.
        const QString notAFolder = f.dir.filePath(QStringLiteral("datei-statt-laufwerk"));
        testing::writeFile(notAFolder, "x");
        deckio::frmCardTableData other(f.window.get(), {QStringLiteral("/"), f.dir.path(), notAFolder});
        other.setFolder(f.dir.path());
        const int files = other.File1->count();
        other.Drive1->setCurrentIndex(2);
        Q_EMIT other.Drive1->activated(2);
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Fehler 76\r\nPfad nicht gefunden"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Fehler!"));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Critical);
        QCOMPARE(other.folder(), f.dir.path());
        QCOMPARE(other.File1->count(), files);
        QCOMPARE(other.Drive1->currentText(), f.dir.path());
        if (::geteuid() != 0) {
            // Root reads every folder, so only an ordinary user sees a refused one.
            const QString locked = f.dir.filePath(QStringLiteral("gesperrt"));
            QVERIFY(QDir().mkdir(locked));
            QFile::setPermissions(locked, QFileDevice::Permissions());
            QCOMPARE(deckio::driveProblem(locked).number, 70);
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        QCOMPARE(deckio::driveProblem(f.dir.filePath(QStringLiteral("kein-laufwerk"))).number, 68);
        QCOMPARE(deckio::driveProblem(f.dir.path()).number, 0);

        // A file at the root is stored with the root's own separator, and the export adds none.
        QVERIFY(drives.File1->count() >= 0);
        deckio::storeCardTableLocation({drives.folder(), QStringLiteral("x.txt")});
        QCOMPARE(deckio::storedCardTableLocation().fullPath(), QStringLiteral("/x.txt"));

        // A stored folder that has gone opens its nearest existing parent.
        deckio::storeCardTableLocation({folder + QStringLiteral("/weg/tiefer"), QStringLiteral("cards.txt")});
        deckio::frmCardTableData gone(f.window.get());
        QCOMPARE(gone.folder(), folder);
        QCOMPARE(gone.fileName(), QStringLiteral("cards.txt"));
    }

    // A chroot or a container lists no mount entry for its root: a folder that lists is still there.
    void listableFolderWithoutMountEntryIsThere() {
        QTemporaryDir root;
        QVERIFY(QDir().mkdir(root.filePath(QStringLiteral("proc"))));
        QVERIFY(QDir().mkdir(root.filePath(QStringLiteral("karten"))));
        const QByteArray proc = QFile::encodeName(root.filePath(QStringLiteral("proc")));
        const pid_t child = ::fork();
        if (child == 0) {
            // A private mount namespace, so that nothing mounted here reaches the machine.
            if (::unshare(CLONE_NEWNS | (::geteuid() == 0 ? 0 : CLONE_NEWUSER)) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("/proc", proc.constData(), nullptr, MS_BIND | MS_REC, nullptr) != 0 ||
                ::chroot(QFile::encodeName(root.path()).constData()) != 0 || ::chdir("/") != 0)
                ::_exit(100);
            ::_exit(deckio::driveProblem(QStringLiteral("/")).number + deckio::driveProblem(QStringLiteral("/karten")).number);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        if (WEXITSTATUS(status) == 100)
            QSKIP("No private mount namespace here: no chroot to test in.");
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_MAIN(TstCardTable)
#include "tst_cardtable.moc"
