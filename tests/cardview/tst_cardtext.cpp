// The card's text layout and symbol list.
#include "db/database.h"
#include "cardview/cardtext.h"
#include "tests/helpers/testprogramdir.h"

#include <QHash>
#include <QtTest/QTest>

class TstCardText : public QObject {
    Q_OBJECT

    static cardview::CardFields fields(const QHash<QString, QVariant>& values) {
        return [values](const char* column) { return values.value(QString::fromUtf8(column)); };
    }

private Q_SLOTS:
    void bothWardsSymbolsAndSpecial() {
        const auto card = fields({{"KARTENART", "Verstärkung"}, {"NAME", "Öde Wacht"}, {"STFEUER", 3}, {"STERDE", 2},
                                  {"ABFEUER", -1}, {"ABERDE", -1}, {"FREI", -1}, {"PAAR", -1}, {"GESCHÜTZT", -1},
                                  {"WIEDERAUFNEHMEN", -1}, {"STOP", -1}, {"ERSETZEN", -1}, {"GANG", "Nacht"},
                                  {"SONDER", "Zieh eine Karte."}, {"MONDE", 2}, {"NUMMER", "ORVANE 06"}});
        QCOMPARE(cardview::symbolText(card),
                 QStringLiteral("Frei, Paar, Geschützt, Wieder Aufnehmen, Stopp, Ersetzen, Gang: Nacht"));
        QCOMPARE(cardview::cardText(card),
                 QStringLiteral("VERSTÄRKUNG\r\nÖde Wacht\r\nFeuer: 3 (Abgewehrt)\r\nErde : 2 (Abgewehrt)\r\n\r\n"
                                "Symbole: Frei, Paar, Geschützt, Wieder Aufnehmen, Stopp, Ersetzen, Gang: Nacht\r\n\r\n"
                                "Sonderfunktion: Zieh eine Karte.\r\n\r\nMonde: 2\r\n(ORVANE 06)"));
    }

    void noSymbolsAndEmptySpecial() {
        const auto card = fields({{"KARTENART", "Charakter"}, {"NAME", "Nebelkrähe"}, {"ABFEUER", 0}, {"ABERDE", 0},
                                  {"GANG", "-"}, {"SONDER", ""}, {"MONDE", 1}, {"NUMMER", "ORVANE 07"}});
        QCOMPARE(cardview::symbolText(card), QString());
        QCOMPARE(cardview::cardText(card),
                 QStringLiteral("CHARAKTER\r\nNebelkrähe\r\nFeuer: \r\nErde : \r\n\r\nMonde: 1\r\n(ORVANE 07)"));
    }

    void onlyGang() {
        QCOMPARE(cardview::symbolText(fields({{"GANG", "Tag"}})), QStringLiteral("Gang: Tag"));
        QCOMPARE(cardview::symbolText(fields({{"GANG", QVariant()}})), QString());
    }

    void numbersAndQueries() {
        QCOMPARE(cardview::pictureRef(QStringLiteral("ORVANE 05")).group, QStringLiteral("ORVANE"));
        QCOMPARE(cardview::pictureRef(QStringLiteral("ORVANE 05")).id, QStringLiteral("05"));
        QCOMPARE(cardview::pictureRef(QStringLiteral("BLANK")).id, QString());
        QCOMPARE(cardview::cardQuery(QStringLiteral("D'Arvens Schwur"), QString()),
                 QStringLiteral("SELECT * FROM KARTEN WHERE NAME = 'D''Arvens Schwur' "));
        testing::TestProgramDir dir;
        auto conn = db::Database::OpenDatabase(dir.databasePath());
        QCOMPARE(conn->OpenRecordset(cardview::cardQuery(QStringLiteral("D'Arvens Schwur"), QString())).RecordCount(), 1);
        QCOMPARE(conn->OpenRecordset(cardview::cardQuery(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"))).RecordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TstCardText)
#include "tst_cardtext.moc"
