// dravenna-deck as a program: its calls, its refusals, its output files, beside the running window.
#include "tests/cli/clitest.h"

using namespace clitest;

class TstCliCalls : public CliTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { setUp(); }
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

QTEST_MAIN(TstCliCalls)
#include "tst_cli_calls.moc"
