// Exact hypergeometric odds of an opening hand and a repeatable sample hand.
#include "deck/handodds.h"

#include "db/database.h"

#include <QLocale>
#include <QRandomGenerator>
#include <algorithm>
#include <functional>
#include <map>

namespace deck {

namespace {

// n over k as a double; each step's product divides exactly, so it stays exact below 2^53 (60 over 30).
double choose(int n, int k) {
    if (k < 0 || n < 0 || k > n)
        return 0.0;
    k = std::min(k, n - k);
    double result = 1.0;
    for (int i = 1; i <= k; ++i)
        result = result * (n - k + i) / i;
    return result;
}

template <typename Key>
void addRows(OddsTable& table, OddsRow::Group group, const std::map<Key, int>& counts,
             const std::function<QString(const Key&)>& label) {
    for (const auto& [key, inDeck] : counts) {
        OddsRow row;
        row.group = group;
        row.label = label(key);
        row.inDeck = inDeck;
        for (int k = 1; k <= table.columns; ++k)
            row.atLeast.push_back(atLeastProbability(table.deckSize, inDeck, table.handSize, k));
        table.rows.push_back(std::move(row));
    }
}

} // namespace

std::vector<HandCard> handCards(db::Database& conn) {
    std::vector<HandCard> cards;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER, NAME, FRAKTION, KARTENART, MONDE FROM DECK ORDER BY NUMMER"));
         !rs.Eof(); rs.MoveNext())
        cards.push_back({db::cellText(rs.Fields(0)), db::cellText(rs.Fields(1)), db::cellText(rs.Fields(2)),
                         db::cellText(rs.Fields(3)), rs.Fields(4).toInt()});
    return cards;
}

double atLeastProbability(int deckSize, int successes, int drawn, int atLeast) {
    drawn = std::clamp(drawn, 0, std::max(deckSize, 0));
    if (atLeast <= 0)
        return 1.0;
    const double all = choose(deckSize, drawn);
    if (all == 0.0)
        return 0.0;
    double sum = 0.0;
    for (int i = atLeast; i <= std::min(successes, drawn); ++i)
        sum += choose(successes, i) * choose(deckSize - successes, drawn - i);
    return std::min(1.0, sum / all);
}

OddsTable oddsTable(const std::vector<HandCard>& cards, int handSize, int maxColumns) {
    OddsTable table;
    table.deckSize = static_cast<int>(cards.size());
    table.handSize = std::clamp(handSize, 0, table.deckSize);
    table.columns = std::clamp(maxColumns, 0, std::max(table.handSize, 1));

    // Names grouped as the catalogue compares them: without regard to case.
    std::map<QString, int> factions;
    std::map<QString, int> types;
    std::map<int, int> moons;
    std::map<QString, QString> spelled;
    for (const HandCard& c : cards) {
        const QString f = c.faction.toCaseFolded();
        const QString t = c.cardType.toCaseFolded();
        spelled.try_emplace(QStringLiteral("F") + f, c.faction);
        spelled.try_emplace(QStringLiteral("T") + t, c.cardType);
        ++factions[f];
        ++types[t];
        ++moons[c.moons];
    }
    addRows<QString>(table, OddsRow::Group::Faction, factions, [&](const QString& k) {
        const QString name = spelled[QStringLiteral("F") + k];
        return QStringLiteral("Fraktion: ") + (name.isEmpty() ? QStringLiteral("(ohne)") : name);
    });
    addRows<QString>(table, OddsRow::Group::CardType, types, [&](const QString& k) {
        const QString name = spelled[QStringLiteral("T") + k];
        return QStringLiteral("Kartenart: ") + (name.isEmpty() ? QStringLiteral("(ohne)") : name);
    });
    addRows<int>(table, OddsRow::Group::Moons, moons,
                 [](const int& k) { return QStringLiteral("Monde: ") + QString::number(k); });
    return table;
}

std::vector<HandCard> sampleHand(const std::vector<HandCard>& cards, int handSize, quint64 seed) {
    std::vector<HandCard> pile = cards;
    const size_t n = std::min(static_cast<size_t>(std::max(handSize, 0)), pile.size());
    QRandomGenerator random(static_cast<quint32>(seed ^ (seed >> 32)));
    // The first n steps of a Fisher–Yates shuffle: every hand equally likely.
    for (size_t i = 0; i < n; ++i) {
        const size_t j = i + static_cast<size_t>(random.bounded(static_cast<quint32>(pile.size() - i)));
        std::swap(pile[i], pile[j]);
    }
    pile.resize(n);
    return pile;
}

QString percentText(double probability) {
    if (probability > 0.0 && probability < 0.0005)
        return QStringLiteral("<0,1 %");
    QLocale german(QLocale::German, QLocale::Germany);
    return german.toString(probability * 100.0, 'f', 1) + QStringLiteral(" %");
}

} // namespace deck
