// The filter, special filter and sort dialogs, opened from the main window's menus.
#include "db/database.h"
#include "filter/frmfilter.h"
#include "filter/frmsortieren.h"
#include "filter/frmspezfilter.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>

using testing::MainWindowFixture;

class TstFilterDialogs : public QObject {
    Q_OBJECT

    static void pick(QComboBox* list, const QString& entry) {
        const int i = list->findText(entry, Qt::MatchExactly);
        QVERIFY2(i >= 0, qPrintable(entry));
        list->setCurrentIndex(i);
    }
    static int cardsWhere(MainWindowFixture& f, const QString& condition) {
        return db::Database::OpenDatabase(f.dir.databasePath())
            ->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM KARTEN ") + condition)
            .Fields(0)
            .toInt();
    }

private Q_SLOTS:
    void filterDialogSetsAndKeepsItsFilter() {
        MainWindowFixture f;
        f.start();
        const int all = f.poolRows();
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [](filter::frmFilter& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Filter"));
            for (QComboBox* list : {d.cmbKartenArt, d.cmbFraktion, d.cmbStF, d.cmbStE, d.cmbMonde, d.cmbGang}) {
                QCOMPARE(list->itemText(0), QString());
                QVERIFY(list->count() > 2);
            }
            pick(d.cmbKartenArt, QStringLiteral("Charakter"));
            d.chkFrei->setChecked(true);
            d.cmdOK->click();
        }));
        ui::frmMain* w = f.window.get();
        QCOMPARE(w->WHERE, QStringLiteral("WHERE KARTENART = 'Charakter'  AND FREI = TRUE "));
        const int filtered = cardsWhere(f, w->WHERE);
        QVERIFY(filtered > 0 && filtered < all);
        QCOMPARE(f.poolRows(), filtered);
        QCOMPARE(w->lblAnzPool->text(), QStringLiteral("Anzahl Karten: %1").arg(filtered));

        // Re-opened after "OK" it shows the same settings; "OK" again applies the same filter.
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [w](filter::frmFilter& d) {
            QCOMPARE(w->WHERE, QString()); // opening starts unfiltered
            QCOMPARE(d.cmbKartenArt->currentText(), QStringLiteral("Charakter"));
            QVERIFY(d.chkFrei->isChecked());
            d.cmdOK->click();
        }));
        QCOMPARE(f.poolRows(), filtered);

        // The close box removes the filter, and the next opening is empty again.
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [](filter::frmFilter& d) { d.close(); }));
        QCOMPARE(w->WHERE, QString());
        QCOMPARE(f.poolRows(), all);
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [](filter::frmFilter& d) {
            QCOMPARE(d.cmbKartenArt->currentText(), QString());
            QVERIFY(!d.chkFrei->isChecked());
            d.txtName->setText(QStringLiteral("d'Or"));
            d.cmdNoFilter->click();
        }));
        QCOMPARE(w->WHERE, QString());
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [](filter::frmFilter& d) {
            QCOMPARE(d.txtName->text(), QString());
            d.cmdOK->click();
        }));
        QCOMPARE(w->WHERE, QString());
        QCOMPARE(f.poolRows(), all);
    }

    void filterDialogOverridesAQuickFilterAndSaves() {
        MainWindowFixture f;
        f.start();
        ui::frmMain* w = f.window.get();
        w->WHERE = QStringLiteral("WHERE FREI = TRUE ");
        const QString path = f.dir.filePath(QStringLiteral("Paar Stopp.drfilter"));
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [&](filter::frmFilter& d) {
            d.cmdSave->click(); // nothing set
            QCOMPARE(f.prompter.messages.size(), size_t(1));
            QCOMPARE(f.prompter.messages[0].text, QStringLiteral("Es ist kein Filter eingestellt."));
            QCOMPARE(f.prompter.messages[0].title, QStringLiteral("Dravenna Filter speichern"));
            QVERIFY(f.prompter.dialogs.empty());

            d.chkPaar->setChecked(true);
            d.chkStopp->setChecked(true);
            f.prompter.choose(path);
            d.cmdSave->click();
            QVERIFY(d.isVisible());
            d.close();
        }));
        QCOMPARE(testing::readFile(path), QByteArray("WHERE PAAR = TRUE  AND STOP = TRUE \r\n"));
        const auto& dialog = f.prompter.dialogs.at(0);
        QVERIFY(dialog.save);
        QCOMPARE(dialog.state.dialogTitle, QStringLiteral("Dravenna-Filter speichern"));
        QCOMPARE(dialog.state.filter, QStringLiteral("Dravenna-Filter (*.drfilter)|*.drfilter|Alle Dateien (*.*)|*.*"));
        QCOMPARE(dialog.state.defaultExt, QStringLiteral("drfilter"));
        QCOMPARE(dialog.state.initDir, f.dir.path());
        QCOMPARE(dialog.state.flags, core::dialogflags::OverwritePrompt | core::dialogflags::PathMustExist |
                                         core::dialogflags::NoReadOnlyReturn);
        QCOMPARE(f.prompter.messages.at(1).text, QStringLiteral("Der Dravenna-Filter wurde gespeichert unter:\r\n") + path);
        QCOMPARE(f.prompter.messages.at(1).title, QStringLiteral("Dravenna-Filter erfolgreich gespeichert"));
        QCOMPARE(f.prompter.messages.at(1).icon, core::Icon::Information);
        // Saving left WHERE alone; the close box then removed the quick filter that was in force.
        QCOMPARE(w->WHERE, QString());
        QVERIFY(w->cmbQuickFilter->findText(QStringLiteral("Paar Stopp")) > 0);
    }

    void savingIntoAMissingFolderIsReported() {
        MainWindowFixture f;
        f.start();
        const QString path = f.dir.filePath(QStringLiteral("fehlt/x.drfilter"));
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [&](filter::frmSpezFilter& d) {
            d.txtFilter->setPlainText(QStringLiteral("Frei"));
            f.prompter.choose(path);
            d.cmdSave->click();
            f.prompter.choose(QString()); // cancelled: nothing at all
            d.cmdSave->click();
        }));
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        QVERIFY(f.prompter.messages[0].text.startsWith(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n")));
        QCOMPARE(f.prompter.messages[0].title, QStringLiteral("Dravenna-Filter speichern"));
        QCOMPARE(f.prompter.messages[0].icon, core::Icon::Critical);
        QVERIFY(!QFile::exists(path));
    }

    void specialFilterTestsItsCondition() {
        MainWindowFixture f;
        f.start();
        ui::frmMain* w = f.window.get();
        const int all = f.poolRows();
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [&](filter::frmSpezFilter& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Spezial Filter"));
            QVERIFY(d.Text1->isReadOnly() && d.Text2->isReadOnly());
            QCOMPARE(d.Text1->toPlainText().split(u'\n').size(), 20);
            d.txtFilter->setPlainText(QStringLiteral("Monde >"));
            d.cmdOK->click();
            QVERIFY(d.isVisible());
            QCOMPARE(f.prompter.messages.size(), size_t(1));
            QVERIFY(f.prompter.messages[0].text.startsWith(QStringLiteral("Fehler in Filter-Bedingung:\r\n")));
            QCOMPARE(f.prompter.messages[0].title, QStringLiteral("Spezial-Filter"));
            QCOMPARE(f.prompter.messages[0].icon, core::Icon::Exclamation);
            QCOMPARE(d.txtFilter->toPlainText(), QStringLiteral("Monde >"));
            QCOMPARE(w->WHERE, QString());
            d.txtFilter->setPlainText(QStringLiteral("ISNULL([StErde]) AND ISNULL([StFeuer])"));
            d.cmdOK->click();
        }));
        QCOMPARE(w->WHERE, QStringLiteral("WHERE ISNULL([StErde]) AND ISNULL([StFeuer]) "));
        const int none = cardsWhere(f, QStringLiteral("WHERE STERDE IS NULL AND STFEUER IS NULL"));
        QVERIFY(none > 0 && none < all);
        QCOMPARE(f.poolRows(), none);

        // A filter set elsewhere shows as the condition; "OK" adds one more blank.
        w->WHERE = QStringLiteral("WHERE FREI = TRUE ");
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [](filter::frmSpezFilter& d) {
            QCOMPARE(d.txtFilter->toPlainText(), QStringLiteral("FREI = TRUE "));
            d.cmdOK->click();
        }));
        QCOMPARE(w->WHERE, QStringLiteral("WHERE FREI = TRUE  "));
        QCOMPARE(f.poolRows(), cardsWhere(f, QStringLiteral("WHERE FREI = TRUE")));

        // An empty box keeps the filter; the close box too; only "Kein Filter" removes it.
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [](filter::frmSpezFilter& d) {
            d.txtFilter->clear();
            d.cmdOK->click();
        }));
        QCOMPARE(w->WHERE, QStringLiteral("WHERE FREI = TRUE  "));
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [](filter::frmSpezFilter& d) { d.close(); }));
        QCOMPARE(w->WHERE, QStringLiteral("WHERE FREI = TRUE  "));
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [](filter::frmSpezFilter& d) { d.cmdNoFilter->click(); }));
        QCOMPARE(w->WHERE, QString());
        QCOMPARE(f.poolRows(), all);
        // Writing through the condition is refused and changes nothing.
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [](filter::frmSpezFilter& d) {
            d.txtFilter->setPlainText(QStringLiteral("1 = 1; DELETE * FROM KARTEN"));
            d.cmdOK->click();
            QVERIFY(d.isVisible());
        }));
        QCOMPARE(w->WHERE, QString());
        QCOMPARE(cardsWhere(f, QString()), all);
    }

    void specialFilterSavesAndLoads() {
        MainWindowFixture f;
        f.start();
        const QString path = f.dir.filePath(QStringLiteral("Frei.drfilter"));
        const QString lines = f.dir.filePath(QStringLiteral("Zeilen.drfilter"));
        QFile::remove(path);
        QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [&](filter::frmSpezFilter& d) {
            d.txtFilter->setPlainText(QStringLiteral("Frei"));
            f.prompter.choose(path);
            d.cmdSave->click();
            QCOMPARE(testing::readFile(path), QByteArray("WHERE Frei\r\n"));
            d.txtFilter->setPlainText(QStringLiteral("Frei\nAND Paar"));
            f.prompter.choose(lines);
            d.cmdSave->click();
            QCOMPARE(testing::readFile(lines), QByteArray("WHERE Frei\r\nAND Paar\r\n"));

            d.txtFilter->setPlainText(QStringLiteral("etwas anderes"));
            f.prompter.choose(lines);
            d.cmdLoad->click();
            QCOMPARE(d.txtFilter->toPlainText(), QStringLiteral("Frei"));
            const auto& load = f.prompter.dialogs.back();
            QVERIFY(!load.save);
            QCOMPARE(load.state.dialogTitle, QStringLiteral("Dravenna-Filter laden"));
            QCOMPARE(load.state.flags, core::dialogflags::PathMustExist | core::dialogflags::FileMustExist);
            QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Der Dravenna-Filter wurde geladen"));
            QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Filter geladen"));

            // An empty file is an error; the box keeps its text.
            QFile empty(f.dir.filePath(QStringLiteral("leer.drfilter")));
            QVERIFY(empty.open(QIODevice::WriteOnly));
            empty.close();
            f.prompter.choose(empty.fileName());
            d.cmdLoad->click();
            QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Filter laden"));
            QCOMPARE(f.prompter.messages.back().icon, core::Icon::Critical);
            QCOMPARE(d.txtFilter->toPlainText(), QStringLiteral("Frei"));
            // A file name of another kind is not offered again.
            d.cmdcSaveLoad.fileName = f.dir.filePath(QStringLiteral("deck.drd"));
            f.prompter.choose(QString());
            d.cmdLoad->click();
            QCOMPARE(f.prompter.dialogs.back().state.fileName, QString());
            d.cmdOK->click();
        }));
        QCOMPARE(f.window->WHERE, QStringLiteral("WHERE Frei "));
        QCOMPARE(f.window->cmbQuickFilter->findText(QStringLiteral("Zeilen")) > 0, true);
        // The quick filter takes only the first line of the multi-line file.
        const int i = f.window->cmbQuickFilter->findText(QStringLiteral("Zeilen"));
        const size_t messages = f.prompter.messages.size();
        f.window->cmbQuickFilter->setCurrentIndex(i);
        Q_EMIT f.window->cmbQuickFilter->activated(i);
        // It gets the blank the order text needs, and the pool shows the free cards.
        QCOMPARE(f.window->WHERE, QStringLiteral("WHERE Frei "));
        QCOMPARE(f.prompter.messages.size(), messages);
        QCOMPARE(f.poolRows(), cardsWhere(f, QStringLiteral("WHERE FREI = TRUE")));
    }

    void sortDialogOrdersPoolAndDeck() {
        MainWindowFixture f;
        f.start();
        ui::frmMain* w = f.window.get();
        f.chooseLeader(QStringLiteral("Harald"));
        for (int row = 1; row <= 5; ++row)
            f.doubleClickPoolRow(row);
        QVERIFY(f.withDialog<filter::frmSortieren>("mnuSortieren", [](filter::frmSortieren& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Sortier-Reihenfolge"));
            QCOMPARE(d.Frame1[2]->title(), QStringLiteral("3. Kriterium"));
            for (int i = 0; i < 5; ++i) {
                QCOMPARE(d.cmbKriterium[i]->currentText(), QString());
                QCOMPARE(d.cmbKriterium[i]->count(), 11);
                QCOMPARE(d.cmbRichtung[i]->currentText(), QStringLiteral("aufsteigend"));
            }
            pick(d.cmbKriterium[2], QStringLiteral("Nummer"));
            pick(d.cmbRichtung[2], QStringLiteral("absteigend"));
            d.cmdOK->click();
        }));
        QCOMPARE(w->ORDER, QStringLiteral("ORDER BY Nummer DESC"));
        QCOMPARE(w->dtaDeck.RecordSource, w->SQLDECK + w->ORDER);
        for (ui::FlexGrid* grid : {w->flxPool, w->flxDeck}) {
            QStringList numbers;
            for (int r = 1; r < grid->Rows(); ++r)
                numbers << grid->TextMatrix(r, 7);
            QStringList sorted = numbers;
            std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
                return QString::compare(a, b, Qt::CaseInsensitive) > 0;
            });
            QCOMPARE(numbers, sorted);
        }

        // Re-opened after "OK" it shows its choices; "Abbrechen" keeps ORDER and forgets them.
        QVERIFY(f.withDialog<filter::frmSortieren>("mnuSortieren", [](filter::frmSortieren& d) {
            QCOMPARE(d.cmbKriterium[2]->currentText(), QStringLiteral("Nummer"));
            QCOMPARE(d.cmbRichtung[2]->currentText(), QStringLiteral("absteigend"));
            pick(d.cmbKriterium[0], QStringLiteral("Künstler"));
            d.cmdCancel->click();
        }));
        QCOMPARE(w->ORDER, QStringLiteral("ORDER BY Nummer DESC"));
        QVERIFY(f.withDialog<filter::frmSortieren>("mnuSortieren", [](filter::frmSortieren& d) {
            QCOMPARE(d.cmbKriterium[2]->currentText(), QString());
            d.cmdOK->click();
        }));
        QCOMPARE(w->ORDER, QString());
        QCOMPARE(w->dtaPool.RecordSource, w->SQLPOOL);
        QCOMPARE(f.deckRows(), 5);
    }
};

QTEST_MAIN(TstFilterDialogs)
#include "tst_filterdialogs.moc"
