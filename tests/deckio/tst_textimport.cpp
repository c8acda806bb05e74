// Reading a deck from text: every format the program writes reads back to the same deck; the matching rules.
#include "core/textfile.h"
#include "db/database.h"
#include "deck/decksession.h"
#include "deck/entrynames.h"
#include "deckio/cardtable.h"
#include "deckio/deckfile.h"
#include "deckio/decklist.h"
#include "deckio/textimport.h"
#include "tests/helpers/testprogramdir.h"

#include <QRandomGenerator>
#include <QtTest/QTest>

using deckio::ImportLine;
using deckio::NamedCard;
using Status = ImportLine::Status;

class TstTextImport : public QObject {
    Q_OBJECT

    static QStringList column(db::Database& conn, const QString& sql) {
        QStringList out;
        for (auto rs = conn.OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
            out << rs.Fields(0).toString();
        return out;
    }

    static QString describe(const deckio::ImportedDeck& deck) {
        QStringList out;
        for (const ImportLine& l : deck.lines) {
            static const char* status[] = {"-", "ok", "mehrdeutig", "unbekannt"};
            QString s = QStringLiteral("%1 %2").arg(status[int(l.status)]).arg(l.card() ? l.card()->number : QString());
            if (l.count != 1)
                s += QStringLiteral(" x%1").arg(l.count);
            if (l.repeated)
                s += QStringLiteral(" doppelt");
            out << s.trimmed();
        }
        return out.join(u'|');
    }

private Q_SLOTS:
    void everyWrittenFormatReadsBackToTheSameDeck() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenWithPrivateDeck(dir.databasePath());
        const deckio::CardNames names(*conn);
        const QStringList leaders = deck::leaderEntries(*conn);
        const QStringList inquisitors = deck::inquisitorEntries(*conn);
        const QStringList cards = column(*conn, "SELECT NUMMER FROM KARTEN ORDER BY NUMMER");

        // CardTable's card data for the whole catalogue, as its image paths spell the numbers.
        QByteArray cardData = "back \"bilder/rueckseite\"\r\n";
        for (const char* table : {"KARTEN", "ANFUEHRER", "INQUISITOR"})
            for (const QString& n : column(*conn, QStringLiteral("SELECT NUMMER FROM ") + QLatin1String(table)))
                cardData += "card \"bilder/" + QString(n).remove(u' ').toLatin1() + "\" \"x\"\r\n";

        deck::DeckSession session(*conn);
        QRandomGenerator random(20261208);
        for (int i = 0; i < 60; ++i) {
            const QString leader = leaders[i % leaders.size()];
            const QString inquisitor = inquisitors[random.bounded(int(inquisitors.size()))];
            session.clear();
            session.chooseLeader(int(i % leaders.size()));
            session.chooseInquisitor(int(inquisitors.indexOf(inquisitor)));
            QStringList picked;
            for (int c = 1 + random.bounded(45); c > 0; --c)
                picked << cards[random.bounded(int(cards.size()))];
            session.addCardNumbers(picked);
            const deck::DeckContent expected = session.content();
            const QStringList texts = {
                deckio::buildDeckList(*conn, leader, inquisitor),
                core::decodeText(deckio::encodeDeckFile(expected)),
                core::decodeText(deckio::buildCardTableDeck(*conn, cardData, deck::leaderName(leader),
                                                            deck::inquisitorName(inquisitor)))};
            for (const QString& text : texts) {
                const deckio::ImportedDeck read = deckio::readDeckText(text, names);
                const QString where = QStringLiteral("Deck %1: %2").arg(i).arg(text.left(300));
                QVERIFY2(read.unknownLines() == 0 && read.ambiguousLines() == 0 && read.countsAboveOne() == 0,
                         qPrintable(where + describe(read)));
                QCOMPARE(read.leaderNumber, expected.leaderNumber);
                QCOMPARE(read.inquisitorNumber, expected.inquisitorNumber);
                QStringList numbers = read.cardNumbers;
                numbers.sort();
                QStringList wanted = expected.cardNumbers;
                wanted.sort();
                QVERIFY2(numbers == wanted, qPrintable(where));
            }
        }
    }

    void plainLinesAndTheMatchingRules() {
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        const deckio::CardNames names(*conn);
        const QString text = QStringLiteral(
            "1 Nebelkrähe\n"            // count before the name
            "bramel 02\n"               // a number, whatever its case
            "Söldner aus Tannenbruch x3\n" // count after: more than the deck takes
            "  NEBELKRAEHE  \n"         // umlaut written out, other case: the same card again
            "Soldner aus tannenbruch\n" // umlaut without its dots
            "Nebelkrähe (O)\n"          // not a name of the catalogue: unknown, not cut down to one
            "Nebel\n"                   // never a part of a name
            "2x ÖDE WACHT AM UEBERGANG\n"
            "Anführer: Harald der Kühne (Orvane)\n"
            "Harald der Kuhne\n"        // the same leader by its name alone
            "CHARAKTER (12)\n"          // a deck list's heading
            "\n"
            "Anzahl Monde:  4\n"
            "card \"bilder/inq/INQ412\" \"Odo\" 1\n"
            "BRAMEL 99\n");
        const deckio::ImportedDeck read = deckio::readDeckText(text, names);
        QCOMPARE(describe(read), QStringLiteral("ok ORVANE 07|ok BRAMEL 02|ok ORVANE 08 x3|ok ORVANE 07 doppelt|"
                                                "ok ORVANE 08 doppelt|unbekannt|unbekannt|ok ORVANE 06 x2|ok ORVANE 01|"
                                                "ok ORVANE 01 doppelt|-|-|-|ok INQ 412|unbekannt"));
        QCOMPARE(read.cardNumbers, QStringList({"ORVANE 07", "BRAMEL 02", "ORVANE 08", "ORVANE 06"}));
        QCOMPARE(read.leaderNumber, QStringLiteral("ORVANE 01"));
        QCOMPARE(read.inquisitorNumber, QStringLiteral("INQ 412"));
        QCOMPARE(read.unknownLines(), 3);
        QCOMPARE(read.countsAboveOne(), 2);
        QCOMPARE(read.lines[6].text, QStringLiteral("Nebel"));
    }

    void ambiguousNamesWaitForTheChoice() {
        const deckio::CardNames names({{NamedCard::Kind::Card, "A 1", "Müller"},
                                       {NamedCard::Kind::Card, "A 2", "Mueller"},
                                       {NamedCard::Kind::Leader, "L 1", "Müller"}});
        deckio::ImportedDeck read = deckio::readDeckText("MUELLER\nMueller\nMuller\nMüller\n", names);
        QCOMPARE(describe(read), QStringLiteral("mehrdeutig|ok A 2|mehrdeutig|mehrdeutig"));
        QCOMPARE(read.lines[0].candidates.size(), size_t(3));
        QCOMPARE(read.lines[2].candidates.size(), size_t(2)); // A 1 and L 1: "Mueller" has no umlaut to drop
        QCOMPARE(read.ambiguousLines(), 3);
        QCOMPARE(read.cardNumbers, QStringList({"A 2"}));
        deckio::chooseCandidate(read, 0, 0);
        deckio::chooseCandidate(read, 3, 1);
        QCOMPARE(read.ambiguousLines(), 1);
        QCOMPARE(read.cardNumbers, QStringList({"A 1", "A 2"}));
        QCOMPARE(read.leaderNumber, QStringLiteral("L 1"));
        deckio::chooseCandidate(read, 0, -1);
        QCOMPARE(read.cardNumbers, QStringList({"A 2"}));
    }
};

QTEST_GUILESS_MAIN(TstTextImport)
#include "tst_textimport.moc"
