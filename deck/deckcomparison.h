#pragma once

#include "deck/deckfigures.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace deck {

// A deck as numbers, as a deck file holds it.
struct DeckNumbers {
    QString leaderNumber;
    QString inquisitorNumber; // empty: no inquisitor
    QStringList cardNumbers;
};

// One card of a compared deck, as the catalogue names it.
struct ComparedCard {
    QString number;
    QString name;
    QString faction;
    QString cardType;
    int moons = 0;
};

// One deck as the comparison found it: its leader and inquisitor entries (empty when the number names
// none), the evaluation's figures and the numbers that named no card.
struct ComparedDeck {
    QString leaderEntry;
    QString inquisitorEntry;
    DeckFigures figures;
    QStringList unknownNumbers;
    std::vector<ComparedCard> cards; // by number
};

// A count on either side: a faction or card type.
struct CountDifference {
    QString name;
    int here = 0;
    int there = 0;
};

struct DeckComparison {
    ComparedDeck here;
    ComparedDeck there;
    std::vector<ComparedCard> onlyHere;
    std::vector<ComparedCard> inBoth;
    std::vector<ComparedCard> onlyThere;
    std::vector<CountDifference> factions;  // every faction either deck has, by name
    std::vector<CountDifference> cardTypes; // every card type either deck has, by name

    // Same leader, same inquisitor, same cards.
    bool equal() const;
};

// One line of the differences: what is compared and its value on either side.
struct DifferenceRow {
    QString label; // "Anführer", "Inquisitor", "Anzahl Karten", "Fremde Monde", "Fraktion: …", "Kartenart: …"
    QString here;
    QString there;
    bool differs() const { return here != there; }
};

// The differences as the window and the command-line tool show them: leader, inquisitor, card count
// (with the limit), foreign moons (with the limit), then every faction and card type either deck has.
std::vector<DifferenceRow> differenceRows(const DeckComparison& comparison);

// Evaluates one deck on its own connection to the catalogue at databasePath (see compareDecks).
ComparedDeck evaluateDeckNumbers(const QString& databasePath, const DeckNumbers& deck);

// Evaluates both decks on their own connection to the catalogue at databasePath, whose private DECK
// leaves the file and the deck being edited untouched, and sets them side by side.
DeckComparison compareDecks(const QString& databasePath, const DeckNumbers& here, const DeckNumbers& there);

} // namespace deck
