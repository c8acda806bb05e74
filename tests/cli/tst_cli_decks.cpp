// dravenna-deck on deck files: the checks, lists and exchange files the window writes for the same deck,
// the comparison of two decks and the opening hand.
#include "tests/cli/clitest.h"

using namespace clitest;

class TstCliDecks : public CliTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { m_dir.reset(); }

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
};

QTEST_MAIN(TstCliDecks)
#include "tst_cli_decks.moc"
