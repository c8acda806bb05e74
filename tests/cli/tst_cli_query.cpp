// dravenna-deck query: the pool query of the window, its output formats, and conditions it refuses or stops.
#include "tests/cli/clitest.h"

using namespace clitest;

class TstCliQuery : public CliTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { m_dir.reset(); }

    void queryRunsThePoolQuery() {
        auto conn = db::Database::OpenDatabase(db());
        const QString condition = QStringLiteral("[Fraktion] = 'Sivar' AND Monde >= 1");
        const QString order = QStringLiteral("ORDER BY Monde DESC, Name");
        auto expected = conn->OpenRecordset(db::sqlPool() + QStringLiteral("WHERE ") + condition +
                                            QStringLiteral(" ") + order + QStringLiteral(" "));
        QVERIFY(expected.RecordCount() > 3);
        QStringList rows;
        QList<QVariantList> values;
        for (; !expected.Eof(); expected.MoveNext()) {
            QStringList cells;
            values.append(QVariantList());
            for (int c = 0; c < 9; ++c) {
                cells << db::cellText(expected.Fields(c));
                values.last() << expected.Fields(c);
            }
            rows << cells.join(u'\t');
        }

        const Run tsv =
            tool({QStringLiteral("query"), condition, QStringLiteral("--order"), order,
                  QStringLiteral("--format"), QStringLiteral("tsv"), QStringLiteral("--db"), db()},
                 m_home);
        QCOMPARE(tsv.code, 0);
        QStringList lines = QString::fromUtf8(tsv.out).split(u'\n');
        QCOMPARE(lines.takeFirst(),
                 QStringLiteral("Fraktion\tName\tKartenart\tStärke\tMonde\tSonderf\tGang\tNummer\tSet"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines, rows);

        const Run json =
            tool({QStringLiteral("query"), condition, QStringLiteral("--order"), order,
                  QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("--db"), db()},
                 m_home);
        QCOMPARE(json.code, 0);
        // Every cell with the catalogue's own type: numbers as numbers, empty cells as null.
        const QJsonArray array = QJsonDocument::fromJson(json.out).array();
        QCOMPARE(array.size(), values.size());
        const QStringList labels = QString::fromUtf8(tsv.out).section(u'\n', 0, 0).split(u'\t');
        int numbers = 0;
        for (qsizetype r = 0; r < values.size(); ++r) {
            for (qsizetype c = 0; c < labels.size(); ++c) {
                const QVariant& v = values[r][c];
                const QJsonValue j = array[r].toObject().value(labels[c]);
                if (v.isNull()) {
                    QVERIFY2(j.isNull(), qPrintable(labels[c]));
                } else if (v.typeId() == QMetaType::LongLong) {
                    QVERIFY2(j.isDouble(), qPrintable(labels[c]));
                    QCOMPARE(j.toInteger(), v.toLongLong());
                    ++numbers;
                } else {
                    QCOMPARE(j.toString(), v.toString());
                }
            }
        }
        QVERIFY(numbers >= values.size()); // "Monde" at least

        // Text for reading: aligned columns, the count below; without an order the pool's own.
        const Run text = tool({QStringLiteral("query"), condition, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(text.code, 0);
        const QStringList shown = QString::fromUtf8(text.out).split(u'\n');
        QVERIFY(shown.first().startsWith(QStringLiteral("Fraktion  Name")));
        QCOMPARE(shown.value(shown.size() - 2), QStringLiteral("Anzahl Karten: %1").arg(rows.size()));
        const Run all = tool({QStringLiteral("query"), QStringLiteral("--format"), QStringLiteral("tsv"),
                              QStringLiteral("--db"), db()},
                             m_home);
        QCOMPARE(all.out.count('\n'), 293);
    }

    // A name with a tab, a line break, quotes and a backslash: JSON keeps it whole, a TSV row and an
    // aligned line stay one line.
    void queryOutputKeepsAwkwardTextInItsRow() {
        sqlite3* h = db::openRawConnection(db(), db::Access::ReadWrite);
        QCOMPARE(sqlite3_exec(h,
                              "UPDATE KARTEN SET NAME = 'Tab' || char(9) || 'und \"Zitat\" \\ ' || char(13, "
                              "10) || 'Ende' WHERE NUMMER = 'SIVAR 05'",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(h);
        const QString name = QStringLiteral("Tab\tund \"Zitat\" \\ \r\nEnde");
        const QStringList args{QStringLiteral("query"), QStringLiteral("[Nummer] = 'SIVAR 05'"),
                               QStringLiteral("--db"), db(), QStringLiteral("--format")};
        const Run json = tool(args + QStringList{QStringLiteral("json")}, m_home);
        QCOMPARE(json.code, 0);
        QJsonParseError error;
        const QJsonArray array = QJsonDocument::fromJson(json.out, &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(array.size(), 1);
        QCOMPARE(array.first().toObject().value(QStringLiteral("Name")).toString(), name);
        QCOMPARE(array.first().toObject().value(QStringLiteral("Stärke")).toString(),
                 QStringLiteral("[4]\\"));
        const Run tsv = tool(args + QStringList{QStringLiteral("tsv")}, m_home);
        QCOMPARE(tsv.out.count('\n'), 2);
        QCOMPARE(QString::fromUtf8(tsv.out).split(u'\n').value(1).section(u'\t', 1, 1),
                 QStringLiteral("Tab und \"Zitat\" \\   Ende"));
        const Run text = tool(args + QStringList{QStringLiteral("text")}, m_home);
        QCOMPARE(text.out.count('\n'), 4);
    }

    // Conditions that would write, attach or reach past the dialect are refused as the special
    // filter refuses them; nothing changes and nothing is printed.
    void queryRefusesHostileConditions_data() {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("message");
        QTest::newRow("second statement")
            << "1=1; DELETE * FROM KARTEN" << QString() << "Zeichen nach dem Ende der SQL-Anweisung";
        QTest::newRow("engine function") << "NAME = load_extension('x')" << QString()
                                         << "Undefinierte Funktion 'load_extension' in Ausdruck.";
        QTest::newRow("in the order") << QString() << "ORDER BY NAME; DROP TABLE KARTEN"
                                      << "Zeichen nach dem Ende der SQL-Anweisung";
        QTest::newRow("unknown column")
            << "[Gibtsnicht] = 1" << QString() << "Unbekannter Feldname: Gibtsnicht";
    }

    void queryRefusesHostileConditions() {
        QFETCH(QString, condition);
        QFETCH(QString, order);
        QFETCH(QString, message);
        const QByteArray before = sha(db());
        QStringList args{QStringLiteral("query"), QStringLiteral("--db"), db()};
        if (!condition.isEmpty())
            args << condition;
        if (!order.isEmpty())
            args << QStringLiteral("--order") << order;
        QVERIFY(failedWithOneLine(tool(args, m_home), 1, message));
        QCOMPARE(sha(db()), before);
    }

    // A condition that would keep the engine busy for hours ends under the program's own budget.
    void aRunawayConditionIsStopped() {
        const QString runaway = QStringLiteral("EXISTS (SELECT * FROM KARTEN a, KARTEN b, KARTEN c, KARTEN d "
                                               "WHERE a.NAME & b.NAME & c.NAME & d.NAME = 'x')");
        QElapsedTimer clock;
        clock.start();
        const Run r = tool({QStringLiteral("query"), runaway, QStringLiteral("--db"), db()}, m_home);
        QVERIFY(failedWithOneLine(
            r, 1,
            QStringLiteral("Die Abfrage wurde nach 10 Sekunden abgebrochen, weil sie zu lange dauerte. "
                           "Bitte die Bedingung vereinfachen.")));
        QVERIFY(clock.elapsed() < 30000);
    }
};

QTEST_MAIN(TstCliQuery)
#include "tst_cli_query.moc"
