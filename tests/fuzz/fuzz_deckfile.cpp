// A deck file's bytes read as the main window reads them: lines, leader, inquisitor, cards into DECK.
#include "db/dberror.h"
#include "deck/entrynames.h"
#include "deckio/deckfile.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& conn = fuzzing::catalogue();
    bool cards = false;
    try {
        const deckio::DeckFileContent deck = deckio::parseDeckFile(fuzzing::bytes(data, size));
        (void)deck::leaderNameForNumber(conn, deck.leaderNumber);
        (void)deck::inquisitorNameForNumber(conn, deck.inquisitorNumber);
        cards = !deck.cardNumbers.isEmpty();
        deck::DeckSession(conn).addCardNumbers(deck.cardNumbers);
    } catch (const db::DbError&) {
    }
    // Each input starts from an empty deck, also after a failing one.
    if (cards) {
        try {
            conn.Execute(QStringLiteral("DELETE * FROM DECK"));
        } catch (const db::DbError&) {
        }
    }
    return 0;
}
