// The deck file: the leader's and inquisitor's numbers, then a card number a line.
#include "deckio/deckfile.h"

#include "core/textfile.h"
#include "deck/entrynames.h"

namespace deckio {

QByteArray encodeDeckFile(const DeckFileContent& deck) {
    return core::encodeLines(QStringList{deck.leaderNumber, deck.inquisitorNumber} + deck.cardNumbers);
}

DeckFileContent parseDeckFile(const QByteArray& bytes) {
    const QStringList lines = core::decodeLines(bytes);
    DeckFileContent deck;
    deck.lineCount = static_cast<int>(lines.size());
    deck.leaderNumber = lines.value(0);
    deck.inquisitorNumber = lines.value(1);
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (!lines[i].isEmpty() && !deck::namesNoCard(lines[i]))
            deck.cardNumbers << lines[i];
    return deck;
}

} // namespace deckio
