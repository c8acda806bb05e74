// The Jet dialect as the program and its users write it, run against a real catalogue file.
#include "db/database.h"
#include "db/dberror.h"
#include "db/jetfunctions.h"
#include "db/queries.h"
#include "tests/helpers/testprogramdir.h"

#include <QtTest/QTest>

using db::Database;
using db::DbError;
using db::Trust;

class TstJetDialect : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<Database> m_db;

    QVariant scalar(const QString& sql) {
        auto rs = m_db->OpenRecordset(sql);
        return rs.Eof() ? QVariant(QStringLiteral("<no row>")) : rs.Fields(0);
    }
    int count(const QString& where) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM KARTEN ") + where).toInt();
    }
    void fillDeck(const QStringList& names) {
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        for (const QString& n : names)
            m_db->Execute(QStringLiteral("INSERT INTO DECK (NAME, MONDE) VALUES ('%1', 1)").arg(db::quoted(n)));
    }
    QStringList column(const QString& sql) {
        QStringList out;
        for (auto rs = m_db->OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
            out << rs.Fields(0).toString();
        return out;
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_db = Database::OpenDatabase(m_dir->databasePath());
    }
    void cleanup() {
        m_db.reset();
        m_dir.reset();
    }

    void deleteStarBesideMultiplicationAndCountStar() {
        fillDeck({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        m_db->Execute(QStringLiteral("DELETE * FROM DECK WHERE NAME = 'c'"));
        QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM DECK")).toInt(), 2);
        QCOMPARE(scalar(QStringLiteral("SELECT MONDE*2*3 FROM DECK WHERE NAME = 'a'")).toInt(), 6);
        m_db->Execute(QStringLiteral("DELETE * FROM DECK WHERE MONDE*2 = 2 AND NAME='b'"));
        QCOMPARE(column(QStringLiteral("SELECT NAME FROM DECK")), QStringList{QStringLiteral("a")});
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM DECK")).toInt(), 0);
    }

    void doubleQuotedTextIsALiteralEvenWhenNamedLikeAColumn() {
        QCOMPARE(count(QStringLiteral("WHERE Name=\"Nebelkrähe\"")), 1);
        QCOMPARE(count(QStringLiteral("WHERE Name=\"Name\"")), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT \"say \"\"hi\"\"\" & 'it''s'")).toString(),
                 QStringLiteral("say \"hi\"it's"));
    }

    void namesResolveWithoutRegardToCase() {
        QCOMPARE(count(QStringLiteral("WHERE [Geschützt]")), count(QStringLiteral("WHERE GESCHÜTZT = TRUE")));
        QVERIFY(count(QStringLiteral("WHERE [geschützt]")) > 0);
        QCOMPARE(count(QStringLiteral("WHERE [Set] = 'O'")), count(QStringLiteral("WHERE KARTEN.SET = 'O'")));
        QVERIFY(count(QStringLiteral("WHERE karten.set = 'o'")) > 0);
        // In an UPDATE the word is the keyword, and after it the column again.
        m_db->Execute(QStringLiteral("UPDATE KARTEN SET SET = 'Z', GANG = SET WHERE NUMMER = 'ORVANE 05'"));
        QCOMPARE(count(QStringLiteral("WHERE [Set] = 'Z' AND Gang = 'O'")), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT [StErde] FROM KARTEN WHERE NUMMER = 'ORVANE 05'")).toInt(), 5);
        auto rs = m_db->OpenRecordset(QStringLiteral("SELECT Fraktion, karten.Nummer, COUNT(*) FROM KARTEN "
                                                     "GROUP BY Fraktion, karten.Nummer"));
        QCOMPARE(rs.labels().mid(0, 2), (QStringList{QStringLiteral("Fraktion"), QStringLiteral("Nummer")}));
    }

    void likeWildcards_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star any run") << "*krähe" << "Nebelkrähe" << true;
        QTest::newRow("star empty run") << "Nebel*krähe*" << "Nebelkrähe" << true;
        QTest::newRow("question one char") << "Nebelkr?he" << "Nebelkrähe" << true;
        QTest::newRow("question not zero chars") << "Nebelkr?ähe" << "Nebelkrähe" << false;
        QTest::newRow("hash digit") << "ORVANE ##" << "ORVANE 05" << true;
        QTest::newRow("hash not a letter") << "ORVANE #" << "ORVANE X" << false;
        QTest::newRow("list") << "[abc]*" << "Bär" << true;
        QTest::newRow("range") << "[m-o]ebel*" << "Nebel" << true;
        QTest::newRow("negated list") << "[!abc]*" << "Bär" << false;
        QTest::newRow("negated list other") << "[!abc]*" << "Zorn" << true;
        QTest::newRow("bracketed star is plain") << "a[*]b" << "a*b" << true;
        QTest::newRow("bracketed star not wildcard") << "a[*]b" << "axb" << false;
        QTest::newRow("umlaut upper pattern") << "*KRÄHE" << "Nebelkrähe" << true;
        QTest::newRow("umlaut lower pattern") << "öde*" << "Öde Wacht" << true;
        QTest::newRow("umlaut is not its base letter") << "*krahe" << "Nebelkrähe" << false;
        QTest::newRow("percent plain") << "100%" << "100%" << true;
        QTest::newRow("percent not wildcard") << "1%" << "100" << false;
        QTest::newRow("underscore plain") << "a_b" << "a_b" << true;
        QTest::newRow("underscore not wildcard") << "a_b" << "axb" << false;
        QTest::newRow("whole text only") << "krähe" << "Nebelkrähe" << false;
    }

    void likeWildcards() {
        QFETCH(QString, pattern);
        QFETCH(QString, value);
        QFETCH(bool, matches);
        QCOMPARE(db::jetLike(pattern, value), matches);
        const QString sql = QStringLiteral("SELECT IIF('%1' LIKE '%2', 1, 0)").arg(db::quoted(value), db::quoted(pattern));
        QCOMPARE(scalar(sql).toInt(), matches ? 1 : 0);
    }

    void likeOnTheCatalogueAndMalformedPatterns() {
        QCOMPARE(count(QStringLiteral("WHERE NAME LIKE 'nebelkr?he'")), 1);
        QCOMPARE(count(QStringLiteral("WHERE NAME NOT LIKE '*'")), 0);
        QCOMPARE(count(QStringLiteral("WHERE NUMMER LIKE 'INQ*'")), 0);
        bool valid = true;
        QVERIFY(!db::jetLike(QStringLiteral("[abc"), QStringLiteral("a"), &valid));
        QVERIFY(!valid);
        QVERIFY_THROWS_EXCEPTION(DbError, count(QStringLiteral("WHERE NAME LIKE '[abc'")));
    }

    void textComparesWithoutRegardToCase() {
        QCOMPARE(scalar(QStringLiteral("SELECT IIF('abc' = 'ABC', 1, 0)")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT IIF('Öde' = 'öDE', 1, 0)")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT IIF('Müller' = 'Muller', 1, 0)")).toInt(), 0);
        QCOMPARE(count(QStringLiteral("WHERE NAME = 'nebelKRÄHE'")), 1);
        QCOMPARE(count(QStringLiteral("WHERE FRAKTION = 'orvane'")), count(QStringLiteral("WHERE FRAKTION = 'Orvane'")));
    }

    void orderGroupAndDistinctIgnoreCaseAndKeepUmlautsBesideBaseLetters() {
        fillDeck({QStringLiteral("zebra"), QStringLiteral("Äpfel"), QStringLiteral("apfel2"), QStringLiteral("Apfel"),
                  QStringLiteral("Ähre"), QStringLiteral("Bär"), QStringLiteral("bar"), QStringLiteral("Ahorn"),
                  QStringLiteral("Straße"), QStringLiteral("Strasse1"), QStringLiteral("Stras")});
        const QStringList expected{QStringLiteral("Ahorn"), QStringLiteral("Ähre"), QStringLiteral("Apfel"),
                                   QStringLiteral("Äpfel"), QStringLiteral("apfel2"), QStringLiteral("bar"),
                                   QStringLiteral("Bär"), QStringLiteral("Stras"), QStringLiteral("Straße"),
                                   QStringLiteral("Strasse1"), QStringLiteral("zebra")};
        QCOMPARE(column(QStringLiteral("SELECT NAME FROM DECK ORDER BY NAME")), expected);
        QStringList reversed(expected.rbegin(), expected.rend());
        QCOMPARE(column(QStringLiteral("SELECT NAME FROM DECK ORDER BY NAME DESC")), reversed);

        fillDeck({QStringLiteral("ORVANE"), QStringLiteral("orvane"), QStringLiteral("Orvane")});
        QCOMPARE(column(QStringLiteral("SELECT DISTINCT NAME FROM DECK")).size(), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT COUNT(NAME) FROM DECK GROUP BY NAME")).toInt(), 3);
    }

    void ampersandJoinsAsTextAndReadsNullAsEmpty() {
        QCOMPARE(scalar(QStringLiteral("SELECT NULL & 'x'")).toString(), QStringLiteral("x"));
        QCOMPARE(scalar(QStringLiteral("SELECT 'x' & NULL")).toString(), QStringLiteral("x"));
        const QVariant both = scalar(QStringLiteral("SELECT NULL & NULL"));
        QVERIFY(!both.isNull());
        QCOMPARE(both.toString(), QString());
        QCOMPARE(scalar(QStringLiteral("SELECT 3 & 'a' & 4+1")).toString(), QStringLiteral("3a5"));
        QCOMPARE(scalar(QStringLiteral("SELECT IIF('a' & 'b' = 'ab', 1, 0)")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT STFEUER & '/' & STERDE FROM KARTEN WHERE NUMMER = 'ORVANE 06'")).toString(),
                 QStringLiteral("/2"));
    }

    void yesNoAndTrue() {
        QVERIFY(count(QStringLiteral("WHERE FREI = TRUE")) > 0);
        QCOMPARE(count(QStringLiteral("WHERE FREI = TRUE")), count(QStringLiteral("WHERE FREI")));
        QCOMPARE(count(QStringLiteral("WHERE FREI = TRUE")) + count(QStringLiteral("WHERE FREI = FALSE")),
                 count(QString()));
        QCOMPARE(scalar(QStringLiteral("SELECT FREI FROM KARTEN WHERE NUMMER = 'ORVANE 06'")).toInt(), -1);
        QCOMPARE(count(QStringLiteral("WHERE NOT FREI AND NUMMER = 'ORVANE 06'")), 0);
    }

    void functions() {
        QCOMPARE(count(QStringLiteral("WHERE ISNULL(STFEUER)")), count(QStringLiteral("WHERE STFEUER IS NULL")));
        QCOMPARE(scalar(QStringLiteral("SELECT ISNULL(NULL)")).toInt(), -1);
        QCOMPARE(scalar(QStringLiteral("SELECT ISNULL(0)")).toInt(), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT CSTR(MONDE) FROM KARTEN WHERE NUMMER = 'ORVANE 05'")).toString(),
                 QStringLiteral("0"));
        QCOMPARE(scalar(QStringLiteral("SELECT CSTR(3.5)")).toString(), QStringLiteral("3.5"));
        QCOMPARE(scalar(QStringLiteral("SELECT CSTR(-12)")).toString(), QStringLiteral("-12"));
        QCOMPARE(scalar(QStringLiteral("SELECT CSTR(2.0)")).toString(), QStringLiteral("2"));
        // Numbers beyond a 64-bit integer's range, infinity included, and the grid's text of them.
        QCOMPARE(scalar(QStringLiteral("SELECT CSTR(9.3e18)")).toString(), QStringLiteral("9.3e+18"));
        QCOMPARE(scalar(QStringLiteral("SELECT CSTR(-1e308*10)")).toString(), QStringLiteral("-inf"));
        QCOMPARE(scalar(QStringLiteral("SELECT CSTR(1e308*10)")).toString(), QStringLiteral("inf"));
        QCOMPARE(db::cellText(scalar(QStringLiteral("SELECT 1e308*10"))), QStringLiteral("inf"));
        QCOMPARE(db::cellText(scalar(QStringLiteral("SELECT -9.3e18"))), QStringLiteral("-9.3e+18"));
        QCOMPARE(db::cellText(scalar(QStringLiteral("SELECT -9223372036854775808.0"))), QStringLiteral("-9223372036854775808"));
        QVERIFY(count(QStringLiteral("WHERE CSTR(MONDE) = '2'")) > 0);
        QCOMPARE(scalar(QStringLiteral("SELECT IIF(1 = 2, 'ja', 'nein')")).toString(), QStringLiteral("nein"));
        QCOMPARE(scalar(QStringLiteral("SELECT IIF(NULL, 'ja', 'nein')")).toString(), QStringLiteral("nein"));
        QVERIFY(scalar(QStringLiteral("SELECT SUM(MONDE) FROM KARTEN WHERE NAME = 'gibt es nicht'")).isNull());
        QCOMPARE(scalar(QStringLiteral("SELECT UCASE(LEFT('dravenna', 3)) & RIGHT('abc', 1)")).toString(),
                 QStringLiteral("DRAc"));
        QVERIFY_THROWS_EXCEPTION(DbError, scalar(QStringLiteral("SELECT NOSUCHFN(1)")));
    }

    void poolQueryGivesStrengthAndSymbolTexts() {
        QVERIFY(db::sqlPool().contains(QStringLiteral("AS Stärke,        Monde,        IIF(FREI")));
        QVERIFY(db::sqlPool().endsWith(QStringLiteral("Gang, Nummer, Set FROM   KARTEN ")));
        QVERIFY(db::sqlDeck().endsWith(QStringLiteral("FROM   DECK ")));
        QCOMPARE(db::sqlPool().count(u'\\'), 1);

        auto rs = m_db->OpenRecordset(db::sqlPool() + QStringLiteral("WHERE NUMMER IN ('ORVANE 05','ORVANE 06','ORVANE 07','SIVAR 05') ") +
                                      db::kStartOrder, Trust::UserCondition);
        QCOMPARE(rs.labels(), (QStringList{QStringLiteral("Fraktion"), QStringLiteral("Name"), QStringLiteral("Kartenart"),
                                           QStringLiteral("Stärke"), QStringLiteral("Monde"), QStringLiteral("Sonderf"),
                                           QStringLiteral("Gang"), QStringLiteral("Nummer"), QStringLiteral("Set")}));
        QHash<QString, QPair<QString, QString>> byNumber;
        for (; !rs.Eof(); rs.MoveNext())
            byNumber.insert(rs.Fields(7).toString(), {rs.Fields(3).toString(), rs.Fields(QStringLiteral("Sonderf")).toString()});
        QCOMPARE(byNumber.value(QStringLiteral("ORVANE 05")), (QPair<QString, QString>{QStringLiteral("[3]\\5"), QStringLiteral("Paar Stop ")}));
        QCOMPARE(byNumber.value(QStringLiteral("ORVANE 06")),
                 (QPair<QString, QString>{QStringLiteral("\\[2]"), QStringLiteral("Frei Paar Gesch. Aufn. Stop Ersetzen ")}));
        QCOMPARE(byNumber.value(QStringLiteral("ORVANE 07")), (QPair<QString, QString>{QString(), QString()}));
        QCOMPARE(byNumber.value(QStringLiteral("SIVAR 05")).first, QStringLiteral("[4]\\"));
    }

    void userConditionsMayOnlyRead_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("second statement") << db::sqlPool() + QStringLiteral("WHERE MONDE = 1; DELETE * FROM DECK");
        QTest::newRow("twice") << QStringLiteral("SELECT * FROM KARTEN; SELECT * FROM KARTEN");
        QTest::newRow("delete") << QStringLiteral("DELETE * FROM KARTEN");
        QTest::newRow("insert") << QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN");
        QTest::newRow("attach") << QStringLiteral("ATTACH '/tmp/evil.db' AS evil");
        QTest::newRow("pragma") << QStringLiteral("PRAGMA writable_schema = 1");
        QTest::newRow("drop") << QStringLiteral("DROP TABLE KARTEN");
    }

    void userConditionsMayOnlyRead() {
        QFETCH(QString, sql);
        const int cards = count(QString());
        QVERIFY_THROWS_EXCEPTION(DbError, m_db->OpenRecordset(sql, Trust::UserCondition));
        QCOMPARE(count(QString()), cards);
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/evil.db")));
    }

    void malformedTextIsAnErrorNotACrash() {
        for (const char* bad : {"SELECT 'open", "SELECT [open", "SELECT (1", "SELECT 1)", "SELECT 1 & ", "SELECT #1#"})
            QVERIFY_THROWS_EXCEPTION(DbError, m_db->OpenRecordset(QString::fromUtf8(bad)));
    }
};

QTEST_GUILESS_MAIN(TstJetDialect)
#include "tst_jetdialect.moc"
