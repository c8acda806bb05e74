// "Zuletzt geöffnet": the list of recent deck files on its own, and through the real main window.
#include "core/settings.h"
#include "deckio/recentdecks.h"
#include "tests/helpers/deckfiles.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QtTest/QTest>

using deckio::RecentDecks;
using testing::MainWindowFixture;

namespace {

// The captions and tool tips of the submenu's entries, in menu order.
QStringList captions(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << a->text();
    return out;
}
QStringList tooltips(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << a->toolTip();
    return out;
}

QStringList storedPaths() {
    QStringList out;
    const auto s = core::openSettings(QStringLiteral("Recent"));
    for (int i = 1; i <= 8; ++i)
        out << s->value(QStringLiteral("File%1").arg(i)).toString();
    return out;
}

} // namespace

class TstRecentDecks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderDedupeAndLimitOfTheList() {
        QTemporaryDir dir;
        auto file = [&](const QString& name) {
            testing::writeFile(dir.filePath(name), "x");
            return dir.filePath(name);
        };
        RecentDecks list;
        for (int i = 1; i <= 9; ++i)
            list.add(file(QStringLiteral("d%1.drd").arg(i)));
        // Newest first; the ninth pushed the first one off.
        QCOMPARE(list.paths().size(), 8);
        QCOMPARE(list.paths().first(), dir.filePath(QStringLiteral("d9.drd")));
        QCOMPARE(list.paths().last(), dir.filePath(QStringLiteral("d2.drd")));
        QVERIFY(!list.paths().contains(dir.filePath(QStringLiteral("d1.drd"))));

        // A file already listed moves to the top instead of appearing twice, also when named another way.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        list.add(dir.path() + QStringLiteral("/sub/../d5.drd"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("d3.drd")), dir.filePath(QStringLiteral("link.drd"))));
        list.add(dir.filePath(QStringLiteral("link.drd")));
        QCOMPARE(list.paths().size(), 8);
        QCOMPARE(list.paths().mid(0, 3), (QStringList{dir.filePath(QStringLiteral("d3.drd")), dir.filePath(QStringLiteral("d5.drd")),
                                                       dir.filePath(QStringLiteral("d9.drd"))}));
        QCOMPARE(list.paths().count(dir.filePath(QStringLiteral("d5.drd"))), 1);

        // A relative name is kept absolute: the list must not depend on the folder the program runs in.
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        list.add(QStringLiteral("d1.drd"));
        QDir::setCurrent(before);
        QCOMPARE(list.paths().first(), dir.filePath(QStringLiteral("d1.drd")));

        // A vanished file is removed by the text the list holds.
        const QString gone = list.paths().at(3);
        QVERIFY(QFile::remove(gone));
        QVERIFY(list.remove(gone));
        QVERIFY(!list.paths().contains(gone));
        QVERIFY(!list.remove(gone));
        QCOMPARE(list.paths().size(), 7);
    }

    void captionsNumberTheEntriesAndShowAmpersands() {
        QCOMPARE(RecentDecks::caption(1, QStringLiteral("/home/p/Orvane.drd")), QStringLiteral("&1 Orvane.drd"));
        QCOMPARE(RecentDecks::caption(8, QStringLiteral("/home/p/a & b.drd")), QStringLiteral("&8 a && b.drd"));
        // Files of one name are told apart by their folder's name, or by the whole folder where that is alike too.
        RecentDecks list;
        for (const char* path : {"/x/alt/Orvane.drd", "/y/alt/Orvane.drd", "/home/p/Sivar.drd", "/home/p/neu & gut/Orvane.drd",
                                 "/home/p/a.drd", "/home/q/b/a.drd"})
            list.add(QString::fromUtf8(path));
        QCOMPARE(list.captions(), (QStringList{"&1 a.drd (b)", "&2 a.drd (p)", "&3 Orvane.drd (neu && gut)", "&4 Sivar.drd",
                                              "&5 Orvane.drd (/y/alt)", "&6 Orvane.drd (/x/alt)"}));
    }

    void theStoreKeepsTheListAndCleansAnEditedOne() {
        QTemporaryDir settingsDir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        {
            auto s = core::openSettings(QStringLiteral("Recent"));
            RecentDecks list;
            list.add(QStringLiteral("/decks/old.drd"));
            list.add(QStringLiteral("/decks/new.drd"));
            list.toSettings(*s);
        }
        QCOMPARE(storedPaths().mid(0, 3), (QStringList{"/decks/new.drd", "/decks/old.drd", QString()}));
        {
            auto s = core::openSettings(QStringLiteral("Recent"));
            QCOMPARE(RecentDecks::fromSettings(*s).paths(), (QStringList{"/decks/new.drd", "/decks/old.drd"}));
            // Edited by hand: a gap, a repeat, a key beyond the eighth.
            s->setValue(QStringLiteral("File1"), QStringLiteral("/decks/a.drd"));
            s->remove(QStringLiteral("File2"));
            s->setValue(QStringLiteral("File3"), QStringLiteral("/decks/b.drd"));
            s->setValue(QStringLiteral("File4"), QStringLiteral("/decks/a.drd"));
            s->setValue(QStringLiteral("File9"), QStringLiteral("/decks/c.drd"));
            s->sync();
            const RecentDecks list = RecentDecks::fromSettings(*s);
            QCOMPARE(list.paths(), (QStringList{"/decks/a.drd", "/decks/b.drd"}));
            list.toSettings(*s);
        }
        QCOMPARE(storedPaths().mid(0, 3), (QStringList{"/decks/a.drd", "/decks/b.drd", QString()}));
    }

    void theMenuComesLastInDateiAndListsLoadedAndSavedDecks() {
        MainWindowFixture f;
        f.start();
        QMenu* datei = f.window->findChild<QMenu*>(QStringLiteral("mnuHDatei"));
        QVERIFY(datei);
        const QList<QAction*> entries = datei->actions();
        // The specified entries keep their order; the list stands directly above "Beenden", behind a separator
        // of its own, and the exit entry stays last.
        QCOMPARE(entries.size(), 11);
        QCOMPARE(entries.at(4)->objectName(), QStringLiteral("mnuSep1"));
        QCOMPARE(entries.at(8)->text(), QStringLiteral("Zuletzt geöffnet"));
        QCOMPARE(entries.at(8)->menu(), f.window->mnuZuletzt);
        QVERIFY(entries.at(9)->isSeparator());
        QCOMPARE(entries.at(9)->objectName(), QStringLiteral("mnuSepZuletzt"));
        QCOMPARE(entries.last()->objectName(), QStringLiteral("mnuBeenden"));
        QCOMPARE(entries.last()->text(), QStringLiteral("Beenden"));
        // Nothing loaded or saved yet.
        QVERIFY(f.window->mnuZuletzt->actions().isEmpty());
        QVERIFY(!entries.at(8)->isEnabled());

        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({"ORVANE 07"});
        const QString saved = f.dir.filePath(QStringLiteral("Gespeichert & neu.drd"));
        f.prompter.choose(saved);
        f.trigger("mnuSpeichern");
        QCOMPARE(captions(f.window->mnuZuletzt), QStringList{"&1 Gespeichert && neu.drd"});
        QCOMPARE(tooltips(f.window->mnuZuletzt), QStringList{saved});
        QVERIFY(f.window->mnuZuletzt->toolTipsVisible());
        QVERIFY(entries.at(8)->isEnabled());

        const QString loaded = f.dir.filePath(QStringLiteral("Geladen.drd"));
        testing::writeFile(loaded, testing::deckFileFor(f.dir.databasePath(), QStringLiteral("Hild"), 3));
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(loaded);
        f.trigger("mnuLaden");
        QCOMPARE(captions(f.window->mnuZuletzt), (QStringList{"&1 Geladen.drd", "&2 Gespeichert && neu.drd"}));
        QCOMPARE(tooltips(f.window->mnuZuletzt), (QStringList{loaded, saved}));

        // A failed load does not put its file on the list.
        const QString broken = f.dir.filePath(QStringLiteral("Kaputt.drd"));
        testing::writeFile(broken, "KEIN ANFUEHRER\r\n\r\n");
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(broken);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
        QCOMPARE(tooltips(f.window->mnuZuletzt), (QStringList{loaded, saved}));

        // The next program start offers the same list.
        QVERIFY(f.close());
        f.start();
        QCOMPARE(tooltips(f.window->mnuZuletzt), (QStringList{loaded, saved}));
        QCOMPARE(storedPaths().mid(0, 3), (QStringList{loaded, saved, QString()}));
    }

    void nineDecksLeaveTheNewestEight() {
        MainWindowFixture f;
        QStringList paths;
        for (int i = 1; i <= 9; ++i) {
            paths << f.dir.filePath(QStringLiteral("deck%1.drd").arg(i));
            testing::writeFile(paths.last(), testing::deckFileFor(f.dir.databasePath(), QStringLiteral("Harald"), i));
        }
        f.start();
        for (const QString& p : paths) {
            if (f.deckRows() > 0)
                f.prompter.answer(core::Answer::Yes);
            f.prompter.choose(p);
            f.trigger("mnuLaden");
        }
        QCOMPARE(f.deckRows(), 9);
        QStringList expected;
        for (int i = 9; i >= 2; --i)
            expected << QStringLiteral("&%1 deck%2.drd").arg(10 - i).arg(i);
        QCOMPARE(captions(f.window->mnuZuletzt), expected);
        // Loading one again moves it up; nothing is listed twice.
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(paths.at(4));
        f.trigger("mnuLaden");
        QCOMPARE(captions(f.window->mnuZuletzt).mid(0, 3), (QStringList{"&1 deck5.drd", "&2 deck9.drd", "&3 deck8.drd"}));
        QCOMPARE(captions(f.window->mnuZuletzt).size(), 8);
    }

    void choosingAnEntryLoadsAsDeckLadenWould() {
        MainWindowFixture f;
        const QString first = f.dir.filePath(QStringLiteral("Erstes.drd"));
        const QString second = f.dir.filePath(QStringLiteral("Zweites.drd"));
        testing::writeFile(first, testing::deckFileFor(f.dir.databasePath(), QStringLiteral("Hild"), 5));
        testing::writeFile(second, testing::deckFileFor(f.dir.databasePath(), QStringLiteral("Adelhild"), 3));
        f.start();
        f.prompter.choose(first);
        f.trigger("mnuLaden");
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(second);
        f.trigger("mnuLaden");
        QCOMPARE(captions(f.window->mnuZuletzt), (QStringList{"&1 Zweites.drd", "&2 Erstes.drd"}));
        QCOMPARE(f.deckRows(), 3);
        const QStringList secondDeck = f.deckNames();
        const size_t dialogs = f.prompter.dialogs.size();

        // No to the discard question: deck, leader and list stay as they are.
        f.prompter.answer(core::Answer::No);
        f.window->mnuZuletzt->actions().at(1)->trigger();
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\nSoll das aktuelle Deck verworfen werden?"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
        QCOMPARE(f.deckNames(), secondDeck);
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Adelhild (")));
        QCOMPARE(captions(f.window->mnuZuletzt), (QStringList{"&1 Zweites.drd", "&2 Erstes.drd"}));

        // Yes: the first deck is back, reported as "Deck Laden" reports it, and it is on top again.
        f.prompter.answer(core::Answer::Yes);
        f.window->mnuZuletzt->actions().at(1)->trigger();
        QCOMPARE(f.prompter.dialogs.size(), dialogs); // no file dialog
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck geladen"));
        QCOMPARE(f.deckRows(), 5);
        QCOMPARE(f.deckCountInDatabase(), 5);
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Hild (")));
        QCOMPARE(f.window->cmbInquisitor->currentText(), QStringLiteral("- "));
        QCOMPARE(f.window->tvwNotes->topLevelItem(0)->text(0), QStringLiteral("Anzahl Karten: 5"));
        QCOMPARE(captions(f.window->mnuZuletzt), (QStringList{"&1 Erstes.drd", "&2 Zweites.drd"}));
        // The deck dialog offers the chosen file next, as after choosing it there.
        f.prompter.choose(QString());
        f.trigger("mnuSpeichern");
        QCOMPARE(f.prompter.dialogs.back().state.fileName, first);
    }

    void aVanishedFileIsTakenOffTheListWithAMessage() {
        MainWindowFixture f;
        const QString kept = f.dir.filePath(QStringLiteral("Bleibt.drd"));
        const QString gone = f.dir.filePath(QStringLiteral("Weg.drd"));
        testing::writeFile(kept, testing::deckFileFor(f.dir.databasePath(), QStringLiteral("Hild"), 2));
        testing::writeFile(gone, testing::deckFileFor(f.dir.databasePath(), QStringLiteral("Hild"), 4));
        f.start();
        f.prompter.choose(kept);
        f.trigger("mnuLaden");
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(gone);
        f.trigger("mnuLaden");
        QCOMPARE(f.deckRows(), 4);
        QVERIFY(QFile::remove(gone));
        const size_t before = f.prompter.messages.size();

        f.window->mnuZuletzt->actions().at(0)->trigger();
        // One message, no discard question; the deck stays.
        QCOMPARE(f.prompter.messages.size(), before + 1);
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Die Deck-Datei wurde nicht gefunden und aus der Liste entfernt:\r\n") + gone);
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Exclamation);
        QCOMPARE(f.deckRows(), 4);
        QCOMPARE(captions(f.window->mnuZuletzt), QStringList{"&1 Bleibt.drd"});
        QCOMPARE(storedPaths().mid(0, 2), (QStringList{kept, QString()}));
    }

    void eachKindOfFileDialogOpensInTheFolderLastUsedForIt() {
        MainWindowFixture f;
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("Decks/alt")) && QDir(f.dir.path()).mkpath(QStringLiteral("Listen")));
        const QString decks = f.dir.filePath(QStringLiteral("Decks/alt"));
        const QString lists = f.dir.filePath(QStringLiteral("Listen"));
        const QString first = f.dir.path();
        // The folder the entry's file dialog opened in; the path is what the player then chooses (empty: cancel).
        const auto folderOf = [&f](const char* entry, const QString& chosen) {
            const size_t before = f.prompter.dialogs.size();
            f.prompter.choose(chosen);
            f.trigger(entry);
            return f.prompter.dialogs.size() == before + 1 ? f.prompter.dialogs.back().state.initDir : QStringLiteral("(none)");
        };
        const auto deckWithACard = [&f] {
            if (f.deckRows() == 0) {
                f.chooseLeader(QStringLiteral("Harald"));
                f.addByNumber({"ORVANE 07"});
            }
        };
        const auto yesIfCards = [&f] {
            if (f.deckRows() > 0)
                f.prompter.answer(core::Answer::Yes);
        };
        f.start();
        deckWithACard();
        // The first time each dialog opens where it always has.
        QCOMPARE(folderOf("mnuSpeichern", decks + QStringLiteral("/Erstes.drd")), first);
        QCOMPARE(folderOf("mnuDeckliste", lists + QStringLiteral("/Liste.txt")), first);
        QVERIFY(QFile::exists(lists + QStringLiteral("/Liste.txt")));
        yesIfCards();
        QCOMPARE(folderOf("mnuCTImport", QString()), first);
        // Then in the folder last used for that kind of file: decks, lists and CardTable files apart.
        deckWithACard();
        QCOMPARE(folderOf("mnuDeckliste", QString()), lists);
        yesIfCards();
        QCOMPARE(folderOf("mnuCTImport", QString()), first);
        yesIfCards();
        QCOMPARE(folderOf("mnuLaden", QString()), decks);
        // Kept for the next start; a folder that has gone gives way to the first one.
        yesIfCards();
        QVERIFY(f.close());
        QVERIFY(QDir(lists).removeRecursively());
        f.start();
        QCOMPARE(folderOf("mnuLaden", QString()), decks);
        deckWithACard();
        QCOMPARE(folderOf("mnuDeckliste", QString()), first);
    }
};

QTEST_MAIN(TstRecentDecks)
#include "tst_recentdecks.moc"
