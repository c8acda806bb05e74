#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace db {
class Database;
}

namespace deck {

// One group of a grouped query over DECK: a faction or card type and how many cards (or moons) it has.
struct Tally {
    QString name;
    int count = 0;
};

// How many deck cards carry one strength value, warded or not.
struct StrengthTally {
    int value = 0;
    bool warded = false;
    int cards = 0;
};

// Everything the evaluation of the deck finds out, read once by the notes and by the statistics charts, so
// that the two cannot disagree.
struct DeckFigures {
    int deckCards = 0; // as the deck grid counts them
    qint16 cardLimit = 0;
    qint16 moonLimit = 0;
    QString mainFaction;
    qint16 foreignMoons = 0;
    std::vector<Tally> factions;  // cards per faction, by faction name
    std::vector<Tally> cardTypes; // cards per card type, by type name
    bool hasTotals = false;
    qint16 totalFire = 0;
    qint16 totalEarth = 0;
    // Characters, reinforcements and supports; read only for a deck with cards.
    qlonglong fightingCards = 0;
    std::optional<double> averageDifference;

    // Read only for the charts.
    bool withCharts = false;
    std::vector<Tally> moonsByFaction; // moons per faction, by faction name
    std::vector<StrengthTally> fire;   // by value, unwarded before warded
    std::vector<StrengthTally> earth;

    bool overCardLimit() const { return deckCards > cardLimit; }
    bool overMoonLimit() const { return foreignMoons > moonLimit; }
};

// Reads the figures of the deck in DECK for the chosen leader and inquisitor entries; the chart figures
// only when asked for, so that an evaluation for the notes alone costs no more than before.
DeckFigures deckFigures(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry, int deckCards,
                        bool withCharts = false);

// What the statistics window draws, as plain numbers: one list of values per bar set, one value per category.
struct DeckCharts {
    // Fire and earth strength: how many cards have each value; a warded value is its own category, in brackets
    // as the grids write it ("[3]").
    QStringList strengthCategories;
    QList<bool> strengthWarded;
    QList<int> fireCards;
    QList<int> earthCards;

    // Moons per faction, the main faction named as such, then the foreign moons that the limit counts.
    QStringList moonCategories;
    QList<int> moons;
    int moonLimit = 0;
    bool moonsOver = false;

    // Cards per card type, then the whole deck that the card limit counts.
    QStringList typeCategories;
    QList<int> typeCards;
    int cardLimit = 0;
    bool cardsOver = false;

    // The main faction's share of the deck's cards.
    QString mainFaction;
    int mainCards = 0;
    int otherCards = 0;
};

inline const QString kForeignMoonsCategory = QStringLiteral("Fremde Monde");
inline const QString kWholeDeckCategory = QStringLiteral("Deck gesamt");
inline const QString kMainFactionSuffix = QStringLiteral(" (Haupt)");
inline const QString kNoFaction = QStringLiteral("(ohne)");

DeckCharts chartsFor(const DeckFigures& figures);

} // namespace deck
