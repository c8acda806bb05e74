#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace core {

// A later start hands its command line to the program that owns the database, over a local socket.

// The deck path named by a start's arguments (quotes removed), absolute against the folder the
// start was made from; empty when the start names none.
QString handedOverDeckPath(const QStringList& arguments, const QString& workingDir);

// One message: the deck file to open, or an empty path to just come to the front.
QByteArray encodeHandOver(const QString& deckPath);

enum class HandOverParse { Incomplete, Complete, Invalid };
// Reads a message as far as it has arrived. Anything not of this program's making, or longer than
// kMaxHandOverBytes, is Invalid.
HandOverParse decodeHandOver(const QByteArray& bytes, QString* deckPath);
inline constexpr qsizetype kMaxHandOverBytes = 64 * 1024;

// What the running program answers once it has taken a message.
inline constexpr char kHandOverAck = '+';

} // namespace core
