// dravenna-deck run as its own process on real files, against what the program's window writes for
// the same deck.
#include "core/instancelock.h"
#include "core/textfile.h"
#include "db/database.h"
#include "db/queries.h"
#include "deckio/cardtable.h"
#include "deckio/deckfile.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <sqlite3.h>
#include <sys/resource.h>

namespace {

QString toolPath() {
    return testing::builtProgramDir() + QStringLiteral("/dravenna-deck");
}

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// The tool with its own HOME and settings folder, so that nothing of the tester's leaks in.
Run tool(const QStringList& args, const QString& home, const std::function<void()>& inChild = {},
         const QString& program = toolPath()) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    p.setProcessEnvironment(env);
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// A failure reports itself in one German line on standard error and writes nothing to standard output.
bool failedWithOneLine(const Run& r, int code, const QString& text) {
    const QString err = QString::fromUtf8(r.err);
    const bool ok = r.code == code && r.out.isEmpty() && err.count(u'\n') == 1 && err.endsWith(u'\n') &&
                    err.startsWith(QStringLiteral("dravenna-deck: ")) && err.contains(text);
    if (!ok)
        qWarning("exit %d, stdout %s, stderr %s", r.code, r.out.left(200).constData(), r.err.constData());
    return ok;
}

QStringList column(db::Database& conn, const QString& sql) {
    QStringList values;
    for (auto rs = conn.OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
        values << rs.Fields(0).toString();
    return values;
}

QByteArray sha(const QString& path) {
    return QCryptographicHash::hash(testing::readFile(path), QCryptographicHash::Sha256);
}

} // namespace

class TstCli : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    QString m_home;
    QString db() const { return m_dir->databasePath(); }
    QString file(const QString& name) const { return m_dir->filePath(name); }

    QString deckFile(const QString& name, const QString& leaderNumber, const QString& inquisitorNumber,
                     const QStringList& cards) {
        deckio::DeckFileContent content;
        content.leaderNumber = leaderNumber;
        content.inquisitorNumber = inquisitorNumber;
        content.cardNumbers = cards;
        testing::writeFile(file(name), deckio::encodeDeckFile(content));
        return file(name);
    }

    // The decks of the checks: Harald allows 40 cards and 12 foreign moons; Vater Odo adds 10 cards,
    // Isaura 4 moons.
    QStringList fewOrvane() {
        auto conn = db::Database::OpenDatabase(db());
        return column(*conn,
                      QStringLiteral("SELECT NUMMER FROM KARTEN WHERE FRAKTION = 'Orvane' ORDER BY NUMMER"))
            .mid(0, 10);
    }
    QStringList fortyOneCards() {
        auto conn = db::Database::OpenDatabase(db());
        QStringList cards = column(
            *conn, QStringLiteral("SELECT NUMMER FROM KARTEN WHERE FRAKTION = 'Orvane' ORDER BY NUMMER"));
        cards +=
            column(*conn,
                   QStringLiteral(
                       "SELECT NUMMER FROM KARTEN WHERE FRAKTION <> 'Orvane' AND MONDE = 0 ORDER BY NUMMER"))
                .mid(0, 41 - cards.size());
        return cards;
    }
    QStringList thirteenForeignMoons() {
        auto conn = db::Database::OpenDatabase(db());
        return column(*conn,
                      QStringLiteral("SELECT NUMMER FROM KARTEN WHERE FRAKTION = 'Orvane' ORDER BY NUMMER"))
                   .mid(0, 5) +
               column(
                   *conn,
                   QStringLiteral(
                       "SELECT NUMMER FROM KARTEN WHERE FRAKTION <> 'Orvane' AND MONDE = 1 ORDER BY NUMMER"))
                   .mid(0, 13);
    }

    // CardTable's card data for the whole catalogue: a back line per faction, a card line per card,
    // names in Windows-1252.
    QString cardTableData() {
        auto conn = db::Database::OpenDatabase(db());
        QByteArray data = "# Dravenna fuer CardTable\r\n";
        for (const char* table : {"KARTEN", "ANFUEHRER", "INQUISITOR"}) {
            QString back;
            for (auto rs = conn->OpenRecordset(
                     QStringLiteral("SELECT NUMMER, NAME FROM %1 ORDER BY NUMMER").arg(QLatin1String(table)));
                 !rs.Eof(); rs.MoveNext()) {
                const QString number = rs.Fields(0).toString();
                const QString group = number.section(u' ', 0, 0);
                if (group != back) {
                    back = group;
                    data += "back \"bilder/" + group.toLatin1() + "_ruecken.jpg\"\r\n";
                }
                data +=
                    core::encodeText(QStringLiteral("card \"bilder/%1/%2\" \"%3\"")
                                         .arg(group, QString(number).remove(u' '), rs.Fields(1).toString())) +
                    "\r\n";
            }
        }
        testing::writeFile(file(QStringLiteral("karten.txt")), data);
        return file(QStringLiteral("karten.txt"));
    }

    // What the window does with the deck: loaded from the command line, then one menu entry into a file.
    QByteArray programWrites(const QString& deck, const char* entry, const QString& target,
                             const QString& cardTableData = QString()) {
        testing::MainWindowFixture f;
        if (!cardTableData.isEmpty())
            deckio::storeCardTableLocation(
                {QFileInfo(cardTableData).absolutePath(), QFileInfo(cardTableData).fileName()});
        f.start(deck);
        f.prompter.choose(target);
        f.trigger(entry);
        return testing::readFile(target);
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_home = file(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(m_home + QStringLiteral("/config")));
    }
    void cleanup() { m_dir.reset(); }

    void theToolLinksNoWindowLibrary() {
        QProcess readelf;
        readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), toolPath()});
        QVERIFY(readelf.waitForFinished(30000));
        const QByteArray needed = readelf.readAllStandardOutput();
        QVERIFY2(needed.contains("[libQt6Core.so.6]"), needed.constData());
        QVERIFY2(needed.contains("[libsqlite3.so.0]"), needed.constData());
        QVERIFY2(!needed.contains("libQt6Gui") && !needed.contains("libQt6Widgets") &&
                     !needed.contains("libQt6Network"),
                 needed.constData());
    }

    // The window program answers --help and --version without a display, in the tool's version;
    // otherwise it says in one line that there is none.
    void theWindowProgramWithoutADisplay() {
        const QString program = testing::builtProgramDir() + QStringLiteral("/dravenna-deckbuilder");
        const Run help = tool({QStringLiteral("--help")}, m_home, {}, program);
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.startsWith("Aufruf: dravenna-deckbuilder [OPTIONEN] [DECK.drd]\n"));
        QVERIFY(help.err.isEmpty());
        const Run version = tool({QStringLiteral("-V")}, m_home, {}, program);
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out, tool({QStringLiteral("--version")}, m_home).out.replace("dravenna-deck ", "dravenna-deckbuilder "));
        for (const QStringList& args : {QStringList{}, QStringList{file(QStringLiteral("a.drd"))}}) {
            const Run start = tool(args, m_home, {}, program);
            QCOMPARE(start.code, 1);
            QVERIFY(start.out.isEmpty());
            QCOMPARE(start.err, QByteArray("Dravenna Deck-Builder: kein Bildschirm erreichbar (DISPLAY nicht gesetzt).\n"));
        }
    }

    void helpVersionAndWrongCalls() {
        const Run help = tool({QStringLiteral("--help")}, m_home);
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.startsWith("Aufruf: dravenna-deck BEFEHL [OPTIONEN]\n"));
        const Run version = tool({QStringLiteral("--version")}, m_home);
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out,
                 QByteArray("dravenna-deck (Dravenna Deck-Builder) " DRAVENNA_VERSION_TEXT "\n"));
        QVERIFY(failedWithOneLine(tool({}, m_home), 2, QStringLiteral("Kein Befehl angegeben")));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("pruefen"), QStringLiteral("x.drd")}, m_home), 2,
                                  QStringLiteral("Unbekannter Befehl pruefen")));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("check")}, m_home), 2,
                                  QStringLiteral("Dem Befehl check fehlt die Datei.")));
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("check"), QStringLiteral("a.drd"), QStringLiteral("b.drd")}, m_home), 2,
            QStringLiteral("Zu viele Angaben für den Befehl check: b.drd")));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("check"), QStringLiteral("a.drd"),
                                        QStringLiteral("-o"), QStringLiteral("x")},
                                       m_home),
                                  2, QStringLiteral("Die Option -o gehört nicht zu diesem Befehl.")));
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("query"), QStringLiteral("--format"), QStringLiteral("xml")}, m_home), 2,
            QStringLiteral("Unbekanntes Format xml")));
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("list"), QStringLiteral("a.drd"), QStringLiteral("--db")}, m_home), 2,
            QStringLiteral("Der Option --db fehlt ihr Wert.")));
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("list"), QStringLiteral("--gibts=1"), QStringLiteral("a.drd")}, m_home), 2,
            QStringLiteral("Unbekannte Option --gibts=1")));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("list"), QStringLiteral("a.drd"), QStringLiteral("-oa"),
                                        QStringLiteral("--output=b")},
                                       m_home),
                                  2, QStringLiteral("Die Option -o ist mehrfach angegeben.")));
    }

    // The exit code says whether the deck keeps its limits; the text is the notes tree of the window
    // for the same deck, with every count over its limit marked.
    void checkKeepsTheProgramsLimits_data() {
        QTest::addColumn<QString>("deck");
        QTest::addColumn<QString>("inquisitor");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("marked");
        QTest::newRow("within, no inquisitor") << "few" << QString() << 0 << QString();
        QTest::newRow("41 cards") << "41" << QString() << 1
                                  << QStringLiteral("Anzahl Karten: 41  (!) über der Grenze von 40");
        QTest::newRow("41 cards, Vater Odo adds 10") << "41" << QStringLiteral("INQ 412") << 0 << QString();
        QTest::newRow("41 cards, Isaura adds none")
            << "41" << QStringLiteral("INQ 413") << 1
            << QStringLiteral("Anzahl Karten: 41  (!) über der Grenze von 40");
        QTest::newRow("13 foreign moons")
            << "moons" << QString() << 1 << QStringLiteral("Anzahl Monde: 13  (!) über der Grenze von 12");
        QTest::newRow("13 foreign moons, Isaura adds 4")
            << "moons" << QStringLiteral("INQ 413") << 0 << QString();
        QTest::newRow("13 foreign moons, Vater Odo adds none")
            << "moons" << QStringLiteral("INQ 412") << 1
            << QStringLiteral("Anzahl Monde: 13  (!) über der Grenze von 12");
    }
    void checkKeepsTheProgramsLimits() {
        QFETCH(QString, deck);
        QFETCH(QString, inquisitor);
        QFETCH(int, exitCode);
        QFETCH(QString, marked);
        const QStringList cards = deck == u"few"  ? fewOrvane()
                                  : deck == u"41" ? fortyOneCards()
                                                  : thirteenForeignMoons();
        QCOMPARE(cards.size(), deck == u"few" ? 10 : deck == u"41" ? 41 : 18);
        const QString path =
            deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"), inquisitor, cards);
        const Run r = tool({QStringLiteral("check"), path, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(r.code, exitCode);
        QVERIFY(r.err.isEmpty());
        const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
        QVERIFY(
            lines.value(0).startsWith(QStringLiteral("Anführer:   Harald (Orvane: 40 Karten / 12 Monde )")));
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines.value(lines.size() - 2),
                 exitCode == 0 ? QStringLiteral("Das Deck hält seine Grenzen ein.")
                               : QStringLiteral("Das Deck überschreitet seine Grenzen."));
        if (!marked.isEmpty())
            QVERIFY2(lines.contains(marked), r.out.constData());

        // The same deck loaded in the program: its notes, their nesting and their colour.
        testing::MainWindowFixture f;
        f.start(path);
        QStringList notes;
        for (int i = 0; i < f.window->tvwNotes->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* top = f.window->tvwNotes->topLevelItem(i);
            const bool red = top->foreground(0).color() == QColor(255, 0, 0);
            notes << top->text(0) + (red ? QStringLiteral("  (!)") : QString());
            for (int c = 0; c < top->childCount(); ++c)
                notes << QStringLiteral("  ") + top->child(c)->text(0);
        }
        QStringList shown = lines.mid(3, lines.size() - 6);
        for (QString& line : shown)
            line = line.section(QStringLiteral(" über der Grenze von "), 0, 0);
        QCOMPARE(shown, notes);
        QCOMPARE(lines.value(1), QStringLiteral("Inquisitor: ") + f.window->cmbInquisitor->currentText());
        QCOMPARE(f.deckCountInDatabase(), cards.size());
    }

    void listIsWhatTheProgramSaves_data() {
        QTest::addColumn<QString>("inquisitor");
        QTest::newRow("no inquisitor") << QString();
        QTest::newRow("Vater Odo") << QStringLiteral("INQ 412");
        QTest::newRow("a name with a blank") << QStringLiteral("INQ 414");
    }
    void listIsWhatTheProgramSaves() {
        QFETCH(QString, inquisitor);
        const QString deck = deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"), inquisitor,
                                      thirteenForeignMoons());
        const QByteArray program = programWrites(deck, "mnuDeckliste", file(QStringLiteral("programm.txt")));
        QVERIFY(program.contains("ANF\xdcHRER: Harald (Orvane)\r\n"));

        const QString out = file(QStringLiteral("werkzeug.txt"));
        const Run r = tool(
            {QStringLiteral("list"), deck, QStringLiteral("-o"), out, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.isEmpty() && r.err.isEmpty());
        QCOMPARE(testing::readFile(out), program);

        // On standard output the same text as UTF-8 with plain line ends.
        const Run shown = tool({QStringLiteral("list"), deck, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(shown.code, 0);
        QCOMPARE(QString::fromUtf8(shown.out),
                 core::decodeText(program).chopped(2).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void exportIsWhatTheProgramWrites() {
        const QString data = cardTableData();
        const QString deck = deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"),
                                      QStringLiteral("INQ 413"), thirteenForeignMoons());
        const QByteArray program =
            programWrites(deck, "mnuCTExport", file(QStringLiteral("programm.ctd")), data);
        QVERIFY(program.count("card \"") == 20);

        const QString out = file(QStringLiteral("werkzeug.ctd"));
        const Run r = tool({QStringLiteral("export"), deck, QStringLiteral("--cardtable-data"), data,
                            QStringLiteral("-o"), out, QStringLiteral("--db"), db()},
                           m_home);
        QCOMPARE(r.code, 0);
        QVERIFY(r.err.isEmpty());
        QCOMPARE(testing::readFile(out), program);

        // Without --cardtable-data: where the program was told the data lie (its settings store).
        {
            QSettings stored(m_home + QStringLiteral("/config/DravennaDeckBuilder.conf"),
                             QSettings::IniFormat);
            stored.beginGroup(QStringLiteral("frmCardTableData"));
            stored.setValue(QStringLiteral("Path"), m_dir->path());
            stored.setValue(QStringLiteral("FileName"), QStringLiteral("karten.txt"));
        }
        const Run stored = tool({QStringLiteral("export"), deck, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(stored.code, 0);
        QCOMPARE(stored.out, program);
    }

    // A CardTable deck back into a deck file: the one the program saves after importing it, and
    // the same evaluation as the deck it came from.
    void importThenCheckRoundTrip() {
        const QString data = cardTableData();
        // In the order the program saves them, so that the file can come back byte for byte.
        auto conn = db::Database::OpenDatabase(db());
        const QStringList cards =
            column(*conn, QStringLiteral("SELECT NUMMER FROM KARTEN WHERE NUMMER IN ('%1') ORDER BY NUMMER")
                              .arg(fortyOneCards().join(QStringLiteral("','"))));
        QCOMPARE(cards.size(), 41);
        const QString deck = deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"),
                                      QStringLiteral("INQ 412"), cards);
        const QString ctd = file(QStringLiteral("deck.ctd"));
        QCOMPARE(tool({QStringLiteral("export"), deck, QStringLiteral("--cardtable-data"), data,
                       QStringLiteral("-o"), ctd, QStringLiteral("--db"), db()},
                      m_home)
                     .code,
                 0);
        const QString back = file(QStringLiteral("zurueck.drd"));
        const Run imported =
            tool({QStringLiteral("import"), ctd, QStringLiteral("-o"), back, QStringLiteral("--db"), db()},
                 m_home);
        QCOMPARE(imported.code, 0);
        QVERIFY(imported.err.isEmpty());
        QCOMPARE(testing::readFile(back), testing::readFile(deck));

        testing::MainWindowFixture f;
        f.start();
        f.prompter.choose(ctd);
        f.trigger("mnuCTImport");
        f.prompter.choose(file(QStringLiteral("programm.drd")));
        f.trigger("mnuSpeichern");
        QCOMPARE(testing::readFile(file(QStringLiteral("programm.drd"))), testing::readFile(back));

        const Run original = tool({QStringLiteral("check"), deck, QStringLiteral("--db"), db()}, m_home);
        const Run again = tool({QStringLiteral("check"), back, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(again.code, 0);
        QCOMPARE(again.out, original.out);
    }

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

    // Bad input: one German line, a non-zero exit, no output file and an existing one untouched.
    void badInputIsRefused() {
        const QString out = file(QStringLiteral("alt.txt"));
        testing::writeFile(out, "der alte Inhalt\r\n");
        const QString deck =
            deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"), QString(), fewOrvane());
        const QString data = cardTableData();
        const auto refused = [&](const QStringList& args, int code, const QString& text) {
            const bool ok =
                failedWithOneLine(tool(args + QStringList{QStringLiteral("-o"), out}, m_home), code, text);
            return ok && testing::readFile(out) == "der alte Inhalt\r\n";
        };
        const QString dbArg = QStringLiteral("--db=") + db();
        const QString missing = file(QStringLiteral("gibtsnicht.drd"));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("check"), missing, dbArg}, m_home), 2, missing));
        QVERIFY(refused({QStringLiteral("list"), missing, dbArg}, 1, missing));
        QVERIFY(refused({QStringLiteral("import"), file(QStringLiteral("gibtsnicht.ctd")), dbArg}, 1,
                        QStringLiteral("gibtsnicht.ctd")));
        QVERIFY(refused(
            {QStringLiteral("export"), deck, QStringLiteral("--cardtable-data"),
             file(QStringLiteral("weg.txt")), dbArg},
            1, QStringLiteral("Die CardTable-Daten %1 gibt es nicht.").arg(file(QStringLiteral("weg.txt")))));
        QVERIFY(refused({QStringLiteral("export"), deck, dbArg}, 1,
                        QStringLiteral("Die CardTable-Daten sind nicht angegeben worden")));

        // Files of another format.
        QVERIFY(failedWithOneLine(tool({QStringLiteral("check"), data, dbArg}, m_home), 2,
                                  QStringLiteral("%1 ist keine Deck-Datei: Zeile 1 nennt keinen bekannten "
                                                 "Anführer (\"# Dravenna fuer CardTable\").")
                                      .arg(data)));
        testing::writeFile(file(QStringLiteral("bild.drd")), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("check"), file(QStringLiteral("bild.drd")), dbArg}, m_home), 2,
            QStringLiteral("keine Deck-Datei")));
        QVERIFY(refused({QStringLiteral("list"), data, dbArg}, 1, QStringLiteral("keine Deck-Datei")));
        QVERIFY(refused({QStringLiteral("import"), deck, dbArg}, 1,
                        QStringLiteral("Keine Daten zum Speichern vorhanden.")));
        testing::writeFile(file(QStringLiteral("leer.drd")), "");
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("check"), file(QStringLiteral("leer.drd")), dbArg}, m_home), 2,
            QStringLiteral("ist leer")));
        testing::writeFile(file(QStringLiteral("kurz.drd")), "ORVANE 00");
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("check"), file(QStringLiteral("kurz.drd")), dbArg}, m_home), 2,
            QStringLiteral("Einlesen hinter Dateiende.")));

        // Unknown numbers, in a deck file and in a CardTable deck.
        const QString unknown = deckFile(QStringLiteral("unbekannt.drd"), QStringLiteral("ORVANE 00"),
                                         QString(), fewOrvane() + QStringList{QStringLiteral("ORVANE 99")});
        QVERIFY(failedWithOneLine(tool({QStringLiteral("check"), unknown, dbArg}, m_home), 2,
                                  QStringLiteral("unbekannte Kartennummer \"ORVANE 99\".")));
        QVERIFY(refused({QStringLiteral("list"), unknown, dbArg}, 1,
                        QStringLiteral("unbekannte Kartennummer \"ORVANE 99\".")));
        const QString badInquisitor = deckFile(QStringLiteral("inq.drd"), QStringLiteral("ORVANE 00"),
                                               QStringLiteral("INQ 999"), fewOrvane());
        QVERIFY(
            failedWithOneLine(tool({QStringLiteral("check"), badInquisitor, dbArg}, m_home), 2,
                              QStringLiteral("Zeile 2 nennt keinen bekannten Inquisitor (\"INQ 999\").")));
        testing::writeFile(file(QStringLiteral("unbekannt.ctd")),
                           "back x\r\ncard \"a/ORVANE00\" 1\r\ncard \"a/XYZ7\" 1\r\n");
        QVERIFY(refused({QStringLiteral("import"), file(QStringLiteral("unbekannt.ctd")), dbArg}, 1,
                        QStringLiteral("unbekannte Kartennummer \"XYZ 7\".")));
        testing::writeFile(file(QStringLiteral("kaputt.ctd")),
                           "card \"a/ORVANE00\" 1\r\ncard ohne Anfuehrungszeichen\r\n");
        QVERIFY(refused({QStringLiteral("import"), file(QStringLiteral("kaputt.ctd")), dbArg}, 1,
                        QStringLiteral("card ohne Anfuehrungszeichen")));

        // Databases that are not card databases, or none at all.
        const QString text = file(QStringLiteral("text.db"));
        testing::writeFile(text, QByteArray(2048, 'x'));
        QVERIFY(refused({QStringLiteral("list"), deck, QStringLiteral("--db"), text}, 1, text));
        const QString empty = file(QStringLiteral("leer.db"));
        sqlite3* h = db::openRawConnection(empty, db::Access::Create);
        QCOMPARE(sqlite3_exec(h, "CREATE TABLE T (A)", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(h);
        QVERIFY(
            failedWithOneLine(tool({QStringLiteral("check"), deck, QStringLiteral("--db"), empty}, m_home), 2,
                              QStringLiteral("Die Datei '%1' ist keine Kartendatenbank.").arg(empty)));
        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("query"), QStringLiteral("--db"), file(QStringLiteral("nichts.db"))},
                 m_home),
            1,
            QStringLiteral("Die Kartendatenbank %1 gibt es nicht.").arg(file(QStringLiteral("nichts.db")))));
        QVERIFY(!QFile::exists(file(QStringLiteral("nichts.db"))));
        // Nothing half-written was left beside the output.
        QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("alt.txt*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("alt.txt")});
    }

    // A write that fails on disk (here a file-size limit) leaves the old file as it was.
    void aFailedWriteKeepsTheOldFile() {
        const QString deck =
            deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"), QString(), fortyOneCards());
        const QString out = file(QStringLiteral("liste.txt"));
        testing::writeFile(out, "alt\r\n");
        const Run r =
            tool({QStringLiteral("list"), deck, QStringLiteral("-o"), out, QStringLiteral("--db"), db()},
                 m_home, [] {
                     const rlimit limit{512, 512};
                     ::setrlimit(RLIMIT_FSIZE, &limit);
                 });
        QVERIFY(failedWithOneLine(r, 1,
                                  QStringLiteral("Die Datei %1 kann nicht geschrieben werden: Die Datei "
                                                 "überschreitet die erlaubte Dateigröße.")
                                      .arg(out)));
        QCOMPARE(testing::readFile(out), QByteArray("alt\r\n"));
        QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("liste.txt*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("liste.txt")});
    }

    // -o never replaces what is not the tool's own: an input is refused, a FIFO or standard output is
    // written into; a system error is said in German.
    void outputReplacesOnlyItsOwnFile() {
        const QString deck =
            deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"), QString(), fortyOneCards());
        const QByteArray deckBytes = testing::readFile(deck);
        const QString data = cardTableData();
        const QString dbArg = QStringLiteral("--db=") + db();
        const QString sameDeck = m_dir->filePath(QStringLiteral("home/../deck.drd"));
        const struct {
            QStringList args;
            QString input;
        } ownInputs[] = {
            {{QStringLiteral("list"), deck, QStringLiteral("-o"), deck}, deck},
            {{QStringLiteral("list"), deck, QStringLiteral("-o"), sameDeck}, deck},
            {{QStringLiteral("export"), deck, QStringLiteral("--cardtable-data"), data, QStringLiteral("-o"), data}, data},
            {{QStringLiteral("list"), deck, QStringLiteral("-o"), db()}, db()},
        };
        const QByteArray dataBytes = testing::readFile(data);
        const QByteArray dbSha = sha(db());
        for (const auto& c : ownInputs) {
            const QString output = c.args.last();
            QVERIFY(failedWithOneLine(tool(c.args + QStringList{dbArg}, m_home), 1,
                                      QStringLiteral("Die Ausgabedatei %1 ist die Eingabedatei %2; es wurde nichts "
                                                     "geschrieben.")
                                          .arg(output, c.input)));
        }
        QCOMPARE(testing::readFile(deck), deckBytes);
        QCOMPARE(testing::readFile(data), dataBytes);
        QCOMPARE(sha(db()), dbSha);

        const QString fifoPath = file(QStringLiteral("roehre"));
        testing::FifoReader fifo(fifoPath);
        QVERIFY(fifo.made());
        QCOMPARE(tool({QStringLiteral("list"), deck, QStringLiteral("-o"), fifoPath, dbArg}, m_home).code, 0);
        const QByteArray received = fifo.received();
        QVERIFY(received.startsWith("ANF\xdcHRER: Harald (Orvane)\r\n"));
        QVERIFY(fifo.stillAFifo());
        const Run intoStdout =
            tool({QStringLiteral("list"), deck, QStringLiteral("-o"), QStringLiteral("/dev/stdout"), dbArg}, m_home);
        QCOMPARE(intoStdout.code, 0);
        QCOMPARE(intoStdout.out, received);
        // Standard output appending to a file: the list is added to it, the file is neither replaced nor cut.
        const QString log = file(QStringLiteral("protokoll.txt"));
        testing::writeFile(log, "vorher\n");
        const Run appended = tool({QStringLiteral("list"), deck, QStringLiteral("-o"), QStringLiteral("/dev/stdout"), dbArg},
                                  m_home, [path = QFile::encodeName(log)] {
                                      ::dup2(::open(path.constData(), O_WRONLY | O_APPEND), STDOUT_FILENO);
                                  });
        QCOMPARE(appended.code, 0);
        QCOMPARE(testing::readFile(log), "vorher\n" + received);

        QVERIFY(failedWithOneLine(
            tool({QStringLiteral("list"), file(QStringLiteral("fehlt.drd")), dbArg}, m_home), 1,
            QStringLiteral("Fehler beim Zugriff auf '%1': Die Datei oder der Ordner existiert nicht.")
                .arg(file(QStringLiteral("fehlt.drd")))));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("list"), deck, QStringLiteral("-o"), m_home, dbArg}, m_home), 1,
                                  QStringLiteral("Die Datei %1 kann nicht geschrieben werden: Das ist ein Ordner, "
                                                 "keine Datei.")
                                      .arg(m_home)));
    }

    // The program runs: it holds the lock, its deck is in the file and it is in the middle of
    // changing it. The tool reads all the same and leaves the program's deck alone.
    void theToolWorksBesideARunningProgram() {
        const auto lock = core::claimDatabase(db());
        QCOMPARE(lock->state(), core::InstanceLock::State::Acquired);
        auto program = db::Database::OpenDatabase(db());
        program->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE FRAKTION = 'Garsk'"));
        const QStringList programDeck =
            column(*program, QStringLiteral("SELECT NUMMER FROM DECK ORDER BY NUMMER"));
        sqlite3* writer = db::openRawConnection(db(), db::Access::ReadWrite);
        QCOMPARE(sqlite3_exec(writer, "BEGIN IMMEDIATE; DELETE FROM DECK WHERE NUMMER = 'GARSK 05'", nullptr,
                              nullptr, nullptr),
                 SQLITE_OK);

        const QString data = cardTableData();
        const QString deck =
            deckFile(QStringLiteral("deck.drd"), QStringLiteral("ORVANE 00"), QString(), fewOrvane());
        QCOMPARE(tool({QStringLiteral("check"), deck, QStringLiteral("--db"), db()}, m_home).code, 0);
        QCOMPARE(tool({QStringLiteral("list"), deck, QStringLiteral("-o"), file(QStringLiteral("l.txt")),
                       QStringLiteral("--db"), db()},
                      m_home)
                     .code,
                 0);
        QCOMPARE(tool({QStringLiteral("export"), deck, QStringLiteral("--cardtable-data"), data,
                       QStringLiteral("-o"), file(QStringLiteral("d.ctd")), QStringLiteral("--db"), db()},
                      m_home)
                     .code,
                 0);
        QCOMPARE(tool({QStringLiteral("import"), file(QStringLiteral("d.ctd")), QStringLiteral("-o"),
                       file(QStringLiteral("d.drd")), QStringLiteral("--db"), db()},
                      m_home)
                     .code,
                 0);
        QCOMPARE(testing::readFile(file(QStringLiteral("d.drd"))), testing::readFile(deck));
        QCOMPARE(tool({QStringLiteral("query"), QStringLiteral("[Nummer] LIKE 'ORVANE*'"),
                       QStringLiteral("--db"), db()},
                      m_home)
                     .code,
                 0);
        // The listed deck is the file's, not the program's Garsk cards.
        QVERIFY(!testing::readFile(file(QStringLiteral("l.txt"))).contains("GARSK"));

        QCOMPARE(sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(writer);
        QStringList expected = programDeck;
        expected.removeOne(QStringLiteral("GARSK 05"));
        QCOMPARE(column(*program, QStringLiteral("SELECT NUMMER FROM DECK ORDER BY NUMMER")), expected);
        QVERIFY(QFile::exists(db() + QStringLiteral(".lock")));
    }

    // Without --db the tool opens the database beside it, as the program does.
    // diff: the three lists and the differences in every format, the exit code telling equal from different.
    void diffSetsTwoDeckFilesSideBySide() {
        const QString a = file(QStringLiteral("a.drd"));
        const QString b = file(QStringLiteral("b.drd"));
        const QString same = file(QStringLiteral("gleich.drd"));
        testing::writeFile(a, "ORVANE 00\r\n\r\nORVANE 03\r\nORVANE 04\r\nNIX 1\r\n");
        testing::writeFile(b, "ORVANE 00\r\nINQ 411\r\norvane 04\r\nBRAMEL 03\r\n");
        testing::writeFile(same, "orvane 00\r\n\r\nNIX 1\r\nORVANE 04\r\nORVANE 03\r\nORVANE 03\r\n");

        const Run text = tool({QStringLiteral("diff"), a, b, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(text.code, 1);
        QVERIFY2(text.out.startsWith("Nur in a.drd (1):\n  ORVANE 03  Landsknechte aus Eisenfurt\n\n"
                                     "In beiden (1):\n  ORVANE 04  Dietlinde Feuerhaar\n\n"
                                     "Nur in b.drd (1):\n  BRAMEL 03  Schmiedin aus Morgenrot\n\n"),
                 text.out.constData());
        QVERIFY(QRegularExpression(QStringLiteral("\nInquisitor +- +Mordan der Bleiche +\\*\n")).match(QString::fromUtf8(text.out)).hasMatch());
        QVERIFY(text.out.endsWith("Unbekannte Kartennummern in a.drd: NIX 1\n\nDie Decks unterscheiden sich.\n"));

        const Run json = tool({QStringLiteral("diff"), a, b, QStringLiteral("--format"), QStringLiteral("json"),
                               QStringLiteral("--db"), db()},
                              m_home);
        QCOMPARE(json.code, 1);
        const QJsonObject doc = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(doc.value("gleich").toBool(true), false);
        QCOMPARE(doc.value("nurB").toArray().at(0).toObject().value("nummer").toString(), QStringLiteral("BRAMEL 03"));
        QCOMPARE(doc.value("unbekanntA").toArray(), QJsonArray({QStringLiteral("NIX 1")}));
        QCOMPARE(doc.value("unterschiede").toArray().at(2).toObject(),
                 QJsonObject({{"merkmal", "Anzahl Karten"}, {"a", "2 / 40"}, {"b", "2 / 45"}, {"verschieden", true}}));

        const Run tsv = tool({QStringLiteral("diff"), a, b, QStringLiteral("--format"), QStringLiteral("tsv"),
                              QStringLiteral("--db"), db()},
                             m_home);
        const QList<QByteArray> lines = tsv.out.split('\n');
        QCOMPARE(lines.at(0), QByteArray("Art\tNummer/Merkmal\ta.drd\tb.drd"));
        QCOMPARE(lines.at(3), QByteArray("nur B\tBRAMEL 03\t\tSchmiedin aus Morgenrot"));

        const Run equal = tool({QStringLiteral("diff"), a, same, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(equal.code, 0);
        QVERIFY(equal.out.endsWith("Die Decks sind gleich.\n"));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("diff"), a, file(QStringLiteral("fehlt.drd")), QStringLiteral("--db"), db()}, m_home),
                                  2, QStringLiteral("fehlt.drd")));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("diff"), a}, m_home), 2, QStringLiteral("Dem Befehl diff fehlt die Datei.")));
    }

    // odds: the exact chances for the deck file's cards, the hand size from --hand.
    void oddsForTheFirstCards() {
        const QString deck = file(QStringLiteral("odds.drd"));
        QByteArray text = "ORVANE 00\r\n\r\nBRAMEL 03\r\n";
        for (int n = 3; n < 12; ++n)
            text += QStringLiteral("ORVANE %1\r\n").arg(n, 2, 10, QLatin1Char('0')).toLatin1();
        testing::writeFile(deck, text);
        const Run json = tool({QStringLiteral("odds"), deck, QStringLiteral("--hand"), QStringLiteral("4"),
                               QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("--db"), db()},
                              m_home);
        QCOMPARE(json.code, 0);
        const QJsonObject doc = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(doc.value("deck").toInt(), 10);
        QCOMPARE(doc.value("hand").toInt(), 4);
        const QJsonObject bramel = doc.value("zeilen").toArray().at(0).toObject();
        QCOMPARE(bramel.value("merkmal").toString(), QStringLiteral("Fraktion: Bramel"));
        // One card in ten, four drawn: 4/10; never two of it.
        QVERIFY(qAbs(bramel.value("mindestens").toArray().at(0).toDouble() - 0.4) < 1e-12);
        QCOMPARE(bramel.value("mindestens").toArray().at(1).toDouble(), 0.0);
        const Run plain = tool({QStringLiteral("odds"), deck, QStringLiteral("--db"), db()}, m_home);
        QCOMPARE(plain.code, 0);
        QVERIFY(plain.out.startsWith("Starthand: 7 von 10 Karten\n\nMerkmal"));
        QVERIFY(QRegularExpression(QStringLiteral("\nFraktion: Bramel +1 +70,0 % +0,0 %")).match(QString::fromUtf8(plain.out)).hasMatch());
        QVERIFY(failedWithOneLine(tool({QStringLiteral("odds"), deck, QStringLiteral("--hand"), QStringLiteral("0")}, m_home), 2,
                                  QStringLiteral("Die Option --hand braucht eine Zahl von 1 bis 60.")));
        QVERIFY(failedWithOneLine(tool({QStringLiteral("check"), deck, QStringLiteral("--hand"), QStringLiteral("3")}, m_home), 2,
                                  QStringLiteral("Die Option --hand gehört nicht zu diesem Befehl.")));
    }

    void theDefaultDatabaseIsTheProgramsOwn() {
        const QString copy = file(QStringLiteral("dravenna-deck"));
        QVERIFY(QFile::exists(copy) || QFile::copy(toolPath(), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        db::Database::OpenDatabase(db())->Execute(
            QStringLiteral("UPDATE KARTEN SET NAME = 'Nur hier' WHERE NUMMER = 'ORVANE 10'"));
        const Run r = tool({QStringLiteral("query"), QStringLiteral("[Nummer] = 'ORVANE 10'"),
                            QStringLiteral("--format"), QStringLiteral("tsv")},
                           m_home, {}, copy);
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains("\tNur hier\t"), r.out.constData());
    }
};

QTEST_MAIN(TstCli)
#include "tst_cli.moc"
