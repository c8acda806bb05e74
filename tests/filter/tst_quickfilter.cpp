// The quick-filter list, the header menu's values, "Kein Filter" and the name filter, in the main window.
#include "db/database.h"
#include "filter/frmsortieren.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

using testing::MainWindowFixture;

class TstQuickFilter : public QObject {
    Q_OBJECT

    static void removeFilterFiles(MainWindowFixture& f) {
        for (const QString& name : QDir(f.dir.path()).entryList({QStringLiteral("*.drfilter")}, QDir::Files))
            QVERIFY(QFile::remove(f.dir.filePath(name)));
    }
    static void choose(MainWindowFixture& f, const QString& entry) {
        QComboBox* list = f.window->cmbQuickFilter;
        const int i = list->findText(entry, Qt::MatchExactly);
        QVERIFY2(i >= 0, qPrintable(entry));
        list->setCurrentIndex(i);
        Q_EMIT list->activated(i);
    }
    static int cardsWhere(MainWindowFixture& f, const QString& condition) {
        return db::Database::OpenDatabase(f.dir.databasePath())
            ->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM KARTEN ") + condition)
            .Fields(0)
            .toInt();
    }
    static QString poolCount(MainWindowFixture& f) { return f.window->lblAnzPool->text(); }

private Q_SLOTS:
    void listFollowsTheFolder() {
        MainWindowFixture f;
        f.start();
        removeFilterFiles(f);
        testing::writeFile(f.dir.filePath(QStringLiteral("a.b.drfilter")), "WHERE FREI = TRUE \r\n");
        testing::writeFile(f.dir.filePath(QStringLiteral(".versteckt.drfilter")), "WHERE FREI = TRUE \r\n");
        QDir(f.dir.path()).mkdir(QStringLiteral("unter"));
        testing::writeFile(f.dir.filePath(QStringLiteral("unter/tief.drfilter")), "WHERE FREI = TRUE \r\n");
        f.window->funcSetQuickFilterCombo();
        QVERIFY(f.window->cmbQuickFilter->isEnabled());
        QCOMPARE(f.window->cmbQuickFilter->count(), 2);
        QCOMPARE(f.window->cmbQuickFilter->itemText(0), QString());
        QCOMPARE(f.window->cmbQuickFilter->itemText(1), QStringLiteral("a.b"));
        QCOMPARE(f.window->cmbQuickFilter->currentIndex(), -1);

        removeFilterFiles(f);
        f.window->funcSetQuickFilterCombo();
        QVERIFY(!f.window->cmbQuickFilter->isEnabled());
        QCOMPARE(f.window->cmbQuickFilter->count(), 0);
    }

    void choosingAFileAppliesItsFirstLine() {
        MainWindowFixture f;
        f.start();
        const int all = f.poolRows();
        testing::writeFile(f.dir.filePath(QStringLiteral("Zwei Zeilen.drfilter")), "WHERE FREI = TRUE \r\nWHERE PAAR = TRUE \r\n");
        f.window->funcSetQuickFilterCombo();
        choose(f, QStringLiteral("Zwei Zeilen"));
        QCOMPARE(f.window->WHERE, QStringLiteral("WHERE FREI = TRUE "));
        const int frei = cardsWhere(f, QStringLiteral("WHERE FREI = TRUE"));
        QVERIFY(frei > 0 && frei < all);
        QCOMPARE(f.poolRows(), frei);
        QCOMPARE(poolCount(f), QStringLiteral("Anzahl Karten: %1").arg(frei));
        QCOMPARE(f.window->dtaPool.RecordSource, f.window->SQLPOOL + QStringLiteral("WHERE FREI = TRUE ") + f.window->ORDER);

        // "Kein Filter" removes it while the list still names the file.
        f.trigger("mnuKeinFilter");
        QCOMPARE(f.window->WHERE, QString());
        QCOMPARE(f.poolRows(), all);
        QCOMPARE(f.window->cmbQuickFilter->currentText(), QStringLiteral("Zwei Zeilen"));

        choose(f, QStringLiteral("Charaktere Feuer"));
        QVERIFY(f.poolRows() < all);
        choose(f, QString());
        QCOMPARE(f.window->WHERE, QString());
        QCOMPARE(f.poolRows(), all);
    }

    void brokenFilterFilesAreReportedAndTheProgramGoesOn() {
        MainWindowFixture f;
        f.start();
        const int all = f.poolRows();
        testing::writeFile(f.dir.filePath(QStringLiteral("Kaputt.drfilter")), "WHERE FREI = \r\n");
        testing::writeFile(f.dir.filePath(QStringLiteral("Weg.drfilter")), "WHERE FREI = TRUE \r\n");
        f.window->funcSetQuickFilterCombo();
        choose(f, QStringLiteral("Kaputt"));
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        QVERIFY(f.prompter.messages[0].text.startsWith(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n")));
        QCOMPARE(f.prompter.messages[0].icon, core::Icon::Critical);
        QVERIFY(QFile::remove(f.dir.filePath(QStringLiteral("Weg.drfilter"))));
        choose(f, QStringLiteral("Weg"));
        QCOMPARE(f.prompter.messages.size(), size_t(2));
        // A file from a stranger cannot write through the pool query.
        testing::writeFile(f.dir.filePath(QStringLiteral("Boese.drfilter")), "WHERE 1 = 1; DELETE * FROM KARTEN\r\n");
        f.window->funcSetQuickFilterCombo();
        choose(f, QStringLiteral("Boese"));
        QCOMPARE(f.prompter.messages.size(), size_t(3));
        QCOMPARE(cardsWhere(f, QString()), all);
        // A working filter still works afterwards.
        choose(f, QString());
        QCOMPARE(f.poolRows(), all);
    }

    void nameFilterNarrowsWhileTyping() {
        MainWindowFixture f;
        f.start();
        ui::frmMain* w = f.window.get();
        const int all = f.poolRows();
        QTest::keyClicks(w->txtQuickNameFilter, QStringLiteral("nebel"));
        QCOMPARE(w->dtaPool.RecordSource, w->SQLPOOL + QStringLiteral(" WHERE NAME LIKE '*nebel*' ") + w->ORDER);
        int expected = 0;
        {
            auto rs = db::Database::OpenDatabase(f.dir.databasePath())->OpenRecordset(QStringLiteral("SELECT NAME FROM KARTEN"));
            for (; !rs.Eof(); rs.MoveNext())
                expected += rs.Fields(0).toString().contains(QStringLiteral("nebel"), Qt::CaseInsensitive);
        }
        QVERIFY(expected > 0);
        QCOMPARE(f.poolRows(), expected);
        QCOMPARE(poolCount(f), QStringLiteral("Anzahl Karten: %1").arg(expected));
        QCOMPARE(w->WHERE, QString());

        // With a filter in force the name narrows it further, and WHERE stays as it was.
        w->WHERE = QStringLiteral("WHERE FREI = TRUE ");
        QTest::keyClick(w->txtQuickNameFilter, Qt::Key_Backspace);
        QCOMPARE(w->dtaPool.RecordSource, w->SQLPOOL + QStringLiteral("WHERE (FREI = TRUE) AND NAME LIKE '*nebe*' ") + w->ORDER);
        QCOMPARE(w->WHERE, QStringLiteral("WHERE FREI = TRUE "));
        // A filter joined by OR is narrowed as a whole: every card shown carries the name.
        w->WHERE = QStringLiteral("WHERE [StFeuer] >= 3 OR [Kartenart] = 'Artefakt' ");
        QTest::keyClick(w->txtQuickNameFilter, Qt::Key_L);
        QVERIFY(f.poolRows() > 0);
        for (int r = 1; r <= f.poolRows(); ++r)
            QVERIFY2(w->flxPool->TextMatrix(r, 1).contains(QStringLiteral("nebel"), Qt::CaseInsensitive),
                     qPrintable(w->flxPool->TextMatrix(r, 1)));
        QTest::keyClick(w->txtQuickNameFilter, Qt::Key_Backspace);
        w->WHERE = QStringLiteral("WHERE FREI = TRUE ");
        w->txtQuickNameFilter->clear();
        QCOMPARE(w->dtaPool.RecordSource, w->SQLPOOL + QStringLiteral("WHERE FREI = TRUE ") + w->ORDER);
        w->WHERE.clear();

        QTest::keyClicks(w->txtQuickNameFilter, QStringLiteral("D'A"));
        QVERIFY(w->dtaPool.RecordSource.contains(QStringLiteral("'*D''A*'")));
        QVERIFY(f.poolRows() > 0); // "D'Arvens Schwur"
        QVERIFY(f.prompter.messages.empty());

        // An unmatched "[" is no pattern; the player is told and may go on typing.
        QTest::keyClick(w->txtQuickNameFilter, Qt::Key_BracketLeft);
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        QTest::keyClick(w->txtQuickNameFilter, Qt::Key_Backspace);
        QVERIFY(f.poolRows() > 0);

        // Confirming the sort dialog builds its query without the name, though the box still shows it.
        QVERIFY(f.withDialog<filter::frmSortieren>("mnuSortieren", [](filter::frmSortieren& d) { d.cmdOK->click(); }));
        QCOMPARE(w->txtQuickNameFilter->text(), QStringLiteral("D'A"));
        QCOMPARE(f.poolRows(), all);
        QCOMPARE(w->dtaPool.RecordSource, w->SQLPOOL + w->ORDER);
    }
};

QTEST_MAIN(TstQuickFilter)
#include "tst_quickfilter.moc"
