#include "deck/deckevaluation.h"

#include "db/database.h"
#include "db/queries.h"
#include "deck/entrynames.h"

namespace deck {

namespace {

// Limits and sums are 16-bit values.
qint16 int16(const QVariant& v) { return static_cast<qint16>(v.toLongLong()); }

void addDistribution(db::Database& conn, std::vector<NoteNode>& nodes, const QString& column, const QString& key,
                     const QString& heading) {
    auto rs = conn.OpenRecordset(QStringLiteral("SELECT %1, COUNT(NAME) FROM DECK ").arg(column) +
                                 QStringLiteral("GROUP BY %1 ORDER BY %1").arg(column));
    if (rs.RecordCount() == 0)
        return;
    nodes.push_back({key, {}, heading, false});
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString value = rs.Fields(0).toString();
        // The value is the child's key; an empty or repeated value gets one made unique.
        QString childKey = value.isEmpty() ? key + QStringLiteral(":") : value;
        for (const NoteNode& n : nodes)
            if (n.key == childKey)
                childKey = key + QStringLiteral(":") + value;
        nodes.push_back({childKey, key, value + QStringLiteral(": ") + rs.Fields(1).toString() + QStringLiteral(" Karte(n)"),
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
    DeckEvaluation result;
    result.deckCountText = countText(deckCards);
    result.poolCountText = countText(poolCards);

    qint16 cardLimit = 0, moonLimit = 0, foreignMoons = 0, totalFire = 0, totalEarth = 0;
    QString mainFaction;

    if (!leaderEntry.isEmpty()) {
        const QString name = db::quoted(leaderName(leaderEntry));
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT FRAKTION, KARTEN, MONDE FROM ANFUEHRER ") +
                                     QStringLiteral("WHERE NAME = '") + name + QStringLiteral("' "));
        if (rs.RecordCount() == 0) {
            cardLimit = 30;
            moonLimit = 10;
        } else {
            mainFaction = rs.Fields(0).toString();
            cardLimit = int16(rs.Fields(1));
            moonLimit = int16(rs.Fields(2));
        }
    }

    if (!inquisitorEntry.isEmpty() && inquisitorEntry != kNoInquisitor) {
        const QString name = db::quoted(inquisitorName(inquisitorEntry));
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT KARTEN, MONDE FROM INQUISITOR ") +
                                     QStringLiteral("WHERE NAME = '") + name + QStringLiteral("' "));
        if (rs.RecordCount() > 0) {
            cardLimit = static_cast<qint16>(cardLimit + int16(rs.Fields(0)));
            moonLimit = static_cast<qint16>(moonLimit + int16(rs.Fields(1)));
        }
    }

    {
        // The faction is doubled here too: a faction with an apostrophe must not break the query.
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT SUM(MONDE) FROM DECK ") + QStringLiteral("WHERE FRAKTION <> '") +
                                     db::quoted(mainFaction) + QStringLiteral("' "));
        if (rs.RecordCount() > 0 && !rs.Fields(0).isNull())
            foreignMoons = int16(rs.Fields(0));
    }

    result.cardLimit = cardLimit;
    result.moonLimit = moonLimit;
    auto& nodes = result.nodes;
    nodes.push_back({QStringLiteral("A"), {}, countText(deckCards), deckCards > cardLimit});
    nodes.push_back({QStringLiteral("B"), {}, QStringLiteral("Hauptfraktion: ") + mainFaction, false});
    nodes.push_back({QStringLiteral("C"), {}, QStringLiteral("Anzahl Monde: ") + QString::number(foreignMoons),
                     foreignMoons > moonLimit});
    addDistribution(conn, nodes, QStringLiteral("FRAKTION"), QStringLiteral("D"),
                    QStringLiteral("Kartenaufteilung auf Fraktionen"));
    addDistribution(conn, nodes, QStringLiteral("KARTENART"), QStringLiteral("E"),
                    QStringLiteral("Kartenaufteilung auf Kartenarten"));
    nodes.push_back({QStringLiteral("F"), {}, QStringLiteral("Statistik"), false});

    {
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT SUM(STFEUER), SUM(STERDE) FROM DECK"));
        if (rs.RecordCount() > 0) {
            totalFire = rs.Fields(0).isNull() ? 0 : int16(rs.Fields(0));
            totalEarth = rs.Fields(1).isNull() ? 0 : int16(rs.Fields(1));
            nodes.push_back({QStringLiteral("FSTF"), QStringLiteral("F"),
                             QStringLiteral("Gesamtstärke Feuer: ") + QString::number(totalFire), false});
            nodes.push_back({QStringLiteral("FSTE"), QStringLiteral("F"),
                             QStringLiteral("Gesamtstärke Erde: ") + QString::number(totalEarth), false});
        }
    }

    if (deckCards >= 1) {
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK ") +
                                     QStringLiteral("WHERE KARTENART = 'Charakter' ") +
                                     QStringLiteral("   OR KARTENART = 'Verstärkung' ") +
                                     QStringLiteral("   OR KARTENART = 'Unterstützung' "));
        const qlonglong fighting = rs.RecordCount() > 0 ? rs.Fields(0).toLongLong() : 0;
        if (fighting != 0) {
            nodes.push_back({QStringLiteral("FDF"), QStringLiteral("F"),
                             QStringLiteral("Durchschnittlicher Feuerwert: ") +
                                 averageText(static_cast<double>(totalFire) / static_cast<double>(fighting), locale),
                             false});
            nodes.push_back({QStringLiteral("FDE"), QStringLiteral("F"),
                             QStringLiteral("Durchschnittlicher Erdewert: ") +
                                 averageText(static_cast<double>(totalEarth) / static_cast<double>(fighting), locale),
                             false});
        }
    }

    {
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT AVG(ABS(STERDE-STFEUER)) FROM DECK ") +
                                     QStringLiteral("WHERE ( KARTENART = 'Charakter' ") +
                                     QStringLiteral("     OR KARTENART = 'Verstärkung' ") +
                                     QStringLiteral("     OR KARTENART = 'Unterstützung' ) ") +
                                     QStringLiteral("AND   ( STFEUER IS NOT NULL ") +
                                     QStringLiteral("    AND STERDE IS NOT NULL ) "));
        if (rs.RecordCount() > 0) {
            const double diff = rs.Fields(0).isNull() ? 0.0 : rs.Fields(0).toDouble();
            nodes.push_back({QStringLiteral("FDD"), QStringLiteral("F"),
                             QStringLiteral("Durchschnittliche Differenz: ") + averageText(diff, locale), false});
        }
    }
    return result;
}

} // namespace deck
