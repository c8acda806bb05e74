#pragma once

#include "deck/decksession.h"

#include <QByteArray>

namespace deckio {

// What a deck file holds: numbers only; names are looked up again when it is loaded.
using DeckFileContent = deck::DeckContent;

// Deck files larger than this are refused unread: a deck names a few dozen cards in a few hundred
// bytes, and a file of this size still reads in well under a second.
inline constexpr qint64 kMaxDeckFileBytes = 256 * 1024;

QByteArray encodeDeckFile(const DeckFileContent& deck);

// Lines as read: the first two as they stand, card lines without the empty ones and those that
// name no card.
DeckFileContent parseDeckFile(const QByteArray& bytes);

} // namespace deckio
