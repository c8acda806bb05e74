#pragma once

#include <QByteArray>
#include <QString>

namespace testing {

// A deck file as the program writes it: the leader's number, the inquisitor's (or an empty line) and
// the numbers of `cards` cards of the leader's faction, sorted as the database sorts them.
QByteArray deckFileFor(const QString& databasePath, const QString& leader, int cards);

} // namespace testing
