// The deck's figures weighed against its limits, as the notes show them.
#include "deck/deckevaluation.h"

#include "deck/deckfigures.h"

namespace deck {

namespace {

void addDistribution(std::vector<NoteNode>& nodes, const std::vector<Tally>& tallies, const QString& key,
                     const QString& heading) {
    if (tallies.empty())
        return;
    nodes.push_back({key, {}, heading, false});
    for (const Tally& t : tallies) {
        // The value is the child's key; an empty or repeated value gets one made unique.
        QString childKey = t.name.isEmpty() ? key + QStringLiteral(":") : t.name;
        for (const NoteNode& n : nodes)
            if (n.key == childKey)
                childKey = key + QStringLiteral(":") + t.name;
        nodes.push_back({childKey, key, t.name + QStringLiteral(": ") + QString::number(t.count) + QStringLiteral(" Karte(n)"),
                         false});
    }
}

} // namespace

QString countText(int count) { return QStringLiteral("Anzahl Karten: ") + QString::number(count); }

QString averageText(double value, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', 2);
}

DeckEvaluation evaluateDeck(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry,
                            int deckCards, int poolCards, const QLocale& locale) {
    return evaluationOf(deckFigures(conn, leaderEntry, inquisitorEntry, deckCards), poolCards, locale);
}

DeckEvaluation evaluationOf(const DeckFigures& f, int poolCards, const QLocale& locale) {
    DeckEvaluation result;
    result.deckCountText = countText(f.deckCards);
    result.poolCountText = countText(poolCards);
    result.cardLimit = f.cardLimit;
    result.moonLimit = f.moonLimit;

    auto& nodes = result.nodes;
    nodes.push_back({QStringLiteral("A"), {}, countText(f.deckCards), f.overCardLimit()});
    nodes.push_back({QStringLiteral("B"), {}, QStringLiteral("Hauptfraktion: ") + f.mainFaction, false});
    nodes.push_back({QStringLiteral("C"), {}, QStringLiteral("Anzahl Monde: ") + QString::number(f.foreignMoons),
                     f.overMoonLimit()});
    addDistribution(nodes, f.factions, QStringLiteral("D"), QStringLiteral("Kartenaufteilung auf Fraktionen"));
    addDistribution(nodes, f.cardTypes, QStringLiteral("E"), QStringLiteral("Kartenaufteilung auf Kartenarten"));
    nodes.push_back({QStringLiteral("F"), {}, QStringLiteral("Statistik"), false});

    if (f.hasTotals) {
        nodes.push_back({QStringLiteral("FSTF"), QStringLiteral("F"),
                         QStringLiteral("Gesamtstärke Feuer: ") + QString::number(f.totalFire), false});
        nodes.push_back({QStringLiteral("FSTE"), QStringLiteral("F"),
                         QStringLiteral("Gesamtstärke Erde: ") + QString::number(f.totalEarth), false});
    }
    if (f.deckCards >= 1 && f.fightingCards != 0) {
        // All deck cards' totals over the fighting cards only.
        const double fighting = static_cast<double>(f.fightingCards);
        nodes.push_back({QStringLiteral("FDF"), QStringLiteral("F"),
                         QStringLiteral("Durchschnittlicher Feuerwert: ") + averageText(f.totalFire / fighting, locale), false});
        nodes.push_back({QStringLiteral("FDE"), QStringLiteral("F"),
                         QStringLiteral("Durchschnittlicher Erdewert: ") + averageText(f.totalEarth / fighting, locale), false});
    }
    if (f.averageDifference)
        nodes.push_back({QStringLiteral("FDD"), QStringLiteral("F"),
                         QStringLiteral("Durchschnittliche Differenz: ") + averageText(*f.averageDifference, locale), false});
    return result;
}

} // namespace deck
