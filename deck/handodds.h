#pragma once

#include <QString>
#include <vector>

namespace db {
class Database;
}

namespace deck {

// What the odds of a hand look at in one deck card.
struct HandCard {
    QString number;
    QString name;
    QString faction;
    QString cardType;
    int moons = 0; // NULL counts as no moon
};

// The deck's cards in DECK, by number.
std::vector<HandCard> handCards(db::Database& conn);

// Probability of at least `atLeast` of `successes` marked cards among `drawn` cards drawn without
// putting back from `deckSize` cards: the hypergeometric tail, summed exactly term by term.
double atLeastProbability(int deckSize, int successes, int drawn, int atLeast);

// One row of the odds table: a faction, card type or moon value, how many deck cards carry it, and the
// chance of holding at least 1, 2, … of them in the first cards drawn.
struct OddsRow {
    enum class Group { Faction, CardType, Moons };
    Group group = Group::Faction;
    QString label;  // "Fraktion: Orvane", "Kartenart: Charakter", "Monde: 2"
    int inDeck = 0; // cards of the deck that carry it
    std::vector<double> atLeast; // [k-1]: at least k in the hand, for k = 1 … columns
};

struct OddsTable {
    int deckSize = 0;
    int handSize = 0; // as drawn: never more than the deck has
    int columns = 0;  // at least 1 … columns
    std::vector<OddsRow> rows;
};

// The table for a hand of `handSize` cards, with columns for at least 1 … `maxColumns` (no more than the
// hand holds); rows by faction, then card type, then moon value, each sorted by name or value.
OddsTable oddsTable(const std::vector<HandCard>& cards, int handSize, int maxColumns = 4);

// A hand of `handSize` cards drawn from the deck by a generator seeded with `seed`, in draw order: the
// same seed and deck always give the same hand.
std::vector<HandCard> sampleHand(const std::vector<HandCard>& cards, int handSize, quint64 seed);

// A probability as the table writes it: percent with one decimal, "<0,1 %" for a chance that is not zero.
QString percentText(double probability);

} // namespace deck
