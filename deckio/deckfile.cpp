#include "deckio/deckfile.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/queries.h"
#include "deck/entrynames.h"
#include "core/textfile.h"
#include "db/jetfunctions.h"

#include <algorithm>
#include <vector>

namespace deckio {

namespace {

// A number with a NUL character in it names no card (the catalogue's numbers are plain text).
bool namesNoCard(const QString& number) { return number.contains(QChar(u'\0')); }

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
        if (!lines[i].isEmpty() && !namesNoCard(lines[i]))
            deck.cardNumbers << lines[i];
    return deck;
}

QString leaderNameForNumber(db::Database& conn, const QString& number) {
    if (namesNoCard(number))
        return QString();
    return firstField(conn, QStringLiteral("SELECT NAME FROM ANFUEHRER WHERE NUMMER = '") + db::quoted(number) + QStringLiteral("' "));
}

QString inquisitorNameForNumber(db::Database& conn, const QString& number) {
    if (namesNoCard(number))
        return QString();
    return firstField(conn, QStringLiteral("SELECT NAME FROM INQUISITOR WHERE NUMMER = '") + db::quoted(number) + QStringLiteral("' "));
}

void insertCard(db::Database& conn, const QString& cardNumber) {
    // A deck holds each card once, however often a file names it.
    if (namesNoCard(cardNumber))
        return;
    const QString number = db::quoted(cardNumber);
    conn.Execute(QStringLiteral("INSERT INTO DECK ") + QStringLiteral("SELECT * FROM KARTEN ") +
                 QStringLiteral("WHERE KARTEN.NUMMER = '") + number +
                 QStringLiteral("' AND NOT EXISTS (SELECT * FROM DECK WHERE DECK.NUMMER = '") + number + QStringLiteral("') "));
}

void insertCards(db::Database& conn, const QStringList& cardNumbers) {
    const NumberIndex catalogue(conn, QStringLiteral("KARTEN"));
    std::vector<bool> inserted(static_cast<size_t>(catalogue.size()), false);
    // One commit for the file: a commit per card waits for the disk once per card.
    db::Transaction batch(conn, db::Transaction::Lock::Deferred);
    try {
        for (const QString& number : cardNumbers) {
            const qsizetype at = catalogue.find(number);
            if (at < 0 || inserted[static_cast<size_t>(at)])
                continue;
            inserted[static_cast<size_t>(at)] = true;
            insertCard(conn, number);
        }
    } catch (const db::DbError&) {
        // The cards read before a failing one stay in the deck, as they did with a commit each.
        if (batch.active())
            batch.commit();
        throw;
    }
    batch.commit();
}

NumberIndex::NumberIndex(db::Database& conn, const QString& table) {
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM ") + table); !rs.Eof(); rs.MoveNext())
        m_numbers << db::cellText(rs.Fields(0));
    std::sort(m_numbers.begin(), m_numbers.end(), [](const QString& a, const QString& b) { return db::jetCompare(a, b) < 0; });
}

NumberIndex::NumberIndex(QStringList numbers) : m_numbers(std::move(numbers)) {
    std::sort(m_numbers.begin(), m_numbers.end(), [](const QString& a, const QString& b) { return db::jetCompare(a, b) < 0; });
}

qsizetype NumberIndex::find(const QString& number) const {
    if (namesNoCard(number))
        return -1;
    const auto it = std::lower_bound(m_numbers.begin(), m_numbers.end(), number,
                                     [](const QString& a, const QString& b) { return db::jetCompare(a, b) < 0; });
    if (it == m_numbers.end() || db::jetCompare(*it, number) != 0)
        return -1;
    return it - m_numbers.begin();
}

bool deckHasCards(db::Database& conn) { return conn.OpenRecordset(QStringLiteral("SELECT * FROM DECK")).RecordCount() > 0; }

std::optional<Refusal> deckIncomplete(db::Database& conn, const QString& leaderEntry) {
    if (!deckHasCards(conn))
        return Refusal{QStringLiteral("Keine Daten zum Speichern vorhanden."), QStringLiteral("Leeres Deck")};
    if (leaderEntry.isEmpty())
        return Refusal{QStringLiteral("Es wurde kein Anführer ausgewählt."), QStringLiteral("Kein Anführer gewählt")};
    return std::nullopt;
}

void loadDeckContent(db::Database& conn, const DeckFileContent& content, const DeckChoices& choose) {
    if (content.lineCount < 1)
        throw db::DbError(62, kPastEndOfFile);
    const QString leader = leaderNameForNumber(conn, content.leaderNumber);
    if (leader.isEmpty())
        throw db::DbError(3021, QStringLiteral("Kein aktueller Datensatz."));
    choose.leader(leader);
    if (content.lineCount < 2)
        throw db::DbError(62, kPastEndOfFile);
    choose.inquisitor(inquisitorNameForNumber(conn, content.inquisitorNumber));
    insertCards(conn, content.cardNumbers);
}

int entryIndexForName(const QStringList& entries, const QString& name) {
    for (int i = 0; i < entries.size(); ++i)
        if (deck::nameBeforeLastParen(entries[i]) == name)
            return i;
    return -1;
}

} // namespace deckio
