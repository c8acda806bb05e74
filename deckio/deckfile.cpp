#include "deckio/deckfile.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/gridmodel.h"
#include "db/queries.h"
#include "deck/entrynames.h"
#include "core/textfile.h"

namespace deckio {

namespace {

QString firstField(db::Database& conn, const QString& sql) {
    auto rs = conn.OpenRecordset(sql);
    return rs.Eof() ? QString() : db::cellText(rs.Fields(0));
}

} // namespace

DeckFileContent collectDeck(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry) {
    DeckFileContent deck;
    const QString leader = db::quoted(deck::leaderName(leaderEntry));
    auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM ANFUEHRER WHERE NAME = '") + leader + QStringLiteral("' "));
    if (rs.Eof())
        throw db::DbError(3021, QStringLiteral("Kein aktueller Datensatz."));
    deck.leaderNumber = db::cellText(rs.Fields(0));
    if (!inquisitorEntry.isEmpty() && inquisitorEntry != deck::kNoInquisitor) {
        const QString inq = db::quoted(deck::inquisitorName(inquisitorEntry));
        auto irs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM INQUISITOR WHERE NAME = '") + inq + QStringLiteral("' "));
        if (irs.Eof())
            throw db::DbError(3021, QStringLiteral("Kein aktueller Datensatz."));
        deck.inquisitorNumber = db::cellText(irs.Fields(0));
    }
    for (auto cards = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM DECK ORDER BY NUMMER")); !cards.Eof(); cards.MoveNext())
        deck.cardNumbers << db::cellText(cards.Fields(0));
    return deck;
}

QByteArray encodeDeckFile(const DeckFileContent& deck) {
    return core::encodeLines(QStringList{deck.leaderNumber, deck.inquisitorNumber} + deck.cardNumbers);
}

DeckFileContent parseDeckFile(const QByteArray& bytes) {
    const QStringList lines = core::decodeLines(bytes);
    DeckFileContent deck;
    deck.lineCount = static_cast<int>(lines.size());
    deck.leaderNumber = lines.value(0);
    deck.inquisitorNumber = lines.value(1);
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            deck.cardNumbers << lines[i];
    return deck;
}

QString leaderNameForNumber(db::Database& conn, const QString& number) {
    return firstField(conn, QStringLiteral("SELECT NAME FROM ANFUEHRER WHERE NUMMER = '") + db::quoted(number) + QStringLiteral("' "));
}

QString inquisitorNameForNumber(db::Database& conn, const QString& number) {
    return firstField(conn, QStringLiteral("SELECT NAME FROM INQUISITOR WHERE NUMMER = '") + db::quoted(number) + QStringLiteral("' "));
}

void insertCard(db::Database& conn, const QString& cardNumber) {
    // A deck holds each card once, however often a file names it.
    const QString number = db::quoted(cardNumber);
    conn.Execute(QStringLiteral("INSERT INTO DECK ") + QStringLiteral("SELECT * FROM KARTEN ") +
                 QStringLiteral("WHERE KARTEN.NUMMER = '") + number +
                 QStringLiteral("' AND NOT EXISTS (SELECT * FROM DECK WHERE DECK.NUMMER = '") + number + QStringLiteral("') "));
}

void insertCards(db::Database& conn, const QStringList& cardNumbers) {
    for (const QString& number : cardNumbers)
        insertCard(conn, number);
}

int entryIndexForName(const QStringList& entries, const QString& name) {
    for (int i = 0; i < entries.size(); ++i)
        if (deck::nameBeforeLastParen(entries[i]) == name)
            return i;
    return -1;
}

} // namespace deckio
