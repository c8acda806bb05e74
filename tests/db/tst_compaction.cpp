// Compaction at exit replaces the database only with a complete copy.
#include "db/compaction.h"
#include "db/database.h"
#include "tests/helpers/testprogramdir.h"

#include <QFile>
#include <QtTest/QTest>

using db::CompactStep;

class TstCompaction : public QObject {
    Q_OBJECT

    static int cardCount(const QString& path) {
        auto conn = db::Database::OpenDatabase(path);
        return conn->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM KARTEN")).Fields(0).toInt();
    }

private Q_SLOTS:
    void compactsAndShrinks() {
        testing::TestProgramDir dir;
        const QString path = dir.databasePath();
        {
            auto conn = db::Database::OpenDatabase(path);
            for (int i = 0; i < 20; ++i)
                conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN"));
            conn->Execute(QStringLiteral("DELETE * FROM DECK"));
        }
        const qint64 before = QFileInfo(path).size();
        QString message;
        QVERIFY2(db::compactInPlace(path, &message), qPrintable(message));
        QVERIFY(QFileInfo(path).size() < before);
        QCOMPARE(cardCount(path), 292);
        QVERIFY(!QFile::exists(path + QStringLiteral(".temp")));
    }

    void staleTemporaryFileIsReplaced() {
        testing::TestProgramDir dir;
        QFile stale(dir.databasePath() + QStringLiteral(".temp"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(1 << 20, 'x'));
        stale.close();
        QVERIFY(db::compactInPlace(dir.databasePath()));
        QCOMPARE(cardCount(dir.databasePath()), 292);
    }

    void failureAtAnyStepLeavesAUsableDatabase_data() {
        QTest::addColumn<CompactStep>("step");
        QTest::newRow("vacuum") << CompactStep::Vacuum;
        QTest::newRow("flush") << CompactStep::Flush;
        QTest::newRow("rename") << CompactStep::Rename;
    }

    void failureAtAnyStepLeavesAUsableDatabase() {
        QFETCH(CompactStep, step);
        testing::TestProgramDir dir;
        const QString path = dir.databasePath();
        QString message;
        QVERIFY(!db::compactInPlace(path, &message, [step](CompactStep s) { return s == step; }));
        QVERIFY(!message.isEmpty());
        QCOMPARE(cardCount(path), 292);
        QVERIFY(!QFile::exists(path + QStringLiteral(".temp")));
    }

    void missingDatabaseFailsWithoutCreatingOne() {
        testing::TestProgramDir dir;
        const QString path = dir.filePath(QStringLiteral("gone.db"));
        QVERIFY(!db::compactInPlace(path));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TstCompaction)
#include "tst_compaction.moc"
