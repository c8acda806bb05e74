// Deck files and CardTable files as a stranger or a broken disk hands them over: NUL bytes in card
// lines, files far larger than any deck, devices that never end.
#include "deckio/cardtable.h"
#include "deckio/deckfile.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest/QTest>

using testing::MainWindowFixture;

namespace {

QStringList deckNumbers(MainWindowFixture& f) {
    QStringList numbers;
    for (int r = 1; r < f.window->flxDeck->Rows(); ++r)
        numbers << f.window->flxDeck->TextMatrix(r, 7);
    numbers.sort();
    return numbers;
}

template <size_t N>
QByteArray withNul(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

// A file of the given size without writing its bytes (a hole the file system fills with zeros).
void sparseFile(const QString& path, qint64 size) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(size));
}

QString tooLarge(const QString& path, qint64 limit) {
    return QStringLiteral("Fehler im Dravenna Deck-Builder:\r\nFehler beim Zugriff auf '%1': Die Datei ist zu groß (mehr als %2 Bytes).")
        .arg(path)
        .arg(limit);
}

} // namespace

class TstHostileFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nulInACardLineNamesNoCard() {
        MainWindowFixture f;
        f.start();
        const QString path = f.dir.filePath(QStringLiteral("nul.drd"));
        testing::writeFile(path, withNul("SIVAR 00\r\n\r\nSIVAR 06\r\nSIVAR\0 05\r\n\0\r\nORVANE 05\r\n"));
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QCOMPARE(deckNumbers(f), (QStringList{"ORVANE 05", "SIVAR 06"}));

        // A leader line with a NUL names no leader, as an unknown number would.
        testing::writeFile(path, withNul("SIVAR\0 00\r\n\r\nSIVAR 06\r\n"));
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Fehler im Dravenna Deck-Builder:\r\nKein aktueller Datensatz."));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));

        // CardTable deck: the line is passed over, the cards around it come in.
        const QString ctd = f.dir.filePath(QStringLiteral("nul.ctd"));
        testing::writeFile(ctd, withNul("back \"r\"\r\ncard \"a/ORVANE07\" 1\r\ncard \"a/SIVAR\00006\" 1\r\ncard \"a/ORV\0ANE06\" 1\r\n"
                                        "card \"b/ORVANE05\" 1\r\n"));
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(ctd);
        f.trigger("mnuCTImport");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Datei Importiert"));
        QCOMPARE(deckNumbers(f), (QStringList{"ORVANE 05", "ORVANE 07"}));

        // CardTable's card data: a card line with a NUL is no entry of the written deck.
        testing::writeFile(f.dir.filePath(QStringLiteral("karten.txt")),
                           withNul("back \"r\"\r\ncard \"a/ORVANE05\"\0 \"x\"\r\ncard \"a/ORVANE07\" \"y\"\r\n"));
        deckio::storeCardTableLocation({f.dir.path(), QStringLiteral("karten.txt")});
        f.chooseLeader(QStringLiteral("Harald"));
        const QString out = f.dir.filePath(QStringLiteral("aus.ctd"));
        f.prompter.choose(out);
        f.trigger("mnuCTExport");
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Datei erfolgreich gespeichert"));
        QCOMPARE(testing::readFile(out), QByteArray("back \"r\"\r\ncard \"a/ORVANE07\" \"y\" 1\r\n\r\n"));
    }

    void filesFarLargerThanADeckAreRefusedUnread() {
        MainWindowFixture f;
        f.start();
        f.addByNumber({QStringLiteral("SIVAR 06")});
        const QString deck = f.dir.filePath(QStringLiteral("riesig.drd"));
        sparseFile(deck, 100 * 1024 * 1024);
        for (const QString& path : {deck, QStringLiteral("/dev/zero")}) {
            f.prompter.answer(core::Answer::No);
            f.trigger("mnuLaden"); // the deck stays while the player says no
            f.prompter.answer(core::Answer::Yes);
            f.prompter.choose(path);
            QElapsedTimer clock;
            clock.start();
            f.trigger("mnuLaden");
            qInfo("deck file %s refused after %lld ms", qPrintable(path), static_cast<long long>(clock.elapsed()));
            QCOMPARE(f.prompter.messages.back().text, tooLarge(path, deckio::kMaxDeckFileBytes));
            QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));
            QCOMPARE(deckNumbers(f), QStringList());
            f.addByNumber({QStringLiteral("SIVAR 06")});
        }

        const QString ctd = f.dir.filePath(QStringLiteral("riesig.ctd"));
        sparseFile(ctd, 100 * 1024 * 1024);
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(ctd);
        f.trigger("mnuCTImport");
        QCOMPARE(f.prompter.messages.back().text, tooLarge(ctd, deckio::kMaxCardTableDeckBytes));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deck laden"));

        sparseFile(f.dir.filePath(QStringLiteral("karten.txt")), deckio::kMaxCardTableDataBytes + 1);
        deckio::storeCardTableLocation({f.dir.path(), QStringLiteral("karten.txt")});
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("SIVAR 06")});
        f.prompter.choose(f.dir.filePath(QStringLiteral("aus.ctd")));
        f.trigger("mnuCTExport");
        QCOMPARE(f.prompter.messages.back().text, tooLarge(f.dir.filePath(QStringLiteral("karten.txt")), deckio::kMaxCardTableDataBytes));
        QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("aus.ctd"))));
    }

    void largestAcceptedFilesReadQuickly() {
        // Files just inside the limits, made of the worst lines: every one a different unknown
        // number, or the same known card again and again. Timings are printed, not asserted.
        MainWindowFixture f;
        f.start();
        const QString deck = f.dir.filePath(QStringLiteral("gross.drd"));
        QByteArray unknown = "SIVAR 00\r\n\r\n";
        for (int i = 0; unknown.size() < deckio::kMaxDeckFileBytes - 40; ++i)
            unknown += "X " + QByteArray::number(i) + "\r\n";
        unknown += "SIVAR 06\r\n";
        testing::writeFile(deck, unknown);
        f.prompter.choose(deck);
        QElapsedTimer clock;
        clock.start();
        f.trigger("mnuLaden");
        qInfo("256 KiB deck file of distinct unknown numbers loaded in %lld ms", static_cast<long long>(clock.elapsed()));
        QCOMPARE(f.prompter.messages.at(f.prompter.messages.size() - 2).text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QVERIFY(f.prompter.messages.back().text.endsWith(QStringLiteral("X 8, X 9 und %1 weitere").arg(unknown.count("X ") - 10)));
        QCOMPARE(deckNumbers(f), QStringList{QStringLiteral("SIVAR 06")});

        const QString ctd = f.dir.filePath(QStringLiteral("gross.ctd"));
        QByteArray same;
        while (same.size() < deckio::kMaxCardTableDeckBytes - 40)
            same += "card \"a/ORVANE07\" 1\r\n";
        testing::writeFile(ctd, same);
        f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(ctd);
        clock.restart();
        f.trigger("mnuCTImport");
        qInfo("1 MiB CardTable deck naming one card %lld times imported in %lld ms",
              static_cast<long long>(same.count("card")), static_cast<long long>(clock.elapsed()));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Datei Importiert"));
        QCOMPARE(deckNumbers(f), QStringList{QStringLiteral("ORVANE 07")});

        QByteArray data = "back \"r\"\r\ncard \"bilder/x/ORVANE07\" \"Name\"\r\n";
        for (int i = 0; data.size() < deckio::kMaxCardTableDataBytes - 64; ++i)
            data += "card \"bilder/x/ORVANE" + QByteArray::number(i) + "\" \"Name\"\r\n";
        testing::writeFile(f.dir.filePath(QStringLiteral("karten.txt")), data);
        deckio::storeCardTableLocation({f.dir.path(), QStringLiteral("karten.txt")});
        f.chooseLeader(QStringLiteral("Harald"));
        const QString out = f.dir.filePath(QStringLiteral("aus.ctd"));
        f.prompter.choose(out);
        clock.restart();
        f.trigger("mnuCTExport");
        qInfo("4 MiB CardTable card data read and deck written in %lld ms", static_cast<long long>(clock.elapsed()));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("CardTable-Datei erfolgreich gespeichert"));
        QCOMPARE(testing::readFile(out), QByteArray("back \"r\"\r\ncard \"bilder/x/ORVANE07\" \"Name\" 1\r\n\r\n"));
    }
};

QTEST_MAIN(TstHostileFiles)
#include "tst_hostilefiles.moc"
