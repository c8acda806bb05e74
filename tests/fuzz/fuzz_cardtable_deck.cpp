// A CardTable deck file imported into DECK.
#include "db/dberror.h"
#include "deck/decksession.h"
#include "deckio/cardtable.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& conn = fuzzing::catalogue();
    // The load empties DECK itself before it reads the next file's cards.
    try {
        deck::DeckSession(conn).loadCardTable(deckio::parseCardTableDeck(fuzzing::bytes(data, size)).numbers);
    } catch (const db::DbError&) {
    }
    return 0;
}
