// The deck list text, its window and its file.
#include "db/database.h"
#include "db/dberror.h"
#include "deck/entrynames.h"
#include "deckio/decklist.h"
#include "deckio/frmdecklist.h"
#include "tests/helpers/mainwindowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

class TstDeckList : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<db::Database> m_db;

    const QString harald = deck::leaderEntry("Harald", "Orvane", "40", "12");

    void deck(const QString& numbers) {
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        m_db->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER IN (%1)").arg(numbers));
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_db = db::Database::OpenDatabase(m_dir->databasePath());
    }
    void cleanup() {
        m_db.reset();
        m_dir.reset();
    }

    void layoutWithInquisitor() {
        deck(QStringLiteral("'ORVANE 05','ORVANE 06','SIVAR 05','GARSK 05'"));
        const QString text = deckio::buildDeckList(*m_db, harald, deck::inquisitorEntry("Vater Odo", "10", "0"));
        const QString setOf05 = m_db->OpenRecordset(QStringLiteral("SELECT SET FROM KARTEN WHERE NUMMER='SIVAR 05'")).Fields(0).toString();
        const QString expected = QStringLiteral(
            "ANFÜHRER: Harald (Orvane)\r\n"
            "          40 Karten / 12 Monde\r\n"
            "INQUISITOR: Vater Odo\r\n"
            "            +10 Karten / +0 Monde\r\n"
            "\r\n"
            "ARTEFAKT (1)\r\n"
            "GARSK (05): Garsk'sche Klinge (%1)\r\n"
            "\r\n"
            "CHARAKTER (1)\r\n"
            "ORVANE (05): D'Arvens Schwur (O)\r\n"
            "\r\n"
            "UNTERSTÜTZUNG (1)\r\n"
            "SIVAR (05): Äbtissin Güldenstern (%2)\r\n"
            "\r\n"
            "VERSTÄRKUNG (1)\r\n"
            "ORVANE (06): Öde Wacht am Übergang (%4)\r\n"
            "\r\n"
            "Anzahl Karten: 4\r\n"
            "Anzahl Monde:  %3\r\n");
        const QString garskSet = m_db->OpenRecordset(QStringLiteral("SELECT SET FROM KARTEN WHERE NUMMER='GARSK 05'")).Fields(0).toString();
        const int moons = m_db->OpenRecordset(QStringLiteral("SELECT SUM(MONDE) FROM DECK WHERE FRAKTION <> 'Orvane'")).Fields(0).toInt();
        const QString orvane06Set = m_db->OpenRecordset(QStringLiteral("SELECT SET FROM KARTEN WHERE NUMMER='ORVANE 06'")).Fields(0).toString();
        QCOMPARE(text, expected.arg(garskSet, setOf05).arg(moons).arg(orvane06Set));
    }

    void noInquisitorAndAllOfTheLeadersFaction() {
        deck(QStringLiteral("'ORVANE 05','ORVANE 07'"));
        const QString text = deckio::buildDeckList(*m_db, harald, deck::kNoInquisitor);
        QVERIFY(text.startsWith(QStringLiteral("ANFÜHRER: Harald (Orvane)\r\n          40 Karten / 12 Monde\r\n\r\nCHARAKTER (2)\r\n")));
        QVERIFY(text.endsWith(QStringLiteral("\r\n\r\nAnzahl Karten: 2\r\nAnzahl Monde:  \r\n")));
    }

    void inquisitorWithABlankIsListed() {
        deck(QStringLiteral("'ORVANE 05'"));
        QVERIFY(deckio::buildDeckList(*m_db, harald, deck::inquisitorEntry("Kelm von Aschgrau", "5", "3"))
                    .contains(QStringLiteral("INQUISITOR: Kelm von Aschgrau\r\n            +5 Karten / +3 Monde\r\n")));
    }

    void numberWithoutBlankFails() {
        m_db->Execute(QStringLiteral("INSERT INTO DECK (NAME, NUMMER, KARTENART, MONDE) VALUES ('Sonderling', 'OHNELEER', 'Ort', 1)"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, deckio::buildDeckList(*m_db, harald, deck::kNoInquisitor));
    }

    void tabLeavesTheTextForTheButtons() {
        deckio::frmDecklist list(nullptr);
        list.setDecklist(QStringLiteral("ANFÜHRER: Harald (Orvane)\r\n"));
        list.show();
        list.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        list.txtDecklist->setFocus();
        QCOMPARE(QApplication::focusWidget(), list.txtDecklist);
        QTest::keyClick(list.txtDecklist, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list.cmdClipboard);
        QCOMPARE(list.txtDecklist->toPlainText(), QStringLiteral("ANFÜHRER: Harald (Orvane)\n"));
        QTest::keyClick(list.cmdClipboard, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list.cmdClose);
    }

    void windowShowsCopiesAndSaves() {
        testing::MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.doubleClickPoolRow(f.poolRowOf(QStringLiteral("Nebelkrähe")));
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* list = qobject_cast<deckio::frmDecklist*>(QApplication::activeModalWidget());
            QVERIFY(list);
            seen = true;
            QCOMPARE(list->windowTitle(), QStringLiteral("Deckliste"));
            QVERIFY(list->txtDecklist->toPlainText().contains(QStringLiteral("ORVANE (07): Nebelkrähe (")));
            QVERIFY(!list->txtDecklist->isReadOnly());
            list->txtDecklist->appendPlainText(QStringLiteral("eigene Notiz"));
            list->cmdClipboard->click();
            QVERIFY(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("eigene Notiz")));
            list->cmdClose->click();
        });
        f.trigger("mnuShowDeckliste");
        QVERIFY(seen);

        const QString path = f.dir.filePath(QStringLiteral("liste.txt"));
        f.prompter.choose(path);
        f.trigger("mnuDeckliste");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("ANF\xdcHRER: Harald (Orvane)\r\n"));
        QVERIFY(bytes.endsWith("Anzahl Monde:  \r\n\r\n"));
        QCOMPARE(f.prompter.dialogs.back().state.filter, QStringLiteral("Textdatei (*.txt)|*.txt|Alle Dateien (*.*)|*.*"));
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Die Dravenna-Deckliste wurde gespeichert unter:\r\n") + path);
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deckliste erfolgreich gespeichert"));
    }
};

QTEST_MAIN(TstDeckList)
#include "tst_decklist.moc"
