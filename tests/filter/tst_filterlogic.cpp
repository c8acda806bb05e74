// Filter texts, list values, order texts and conditions, without a window.
#include "db/database.h"
#include "db/dberror.h"
#include "filter/filterbuilder.h"
#include "filter/filterfile.h"
#include "filter/quickfilter.h"
#include "filter/sortcriteria.h"
#include "filter/specialfilter.h"
#include "filter/valuelists.h"
#include "tests/helpers/testfiles.h"
#include "tests/helpers/testprogramdir.h"

#include <QFile>
#include <QtTest/QTest>

class TstFilterLogic : public QObject {
    Q_OBJECT


private Q_SLOTS:
    void filterTextFromChoices() {
        filter::FilterChoices none;
        QCOMPARE(filter::funcBuildFilter(none), QString());

        filter::FilterChoices c;
        c.kartenArt = QStringLiteral("Charakter");
        c.frei = true;
        QCOMPARE(filter::funcBuildFilter(c), QStringLiteral("WHERE KARTENART = 'Charakter'  AND FREI = TRUE "));

        filter::FilterChoices ticks;
        ticks.paar = true;
        ticks.stopp = true;
        QCOMPARE(filter::funcBuildFilter(ticks), QStringLiteral("WHERE PAAR = TRUE  AND STOP = TRUE "));

        filter::FilterChoices name;
        name.name = QStringLiteral("d'Or");
        QCOMPARE(filter::funcBuildFilter(name), QStringLiteral("WHERE NAME LIKE '*d''Or*' "));
        name.name = QStringLiteral("  ");
        QCOMPARE(filter::funcBuildFilter(name), QStringLiteral("WHERE NAME LIKE '*  *' "));
        // The joining words are replaced anywhere in the text, typed ones too.
        name.name = QStringLiteral("WHERE AND");
        QCOMPARE(filter::funcBuildFilter(name), QStringLiteral("WHERE NAME LIKE '*WHERE*' "));

        filter::FilterChoices numbers;
        numbers.stFeuer = QStringLiteral("3");
        numbers.stErde = QStringLiteral("0");
        numbers.monde = QStringLiteral("2");
        numbers.gang = QStringLiteral("Tag'Nacht");
        numbers.fertigkeiten = QStringLiteral("Ziehe");
        QCOMPARE(filter::funcBuildFilter(numbers),
                 QStringLiteral("WHERE STFEUER = 3  AND STERDE = 0  AND MONDE = 2  AND SONDER LIKE '*Ziehe*'  AND GANG = 'Tag''Nacht' "));

        filter::FilterChoices all;
        all.fraktion = QStringLiteral("Orvane");
        all.geschuetzt = all.wiederAufnehmen = all.ersetzen = all.abgewehrtFeuer = all.abgewehrtErde = true;
        QCOMPARE(filter::funcBuildFilter(all),
                 QStringLiteral("WHERE FRAKTION = 'Orvane'  AND GESCHÜTZT = TRUE  AND WIEDERAUFNEHMEN = TRUE  AND ERSETZEN = TRUE "
                                " AND ABFEUER = TRUE  AND ABERDE = TRUE "));
        // Every built filter is a condition the engine accepts.
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        for (const auto& choices : {c, ticks, numbers, all})
            filter::testCondition(*conn, filter::conditionOf(filter::funcBuildFilter(choices)));
    }

    void listValuesSkipEmptyAndRepeated() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        conn->Execute(QStringLiteral("UPDATE KARTEN SET GANG = '' WHERE NUMMER = 'ORVANE 05'"));
        conn->Execute(QStringLiteral("UPDATE KARTEN SET GANG = NULL WHERE NUMMER = 'ORVANE 06'"));
        const QStringList gang = filter::funcFillList(*conn, QStringLiteral("GANG"));
        QCOMPARE(gang.first(), QString());
        QCOMPARE(gang.count(QString()), 1);
        QCOMPARE(QSet<QString>(gang.begin(), gang.end()).size(), gang.size());
        QVERIFY(gang.contains(QStringLiteral("Nacht")));

        const QStringList feuer = filter::funcFillList(*conn, QStringLiteral("STFEUER"));
        QCOMPARE(feuer.first(), QString());
        QVERIFY(feuer.contains(QStringLiteral("3")));
        QVERIFY(std::is_sorted(feuer.begin() + 1, feuer.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); }));
    }

    // The kept lists are the lists the dialog read itself, until the file changes, by the deck or otherwise.
    void keptValueListsFollowTheFile() {
        testing::TestProgramDir dir;
        filter::FilterValueLists kept(dir.databasePath());
        QVERIFY(kept.stale());
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        const auto fresh = [&] {
            QList<QStringList> lists;
            for (const char* column : filter::kValueListColumns)
                lists << filter::funcFillList(*conn, QString::fromLatin1(column));
            return lists;
        };
        QCOMPARE(kept.lists(), fresh());
        QVERIFY(!kept.stale());
        conn->Execute(QStringLiteral("UPDATE KARTEN SET KARTENART = 'Zauber', MONDE = 9 WHERE NUMMER = 'ORVANE 05'"));
        QVERIFY(kept.stale());
        QVERIFY(kept.lists()[0].contains(QStringLiteral("Zauber")));
        QCOMPARE(kept.lists(), fresh());
        QVERIFY(!kept.stale());
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER = 'ORVANE 06'"));
        QVERIFY(kept.stale());
        QCOMPARE(kept.lists(), fresh());
    }

    void orderFromCriteria() {
        QCOMPARE(filter::sortEntries().size(), 11);
        QCOMPARE(filter::buildOrder({}), QString());
        QCOMPARE(filter::buildOrder({{0, true}, {0, false}}), QString());
        QCOMPARE(filter::buildOrder({{0, true}, {0, true}, {4, false}}), QStringLiteral("ORDER BY Nummer DESC"));
        QCOMPARE(filter::buildOrder({{1, true}, {1, false}}), QStringLiteral("ORDER BY Name ASC,Name DESC"));
        QCOMPARE(filter::buildOrder({{3, true}, {6, false}, {7, true}, {10, true}}),
                 QStringLiteral("ORDER BY Fraktion ASC,StFeuer DESC,StErde ASC,Kuenstler ASC"));
    }

    void conditionsAreTestedReadOnly() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        filter::testCondition(*conn, QStringLiteral("ISNULL([StErde]) AND ISNULL([StFeuer])"));
        filter::testCondition(*conn, QStringLiteral("([StFeuer] >= 3 OR [StErde] >= 3) AND Kartenart = 'Charakter'"));
        filter::testCondition(*conn, QStringLiteral("[Geschützt] = TRUE"));
        for (const char* bad : {"Monde >", "Unbekannt = 1", "1 = 1; DELETE * FROM KARTEN", "1 = 1) UNION SELECT * FROM KARTEN WHERE (1 = 1"})
            QVERIFY_THROWS_EXCEPTION(db::DbError, filter::testCondition(*conn, QString::fromUtf8(bad)));
        QVERIFY(conn->OpenRecordset(QStringLiteral("SELECT * FROM KARTEN")).RecordCount() > 0);
        QCOMPARE(filter::filterOfCondition(QStringLiteral("FREI = TRUE ")), QStringLiteral("WHERE FREI = TRUE  "));

        const QStringList fields = filter::specialFilterFields().split(QStringLiteral("\r\n"));
        const QStringList types = filter::specialFilterTypes().split(QStringLiteral("\r\n"));
        QCOMPARE(fields.size(), 20); // nineteen lines, each ending with CR LF
        QCOMPARE(fields.last(), QString());
        QCOMPARE(fields[13], QStringLiteral("[Geschützt]"));
        QCOMPARE(types[13], QStringLiteral("True/False"));
        QCOMPARE(fields[18], QStringLiteral("[Flavor]"));
        QVERIFY(!fields.contains(QStringLiteral("[Ersetzen]")));
        // Every listed field is a column the engine finds.
        for (int i = 0; i < 19; ++i)
            filter::testCondition(*conn, QStringLiteral("ISNULL(%1) OR TRUE").arg(fields[i]));
    }

    void filterFilesAndQuickConditions() {
        QTemporaryDir dir;
        testing::writeFile(dir.filePath(QStringLiteral("Zwei.drfilter")), "WHERE FREI = TRUE \r\nWHERE PAAR = TRUE \r\n");
        testing::writeFile(dir.filePath(QStringLiteral("a.b.drfilter")), "WHERE GESCH\xdcTZT = TRUE\nX\rY");
        testing::writeFile(dir.filePath(QStringLiteral(".versteckt.drfilter")), "WHERE FREI = TRUE \r\n");
        testing::writeFile(dir.filePath(QStringLiteral("anders.txt")), "WHERE FREI = TRUE \r\n");
        testing::writeFile(dir.filePath(QStringLiteral("Gross.DRFILTER")), "WHERE FREI = TRUE \r\n");
        QCOMPARE(*filter::readFilterLine(dir.filePath(QStringLiteral("Zwei.drfilter"))), QStringLiteral("WHERE FREI = TRUE "));
        QCOMPARE(*filter::readFilterLine(dir.filePath(QStringLiteral("a.b.drfilter"))), QStringLiteral("WHERE GESCHÜTZT = TRUE\nX"));
        QVERIFY(!filter::readFilterLine(dir.filePath(QStringLiteral("fehlt.drfilter"))));
        QCOMPARE(filter::quickFilterNames(dir.path()), (QStringList{"a.b", "Zwei"}));

        QVERIFY_THROWS_EXCEPTION(db::DbError, filter::conditionOf(QStringLiteral("WHERE")));
        QCOMPARE(filter::conditionOf(QStringLiteral("WHERE Frei")), QStringLiteral("Frei"));

        QCOMPARE(filter::valueFilter(QStringLiteral("MONDE"), QStringLiteral("3")), QStringLiteral("WHERE CSTR(MONDE) = '3' "));
        QCOMPARE(filter::valueFilter(QStringLiteral("FRAKTION"), QStringLiteral("D'Arven")),
                 QStringLiteral("WHERE CSTR(FRAKTION) = 'D''Arven' "));
        QCOMPARE(filter::nameFilterCondition(QString(), QStringLiteral("Dra")), QStringLiteral(" WHERE NAME LIKE '*Dra*' "));
        QCOMPARE(filter::nameFilterCondition(QStringLiteral("WHERE FREI = TRUE "), QStringLiteral("Dra")),
                 QStringLiteral("WHERE (FREI = TRUE) AND NAME LIKE '*Dra*' "));
        QCOMPARE(filter::nameFilterCondition(QStringLiteral("where [StFeuer] >= 3 OR [StErde] >= 3 "), QStringLiteral("zz")),
                 QStringLiteral("WHERE ([StFeuer] >= 3 OR [StErde] >= 3) AND NAME LIKE '*zz*' "));
        QCOMPARE(filter::nameFilterCondition(QString(), QStringLiteral("O'N")), QStringLiteral(" WHERE NAME LIKE '*O''N*' "));
        QCOMPARE(filter::nameFilterCondition(QStringLiteral("WHERE FREI = TRUE "), QString()), QStringLiteral("WHERE FREI = TRUE "));
    }
};

QTEST_GUILESS_MAIN(TstFilterLogic)
#include "tst_filterlogic.moc"
