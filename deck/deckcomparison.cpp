// Two decks side by side: cards only in one or in both, and their evaluations' figures.
#include "deck/deckcomparison.h"

#include "db/database.h"
#include "db/jetfunctions.h"
#include "deck/decksession.h"
#include "deck/entrynames.h"

#include <algorithm>
#include <map>

namespace deck {

namespace {

QString firstEntry(db::Database& conn, const QString& table, const QString& number, bool leader) {
    if (number.isEmpty())
        return QString();
    const auto rs = conn.runBound(QStringLiteral("SELECT NAME, %1 KARTEN, MONDE FROM %2 WHERE NUMMER = ?1 LIMIT 1")
                                      .arg(leader ? QStringLiteral("FRAKTION,") : QString(), table),
                                  {number});
    if (rs.rows().empty())
        return QString();
    const auto& r = rs.rows().front();
    if (leader)
        return leaderEntry(db::cellText(r[0]), db::cellText(r[1]), db::cellText(r[2]), db::cellText(r[3]));
    return inquisitorEntry(db::cellText(r[0]), db::cellText(r[1]), db::cellText(r[2]));
}

ComparedDeck evaluate(db::Database& conn, const DeckNumbers& deck) {
    ComparedDeck out;
    // The deck's own rules fill the private DECK: each card once, unknown numbers passed over.
    DeckSession session(conn);
    session.clear();
    out.unknownNumbers = session.addCardNumbers(deck.cardNumbers);
    out.leaderEntry = firstEntry(conn, QStringLiteral("ANFUEHRER"), deck.leaderNumber, true);
    out.inquisitorEntry = firstEntry(conn, QStringLiteral("INQUISITOR"), deck.inquisitorNumber, false);
    const auto rows = conn.runBound(
        QStringLiteral("SELECT NUMMER, NAME, FRAKTION, KARTENART, MONDE FROM DECK ORDER BY NUMMER"), {});
    for (const auto& r : rows.rows())
        out.cards.push_back({db::cellText(r[0]), db::cellText(r[1]), db::cellText(r[2]), db::cellText(r[3]), r[4].toInt()});
    out.figures = deckFigures(conn, out.leaderEntry, out.inquisitorEntry, static_cast<int>(out.cards.size()));
    return out;
}

std::vector<CountDifference> sideBySide(const std::vector<Tally>& here, const std::vector<Tally>& there) {
    std::map<QString, CountDifference> byName; // case folded, as the catalogue groups
    for (const Tally& t : here) {
        auto& d = byName[t.name.toCaseFolded()];
        d.name = t.name;
        d.here += t.count;
    }
    for (const Tally& t : there) {
        auto& d = byName[t.name.toCaseFolded()];
        if (d.name.isEmpty())
            d.name = t.name;
        d.there += t.count;
    }
    std::vector<CountDifference> out;
    for (auto& [key, d] : byName)
        out.push_back(d);
    return out;
}

bool sameNumber(const ComparedCard& a, const ComparedCard& b) { return db::jetCompare(a.number, b.number) == 0; }

} // namespace

ComparedDeck evaluateDeckNumbers(const QString& databasePath, const DeckNumbers& deck) {
    auto conn = db::Database::OpenWithPrivateDeck(databasePath);
    return evaluate(*conn, deck);
}

std::vector<DifferenceRow> differenceRows(const DeckComparison& c) {
    auto ofLimit = [](const ComparedDeck& d, int value, int limit) {
        return d.leaderEntry.isEmpty() ? QString::number(value) : QStringLiteral("%1 / %2").arg(value).arg(limit);
    };
    std::vector<DifferenceRow> rows{
        {QStringLiteral("Anführer"), leaderName(c.here.leaderEntry), leaderName(c.there.leaderEntry)},
        {QStringLiteral("Inquisitor"), nameBeforeLastParen(c.here.inquisitorEntry), nameBeforeLastParen(c.there.inquisitorEntry)},
        {QStringLiteral("Anzahl Karten"), ofLimit(c.here, c.here.figures.deckCards, c.here.figures.cardLimit),
         ofLimit(c.there, c.there.figures.deckCards, c.there.figures.cardLimit)},
        {QStringLiteral("Fremde Monde"), ofLimit(c.here, c.here.figures.foreignMoons, c.here.figures.moonLimit),
         ofLimit(c.there, c.there.figures.foreignMoons, c.there.figures.moonLimit)},
    };
    for (const CountDifference& d : c.factions)
        rows.push_back({QStringLiteral("Fraktion: ") + d.name, QString::number(d.here), QString::number(d.there)});
    for (const CountDifference& d : c.cardTypes)
        rows.push_back({QStringLiteral("Kartenart: ") + d.name, QString::number(d.here), QString::number(d.there)});
    return rows;
}

bool DeckComparison::equal() const {
    auto folded = [](QStringList numbers) {
        for (QString& n : numbers)
            n = n.toCaseFolded();
        numbers.sort();
        return numbers;
    };
    return onlyHere.empty() && onlyThere.empty() && here.leaderEntry == there.leaderEntry &&
           here.inquisitorEntry == there.inquisitorEntry && folded(here.unknownNumbers) == folded(there.unknownNumbers);
}

DeckComparison compareDecks(const QString& databasePath, const DeckNumbers& here, const DeckNumbers& there) {
    auto conn = db::Database::OpenWithPrivateDeck(databasePath);
    DeckComparison c;
    c.here = evaluate(*conn, here);
    c.there = evaluate(*conn, there);
    conn->Close();

    for (const ComparedCard& card : c.here.cards) {
        const bool shared = std::any_of(c.there.cards.begin(), c.there.cards.end(),
                                        [&](const ComparedCard& other) { return sameNumber(card, other); });
        (shared ? c.inBoth : c.onlyHere).push_back(card);
    }
    for (const ComparedCard& card : c.there.cards)
        if (std::none_of(c.here.cards.begin(), c.here.cards.end(),
                         [&](const ComparedCard& other) { return sameNumber(card, other); }))
            c.onlyThere.push_back(card);
    c.factions = sideBySide(c.here.figures.factions, c.there.figures.factions);
    c.cardTypes = sideBySide(c.here.figures.cardTypes, c.there.figures.cardTypes);
    return c;
}

} // namespace deck
