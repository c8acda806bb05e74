// Conditions a stranger's filter file or a careless player can bring: deep nesting, engine functions
// outside the dialect, NUL characters, megabytes of text, and queries that would run for hours.
#include "db/database.h"
#include "db/dberror.h"
#include "db/jettranslator.h"
#include "db/querybudget.h"
#include "tests/helpers/testprogramdir.h"

#include <QElapsedTimer>
#include <QtTest/QTest>

using db::Database;
using db::DbError;
using namespace std::chrono_literals;

namespace {

// Four catalogues joined: hours of work without the budget.
const QString kRunaway = QStringLiteral("EXISTS (SELECT * FROM KARTEN a, KARTEN b, KARTEN c, KARTEN d "
                                        "WHERE a.NAME & b.NAME & c.NAME & d.NAME = 'x')");

QString condition(const QString& where) { return QStringLiteral("SELECT NAME FROM KARTEN WHERE ") + where; }

// Runs the text as a user condition and gives the error it raises (number 0: none).
DbError userError(Database& conn, const QString& sql) {
    try {
        conn.OpenRecordset(sql, db::Trust::UserCondition);
    } catch (const DbError& e) {
        return e;
    }
    return DbError(0, QString());
}

// A watch that records what it was shown and cancels once asked after a given time.
class RecordingWatch : public db::QueryWatch {
public:
    RecordingWatch(std::vector<std::chrono::milliseconds>* calls, std::chrono::milliseconds cancelAfter)
        : m_calls(calls), m_cancelAfter(cancelAfter) {}
    bool keepRunning(std::chrono::milliseconds elapsed) override {
        m_calls->push_back(elapsed);
        return elapsed < m_cancelAfter;
    }

private:
    std::vector<std::chrono::milliseconds>* m_calls;
    std::chrono::milliseconds m_cancelAfter;
};

} // namespace

class TstHostileSql : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<Database> m_conn;

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_conn = Database::OpenDatabase(m_dir->databasePath());
    }
    void cleanup() {
        m_conn.reset();
        m_dir.reset();
        db::setQueryWatchFactory(nullptr);
        db::setQueryBudget({});
    }

    void nestingIsBoundedWithAClearError() {
        // Twelve thousand levels ended the program once; now they are refused, in every spelling.
        for (const QString& open : {QStringLiteral("("), QStringLiteral("IIF("), QStringLiteral("ISNULL("),
                                    QStringLiteral("[IIF](")}) {
            const QString sql = condition(open.repeated(12000) + QStringLiteral("1") + QStringLiteral(")").repeated(12000));
            const DbError e = userError(*m_conn, sql);
            QCOMPARE(e.number(), 3360);
            QCOMPARE(e.description(), db::kTooDeeplyNested);
        }
        auto nested = [](const QString& open, int depth, const QString& inner) {
            return open.repeated(depth) + inner + QStringLiteral(")").repeated(depth);
        };
        // Just inside the translator's bound the engine's parser gives the same refusal.
        for (int depth : {db::kMaxJetNesting, db::kMaxJetNesting + 1}) {
            const DbError e = userError(*m_conn, condition(nested(QStringLiteral("("), depth, QStringLiteral("1=1"))));
            QCOMPARE(e.number(), 3360);
            QCOMPARE(e.description(), db::kTooDeeplyNested);
        }
        // Reasonable nesting works, also for the forms that add levels of their own.
        const int all = m_conn->OpenRecordset(QStringLiteral("SELECT NAME FROM KARTEN")).RecordCount();
        QCOMPARE(m_conn->OpenRecordset(condition(nested(QStringLiteral("("), 30, QStringLiteral("1=1"))), db::Trust::UserCondition)
                     .RecordCount(),
                 all);
        QString isnull = QStringLiteral("NAME");
        for (int i = 0; i < 6; ++i)
            isnull = QStringLiteral("ISNULL(") + isnull + QStringLiteral(") & 'x'");
        QCOMPARE(m_conn->OpenRecordset(condition(isnull + QStringLiteral(" <> ''")), db::Trust::UserCondition).RecordCount(), all);
    }

    void onlyTheDialectsFunctionsMayBeCalled_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("message");
        const QString undefined = QStringLiteral("Undefinierte Funktion '%1' in Ausdruck. Erlaubt sind nur die Funktionen des "
                                                 "Access-SQL: ABS, AVG, CINT, CLNG, COUNT, CSTR, IIF, INSTR, ISNULL, LCASE, "
                                                 "LEFT, LEN, LTRIM, MAX, MID, MIN, RIGHT, ROUND, RTRIM, SUM, TRIM, UCASE.");
        QTest::newRow("bracketed randomblob") << QStringLiteral("[randomblob](1000000000) IS NOT NULL")
                                              << undefined.arg(QStringLiteral("randomblob"));
        QTest::newRow("bracketed zeroblob, other case") << QStringLiteral("LEN([ZeroBlob](1000000000)) > 0")
                                                        << undefined.arg(QStringLiteral("ZeroBlob"));
        QTest::newRow("bracketed sqlite_version") << QStringLiteral("[sqlite_version]() <> ''")
                                                  << undefined.arg(QStringLiteral("sqlite_version"));
        QTest::newRow("bare word") << QStringLiteral("randomblob(10) IS NOT NULL") << undefined.arg(QStringLiteral("randomblob"));
        QTest::newRow("bracket with blank") << QStringLiteral("[printf] ('%s', NAME) <> ''")
                                            << undefined.arg(QStringLiteral("printf"));
        QTest::newRow("table-valued") << QStringLiteral("EXISTS (SELECT * FROM pragma_table_info('KARTEN'))")
                                      << undefined.arg(QStringLiteral("pragma_table_info"));
    }

    void onlyTheDialectsFunctionsMayBeCalled() {
        QFETCH(QString, where);
        QFETCH(QString, message);
        const DbError e = userError(*m_conn, condition(where));
        QCOMPARE(e.number(), 3085);
        QCOMPARE(e.description(), message);
    }

    void theEngineRefusesFunctionsThatTranslatedTextCouldStillReach() {
        // Behind the translator the engine itself lets a user condition call the dialect's functions only.
        const QString native = m_conn->translate(condition(QStringLiteral("LEN(NAME) > 0")))
                                   .replace(QStringLiteral("length("), QStringLiteral("randomblob("));
        QVERIFY(native.contains(QStringLiteral("randomblob(")));
        try {
            m_conn->runNative(native, db::Trust::UserCondition);
            QFAIL("randomblob ran");
        } catch (const DbError& e) {
            QCOMPARE(e.description(), QStringLiteral("Die Funktion 'randomblob' ist in Filter-Bedingungen nicht erlaubt."));
        }
        QVERIFY_THROWS_EXCEPTION(DbError, m_conn->runNative(QStringLiteral("SELECT \"sqlite_version\"()"), db::Trust::UserCondition));
        // The program's own text and the dialect's functions stay usable.
        QVERIFY(m_conn->OpenRecordset(condition(QStringLiteral("[IIF](ISNULL([StFeuer]), 0, 1) = 0 AND NAME & '' LIKE '*'")),
                                      db::Trust::UserCondition)
                    .RecordCount() > 0);
        QCOMPARE(m_conn->runNative(QStringLiteral("SELECT typeof(1)")).Fields(0).toString(), QStringLiteral("integer"));
    }

    void nulAndHugeTextFailFastWithAShortMessage() {
        DbError e = userError(*m_conn, condition(QStringLiteral("NAME = 'a") + QChar(u'\0') + QStringLiteral("b'")));
        QCOMPARE(e.number(), 3075);
        QCOMPARE(e.description(), QStringLiteral("Syntaxfehler in der Abfrage: sie enthält ein NUL-Zeichen."));

        // A megabyte of unterminated text: refused at once, and the message does not repeat it.
        QElapsedTimer clock;
        clock.start();
        e = userError(*m_conn, condition(QStringLiteral("NAME = '") + QString(1000000, u'x')));
        qInfo("1 MB unterminated condition refused in %lld ms", static_cast<long long>(clock.elapsed()));
        QCOMPARE(e.description(), QStringLiteral("Die Abfrage ist zu lang: 1000038 Zeichen, erlaubt sind höchstens 100000."));
        e = userError(*m_conn, condition(QStringLiteral("NAME = '") + QString(90000, u'x')));
        QCOMPARE(e.number(), 3075);
        QVERIFY(e.description().startsWith(QStringLiteral("Zeichenfolge ohne schließendes Anführungszeichen in: SELECT NAME")));
        QVERIFY(e.description().endsWith(QStringLiteral("xxx…")));
        QVERIFY(e.description().size() < 300);
        e = userError(*m_conn, condition(QStringLiteral("[NAME") + QString(90000, u'x')));
        QVERIFY(e.description().startsWith(QStringLiteral("Name ohne schließende Klammer in: ")));
        QVERIFY(e.description().size() < 300);
    }

    void runawayConditionStopsAtTheHardLimit() {
        db::setQueryBudget({10000ms, 300ms});
        QElapsedTimer clock;
        clock.start();
        const DbError e = userError(*m_conn, condition(kRunaway));
        const qint64 took = clock.elapsed();
        qInfo("runaway condition interrupted after %lld ms (limit 300 ms)", static_cast<long long>(took));
        QCOMPARE(e.number(), db::kQueryCancelled);
        QCOMPARE(e.description(), QStringLiteral("Die Abfrage wurde nach 0,3 Sekunden abgebrochen, weil sie zu lange dauerte. "
                                                 "Bitte die Bedingung vereinfachen."));
        // The connection is usable afterwards.
        QVERIFY(m_conn->OpenRecordset(condition(QStringLiteral("NAME LIKE 'A*'")), db::Trust::UserCondition).RecordCount() > 0);
    }

    void watchIsAskedAfterShowAfterAndMayCancel() {
        std::vector<std::chrono::milliseconds> calls;
        db::setQueryBudget({200ms, 10000ms});
        db::setQueryWatchFactory([&](const db::QueryBudget& budget) {
            [&] { QCOMPARE(budget.showAfter, 200ms); }();
            return std::make_unique<RecordingWatch>(&calls, 400ms);
        });
        const DbError e = userError(*m_conn, condition(kRunaway));
        QCOMPARE(e.number(), db::kQueryCancelled);
        QCOMPARE(e.description(), QStringLiteral("Die Abfrage wurde abgebrochen."));
        QVERIFY(calls.size() > 10);
        QVERIFY(calls.back() >= 400ms);
        QVERIFY(calls.back() < 5000ms);

        // A quick condition finishes untouched, and program queries are never watched.
        calls.clear();
        QVERIFY(m_conn->OpenRecordset(condition(QStringLiteral("[Frei] = TRUE")), db::Trust::UserCondition).RecordCount() > 0);
        QVERIFY(std::all_of(calls.begin(), calls.end(), [](auto ms) { return ms < 400ms; }));
        db::setQueryBudget({0ms, 0ms});
        QVERIFY(m_conn->OpenRecordset(QStringLiteral("SELECT * FROM KARTEN")).RecordCount() > 0);
    }
};

QTEST_GUILESS_MAIN(TstHostileSql)
#include "tst_hostilesql.moc"
