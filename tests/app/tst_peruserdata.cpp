// The main window on a per-user copy of the catalogue: the program folder stays as shipped.
#include "core/datalocation.h"
#include "core/programdir.h"
#include "db/cataloguecheck.h"
#include "db/database.h"
#include "filter/frmfilter.h"
#include "tests/helpers/deckfiles.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

using testing::MainWindowFixture;

namespace {

// A fixture whose database is the per-user copy in its own data folder.
struct PerUserFixture : MainWindowFixture {
    QTemporaryDir data;
    QString copy;
    QByteArray shippedBytes;

    PerUserFixture() {
        shippedBytes = testing::readFile(dir.databasePath());
        copy = data.filePath(QStringLiteral("dravennacard.db"));
        const QString why = core::refreshPerUserCopy(dir.databasePath(), copy, db::catalogueProblem);
        if (!why.isEmpty())
            qFatal("%s", qPrintable(why));
        core::setPerUserDirectory(data.path());
    }
    ~PerUserFixture() { core::setPerUserDirectory(QString()); }
    QStringList programFolderFiles() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
};

qint64 deckRowsIn(const QString& db) {
    return db::Database::OpenDatabase(db)->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toLongLong();
}

} // namespace

class TstPerUserData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theDeckLivesInTheCopyAndClosingCompactsTheCopy() {
        PerUserFixture f;
        const QString deck = f.dir.filePath(QStringLiteral("start.drd"));
        testing::writeFile(deck, testing::deckFileFor(f.dir.databasePath(), QStringLiteral("Harald"), 9));
        const QStringList shippedFiles = f.programFolderFiles();
        f.start(QStringLiteral("\"%1\"").arg(deck));
        QCOMPARE(f.window->sDatabasePath, f.copy);
        QCOMPARE(f.deckRows(), 9);
        QCOMPARE(deckRowsIn(f.copy), 9);
        QCOMPARE(deckRowsIn(f.dir.databasePath()), 0);

        f.prompter.answer(core::Answer::Yes);
        QVERIFY(f.close());
        QCOMPARE(deckRowsIn(f.copy), 0);
        // Compacted through a temporary file beside the copy, which is gone again.
        QVERIFY(!QFile::exists(f.copy + QStringLiteral(".temp")));
        QVERIFY(QDir(f.data.path()).entryList(QDir::Files).contains(QStringLiteral("dravennacard.db")));
        // The program folder is byte for byte as shipped, with no file added.
        QCOMPARE(testing::readFile(f.dir.databasePath()), f.shippedBytes);
        QCOMPARE(f.programFolderFiles(), shippedFiles);
        QVERIFY(!shippedFiles.contains(QStringLiteral("dravennacard.db.lock")));
    }

    void theQuickFilterListOffersBothFolders() {
        PerUserFixture f;
        // The player's own filter, and one that replaces a sample of the same name.
        testing::writeFile(f.data.filePath(QStringLiteral("Meins.drfilter")), "WHERE MONDE = 3 \r\n");
        testing::writeFile(f.data.filePath(QStringLiteral("Frei.drfilter")), "WHERE FREI = FALSE \r\n");
        QCOMPARE(testing::readFile(f.dir.filePath(QStringLiteral("Frei.drfilter"))).left(18), QByteArray("WHERE FREI = TRUE "));
        f.start();
        QComboBox* list = f.window->cmbQuickFilter;
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        QCOMPARE(entries, (QStringList{QString(), QStringLiteral("Charaktere Feuer"), QStringLiteral("Frei"), QStringLiteral("Meins"),
                                       QStringLiteral("Ohne Feuer und Erde")}));
        list->setCurrentIndex(2);
        Q_EMIT list->activated(2);
        QCOMPARE(f.window->WHERE, QStringLiteral("WHERE FREI = FALSE "));
        list->setCurrentIndex(3);
        Q_EMIT list->activated(3);
        QCOMPARE(f.window->WHERE, QStringLiteral("WHERE MONDE = 3 "));
        list->setCurrentIndex(1);
        Q_EMIT list->activated(1);
        QCOMPARE(f.window->WHERE.left(6), QStringLiteral("WHERE "));
        QVERIFY(f.prompter.messages.empty());
    }

    void filterDialogsStartInThePerUserFolderAndDecksAtHome() {
        PerUserFixture f;
        f.start();
        ui::frmMain* w = f.window.get();
        const QString saved = f.data.filePath(QStringLiteral("Paar.drfilter"));
        QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [&](filter::frmFilter& d) {
            d.chkPaar->setChecked(true);
            f.prompter.choose(saved);
            d.cmdSave->click();
            d.close();
        }));
        QCOMPARE(f.prompter.dialogs.size(), 1u);
        QCOMPARE(f.prompter.dialogs[0].state.initDir, f.data.path());
        QCOMPARE(testing::readFile(saved), QByteArray("WHERE PAAR = TRUE \r\n"));
        // Saved into the per-user folder, the filter is offered at once.
        QVERIFY(w->cmbQuickFilter->findText(QStringLiteral("Paar")) > 0);

        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("ORVANE 10")});
        f.trigger("mnuSpeichern");
        QCOMPARE(f.prompter.dialogs.size(), 2u);
        QCOMPARE(f.prompter.dialogs[1].state.dialogTitle, QStringLiteral("Dravenna-Deck speichern"));
        QCOMPARE(f.prompter.dialogs[1].state.initDir, QDir::homePath());
    }
};

QTEST_MAIN(TstPerUserData)
#include "tst_peruserdata.moc"
