// CardTable's card data read to write a CardTable deck for a deck of a few cards.
#include "db/dberror.h"
#include "deckio/cardtable.h"
#include "deck/decksession.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& conn = fuzzing::catalogue();
    static const bool deckFilled = [&] {
        deck::DeckSession(conn).addCardNumbers({QStringLiteral("ORVANE 05"), QStringLiteral("SIVAR 06"), QStringLiteral("GARSK 05")});
        return true;
    }();
    (void)deckFilled;
    try {
        (void)deckio::buildCardTableDeck(conn, fuzzing::bytes(data, size), QStringLiteral("Harald der Kühne"),
                                         QStringLiteral("Vater Odo"));
    } catch (const db::DbError&) {
    }
    return 0;
}
