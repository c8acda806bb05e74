#include "deck/entrynames.h"

#include "db/database.h"

namespace deck {

namespace {
const QString kParen = QStringLiteral(" (");
}

QString leaderEntry(const QString& name, const QString& faction, const QString& cards, const QString& moons) {
    return name + kParen + faction + QStringLiteral(": ") + cards + QStringLiteral(" Karten / ") + moons +
           QStringLiteral(" Monde )");
}

QString inquisitorEntry(const QString& name, const QString& cards, const QString& moons) {
    return name + QStringLiteral(" (+") + cards + QStringLiteral(" Karten / +") + moons + QStringLiteral(" Monde )");
}

QStringList leaderEntries(db::Database& conn) {
    QStringList entries;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM ANFUEHRER ") + QStringLiteral("ORDER BY NAME")); !rs.Eof();
         rs.MoveNext()) {
        entries << leaderEntry(db::cellText(rs.Fields(QStringLiteral("NAME"))), db::cellText(rs.Fields(QStringLiteral("FRAKTION"))),
                               db::cellText(rs.Fields(QStringLiteral("KARTEN"))), db::cellText(rs.Fields(QStringLiteral("MONDE"))));
    }
    return entries;
}

QStringList inquisitorEntries(db::Database& conn) {
    QStringList entries;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM INQUISITOR ") + QStringLiteral("ORDER BY NAME")); !rs.Eof();
         rs.MoveNext()) {
        entries << inquisitorEntry(db::cellText(rs.Fields(QStringLiteral("NAME"))), db::cellText(rs.Fields(QStringLiteral("KARTEN"))),
                                   db::cellText(rs.Fields(QStringLiteral("MONDE"))));
    }
    entries << kNoInquisitor;
    return entries;
}

QString nameBeforeLastParen(const QString& entry) {
    const qsizetype at = entry.lastIndexOf(kParen);
    return at < 0 ? entry : entry.left(at);
}

QString inquisitorName(const QString& entry) {
    return entry == kNoInquisitor ? QStringLiteral("-") : nameBeforeLastParen(entry);
}

QString leaderName(const QString& entry) { return nameBeforeLastParen(entry); }

} // namespace deck
