// What the statistics window draws, as plain numbers from the deck's figures.
#include "deck/deckfigures.h"

#include <map>

namespace deck {

DeckCharts chartsFor(const DeckFigures& f) {
    DeckCharts c;

    // One category per value and wardedness that either strength has, fire and earth side by side.
    std::map<std::pair<int, bool>, std::pair<int, int>> byValue;
    for (const StrengthTally& t : f.fire)
        byValue[{t.value, t.warded}].first += t.cards;
    for (const StrengthTally& t : f.earth)
        byValue[{t.value, t.warded}].second += t.cards;
    for (const auto& [key, cards] : byValue) {
        const QString value = QString::number(key.first);
        c.strengthCategories << (key.second ? QStringLiteral("[") + value + QStringLiteral("]") : value);
        c.strengthWarded << key.second;
        c.fireCards << cards.first;
        c.earthCards << cards.second;
    }

    auto isMain = [&f](const QString& faction) {
        return !f.mainFaction.isEmpty() && faction.compare(f.mainFaction, Qt::CaseInsensitive) == 0;
    };
    for (const Tally& t : f.moonsByFaction) {
        const QString name = t.name.isEmpty() ? kNoFaction : t.name;
        c.moonCategories << (isMain(t.name) ? name + kMainFactionSuffix : name);
        c.moons << t.count;
    }
    c.moonCategories << kForeignMoonsCategory;
    c.moons << f.foreignMoons;
    c.moonLimit = f.moonLimit;
    c.moonsOver = f.overMoonLimit();

    for (const Tally& t : f.cardTypes) {
        c.typeCategories << (t.name.isEmpty() ? kNoFaction : t.name);
        c.typeCards << t.count;
    }
    c.typeCategories << kWholeDeckCategory;
    c.typeCards << f.deckCards;
    c.cardLimit = f.cardLimit;
    c.cardsOver = f.overCardLimit();

    c.mainFaction = f.mainFaction;
    for (const Tally& t : f.factions)
        (isMain(t.name) ? c.mainCards : c.otherCards) += t.count;
    return c;
}

} // namespace deck
