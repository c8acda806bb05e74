// The deck's figures per faction, card type and strength, read in one evaluation.
#include "deck/deckfigures.h"

#include "db/database.h"
#include "db/queries.h"
#include "deck/entrynames.h"

#include <algorithm>

namespace deck {

namespace {

// Limits and sums are 16-bit values.
qint16 int16(const QVariant& v) { return static_cast<qint16>(v.toLongLong()); }

std::vector<Tally> grouped(db::Database& conn, const QString& column, const QString& aggregate) {
    std::vector<Tally> out;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT %1, %2 FROM DECK ").arg(column, aggregate) +
                                      QStringLiteral("GROUP BY %1 ORDER BY %1").arg(column));
         !rs.Eof(); rs.MoveNext())
        out.push_back({rs.Fields(0).toString(), rs.Fields(1).toInt()});
    return out;
}

std::vector<StrengthTally> strengths(db::Database& conn, const QString& value, const QString& warded) {
    std::vector<StrengthTally> out;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT %1, %2, COUNT(*) FROM DECK WHERE %1 IS NOT NULL "
                                                     "GROUP BY %1, %2 ORDER BY %1, %2 DESC")
                                          .arg(value, warded));
         !rs.Eof(); rs.MoveNext())
        // Yes is -1: descending puts the unwarded value first.
        out.push_back({rs.Fields(0).toInt(), rs.Fields(1).toInt() != 0, rs.Fields(2).toInt()});
    return out;
}

} // namespace

DeckFigures deckFigures(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry, int deckCards,
                        bool withCharts) {
    DeckFigures f;
    f.deckCards = deckCards;

    if (!leaderEntry.isEmpty()) {
        const QString name = db::quoted(leaderName(leaderEntry));
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT FRAKTION, KARTEN, MONDE FROM ANFUEHRER ") +
                                     QStringLiteral("WHERE NAME = '") + name + QStringLiteral("' "));
        if (rs.RecordCount() == 0) {
            f.cardLimit = 30;
            f.moonLimit = 10;
        } else {
            f.mainFaction = rs.Fields(0).toString();
            f.cardLimit = int16(rs.Fields(1));
            f.moonLimit = int16(rs.Fields(2));
        }
    }

    if (!inquisitorEntry.isEmpty() && inquisitorEntry != kNoInquisitor) {
        const QString name = db::quoted(inquisitorName(inquisitorEntry));
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT KARTEN, MONDE FROM INQUISITOR ") +
                                     QStringLiteral("WHERE NAME = '") + name + QStringLiteral("' "));
        if (rs.RecordCount() > 0) {
            f.cardLimit = static_cast<qint16>(f.cardLimit + int16(rs.Fields(0)));
            f.moonLimit = static_cast<qint16>(f.moonLimit + int16(rs.Fields(1)));
        }
    }

    {
        // The faction is doubled here too: a faction with an apostrophe must not break the query.
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT SUM(MONDE) FROM DECK ") + QStringLiteral("WHERE FRAKTION <> '") +
                                     db::quoted(f.mainFaction) + QStringLiteral("' "));
        if (rs.RecordCount() > 0 && !rs.Fields(0).isNull())
            f.foreignMoons = int16(rs.Fields(0));
    }

    f.factions = grouped(conn, QStringLiteral("FRAKTION"), QStringLiteral("COUNT(NAME)"));
    f.cardTypes = grouped(conn, QStringLiteral("KARTENART"), QStringLiteral("COUNT(NAME)"));

    {
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT SUM(STFEUER), SUM(STERDE) FROM DECK"));
        if (rs.RecordCount() > 0) {
            f.hasTotals = true;
            f.totalFire = rs.Fields(0).isNull() ? 0 : int16(rs.Fields(0));
            f.totalEarth = rs.Fields(1).isNull() ? 0 : int16(rs.Fields(1));
        }
    }

    if (deckCards >= 1) {
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK ") +
                                     QStringLiteral("WHERE KARTENART = 'Charakter' ") +
                                     QStringLiteral("   OR KARTENART = 'Verstärkung' ") +
                                     QStringLiteral("   OR KARTENART = 'Unterstützung' "));
        f.fightingCards = rs.RecordCount() > 0 ? rs.Fields(0).toLongLong() : 0;
    }

    {
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT AVG(ABS(STERDE-STFEUER)) FROM DECK ") +
                                     QStringLiteral("WHERE ( KARTENART = 'Charakter' ") +
                                     QStringLiteral("     OR KARTENART = 'Verstärkung' ") +
                                     QStringLiteral("     OR KARTENART = 'Unterstützung' ) ") +
                                     QStringLiteral("AND   ( STFEUER IS NOT NULL ") +
                                     QStringLiteral("    AND STERDE IS NOT NULL ) "));
        if (rs.RecordCount() > 0)
            f.averageDifference = rs.Fields(0).isNull() ? 0.0 : rs.Fields(0).toDouble();
    }

    if (withCharts) {
        f.withCharts = true;
        f.moonsByFaction = grouped(conn, QStringLiteral("FRAKTION"), QStringLiteral("SUM(MONDE)"));
        f.fire = strengths(conn, QStringLiteral("STFEUER"), QStringLiteral("ABFEUER"));
        f.earth = strengths(conn, QStringLiteral("STERDE"), QStringLiteral("ABERDE"));
    }
    return f;
}

} // namespace deck
