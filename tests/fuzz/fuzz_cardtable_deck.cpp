// A CardTable deck file imported into DECK.
#include "db/dberror.h"
#include "deck/decksession.h"
#include "deckio/cardtable.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& conn = fuzzing::catalogue();
    try {
        deck::DeckSession(conn).loadCardTable(deckio::parseCardTableDeck(fuzzing::bytes(data, size)).numbers);
    } catch (const db::DbError&) {
    }
    try {
        conn.Execute(QStringLiteral("DELETE * FROM DECK"));
    } catch (const db::DbError&) {
    }
    return 0;
}
