// Leader and inquisitor lists, their buttons, the standard deck and a new deck.
#include "db/database.h"
#include "deck/deckmarking.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest/QTest>

using testing::MainWindowFixture;
using Shown = QPair<QString, QString>;

class TstLeader : public QObject {
    Q_OBJECT

    static int setCount(MainWindowFixture& f, const QString& code) {
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        return conn->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM KARTEN WHERE KARTEN.SET = '%1'").arg(code)).Fields(0).toInt();
    }
    static QString note(MainWindowFixture& f, const QString& key) {
        for (QTreeWidgetItemIterator it(f.window->tvwNotes); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == key)
                return (*it)->text(0);
        return QStringLiteral("<none>");
    }

private Q_SLOTS:
    void choosingALeaderPicksNoInquisitorAndShowsTheLeader() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Merethis (die Ältere)"));
        QCOMPARE(f.window->cmbInquisitor->currentText(), QStringLiteral("- "));
        QCOMPARE(f.viewer.last(), (Shown{"Merethis (die Ältere)", "ANFUEHRER"}));
        // A name with brackets of its own is still found, with its faction and limits.
        QCOMPARE(note(f, "B"), QStringLiteral("Hauptfraktion: Sivar"));
        f.window->cmdShowInq->click();
        QCOMPARE(f.viewer.last(), (Shown{"-", "INQUISITOR"}));
        f.chooseInquisitor(QStringLiteral("Vater Odo"));
        QCOMPARE(f.viewer.last(), (Shown{"Vater Odo", "INQUISITOR"}));
        f.window->cmdShowLeader->click();
        QCOMPARE(f.viewer.last(), (Shown{"Merethis (die Ältere)", "ANFUEHRER"}));
        f.window->cmdShowInq->click();
        QCOMPARE(f.viewer.last(), (Shown{"Vater Odo", "INQUISITOR"}));
    }

    void inquisitorWithBracketsInItsNameIsFoundEverywhere() {
        MainWindowFixture f;
        db::Database::OpenDatabase(f.dir.databasePath())
            ->Execute(QStringLiteral("INSERT INTO INQUISITOR VALUES ('Mordan (der Jüngere)', 3, 1, 'INQ 499')"));
        f.start();
        f.chooseLeader(QStringLiteral("Hild"));
        f.chooseInquisitor(QStringLiteral("Mordan (der Jüngere)"));
        QCOMPARE(f.viewer.last(), (Shown{"Mordan (der Jüngere)", "INQUISITOR"}));
        f.window->cmdShowLeader->click();
        f.window->cmdShowInq->click();
        QCOMPARE(f.viewer.last(), (Shown{"Mordan (der Jüngere)", "INQUISITOR"}));
        f.addByNumber({"SIVAR 06"});

        // The deck file names the inquisitor by its number, and loading it chooses it again.
        const QString deck = f.dir.filePath(QStringLiteral("mordan.drd"));
        f.prompter.choose(deck);
        f.trigger("mnuSpeichern");
        QVERIFY(testing::readFile(deck).contains("\r\nINQ 499\r\n"));
        f.chooseInquisitor(QStringLiteral("-"));
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(deck);
        f.trigger("mnuLaden");
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Mordan (der Jüngere) (+3")));

        // The deck list finds its limits.
        const QString list = f.dir.filePath(QStringLiteral("mordan.txt"));
        f.prompter.choose(list);
        f.trigger("mnuDeckliste");
        const QByteArray text = testing::readFile(list);
        QVERIFY2(text.contains("INQUISITOR: Mordan (der J\xfcngere)\r\n            +3 Karten / +1 Monde"), text.constData());
    }

    void buttonsDoNothingWithoutALeader() {
        MainWindowFixture f;
        f.start();
        const auto before = f.viewer.shown.size();
        f.window->cmdShowLeader->click();
        f.window->cmdShowInq->click();
        f.window->cmdStandard->click();
        QCOMPARE(f.viewer.shown.size(), before);
        QCOMPARE(f.deckCountInDatabase(), 0);
        QVERIFY(f.prompter.messages.empty());
    }

    void standardDeckWithAndWithoutTheQuestion() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald der Kühne"));
        f.window->cmdStandard->click();
        QVERIFY(f.prompter.messages.empty());
        const int orvane = setCount(f, QStringLiteral("O"));
        QCOMPARE(f.deckRows(), orvane);
        QCOMPARE(note(f, "A"), QStringLiteral("Anzahl Karten: %1").arg(orvane));
        int grey = 0;
        for (int r = 0; r < f.window->dtaPool.model().rowCount(); ++r)
            grey += f.window->dtaPool.model().rowColor(r) == deck::kInDeckGrey;
        QCOMPARE(grey, orvane);

        // No keeps the deck.
        f.chooseLeader(QStringLiteral("Sivrid Eisenhand"));
        f.prompter.answer(core::Answer::No);
        f.window->cmdStandard->click();
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\nSoll das aktuelle Deck verworfen werden?"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Standard-Deck"));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Question);
        QCOMPARE(f.deckRows(), orvane);
        // Yes replaces it.
        f.prompter.answer(core::Answer::Yes);
        f.window->cmdStandard->click();
        QCOMPARE(f.deckRows(), setCount(f, QStringLiteral("S")));
        QCOMPARE(f.window->cmbLeader->currentText().left(16), QStringLiteral("Sivrid Eisenhand"));
    }

    void standardDeckOfAnUnfoundLeaderLeavesTheEmptiedDeck() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.doubleClickPoolRow(1);
        // The leader's row has gone from the catalogue since the list was filled.
        db::Database::OpenDatabase(f.dir.databasePath())->Execute(QStringLiteral("DELETE * FROM ANFUEHRER WHERE NAME = 'Harald'"));
        f.prompter.answer(core::Answer::Yes);
        f.window->cmdStandard->click();
        QCOMPARE(f.deckRows(), 0);
    }

    void newDeck() {
        MainWindowFixture f;
        f.start();
        f.trigger("mnuNeuesDeck");
        QVERIFY(f.prompter.messages.empty());
        QCOMPARE(note(f, "A"), QStringLiteral("Anzahl Karten: 0"));
        f.chooseLeader(QStringLiteral("Hild"));
        f.chooseInquisitor(QStringLiteral("Isaura"));
        f.doubleClickPoolRow(2);
        f.prompter.answer(core::Answer::No);
        f.trigger("mnuNeuesDeck");
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Soll das aktuelle Deck verworfen werden und ein Neues begonnen werden?"));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Neues Deck"));
        QCOMPARE(f.deckRows(), 1);
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");
        QCOMPARE(f.deckRows(), 0);
        QCOMPARE(f.window->dtaPool.model().rowColor(1), deck::kBlack);
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Hild (")));
        QVERIFY(f.window->cmbInquisitor->currentText().startsWith(QStringLiteral("Isaura (")));
    }
};

QTEST_MAIN(TstLeader)
#include "tst_leader.moc"
