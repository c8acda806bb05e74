#include "deck/entrynames.h"

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

QString nameBeforeLastParen(const QString& entry) {
    const qsizetype at = entry.lastIndexOf(kParen);
    return at < 0 ? entry : entry.left(at);
}

QString inquisitorName(const QString& entry) {
    return entry == kNoInquisitor ? QStringLiteral("-") : nameBeforeLastParen(entry);
}

QString leaderName(const QString& entry) { return nameBeforeLastParen(entry); }

} // namespace deck
