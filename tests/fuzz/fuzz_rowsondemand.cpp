// Bytes turned into a pool filter, order and typed name: the rows read on demand must be the rows
// of the whole query.
#include "db/datacontrol.h"
#include "db/queries.h"
#include "deck/deckmarking.h"
#include "filter/quickfilter.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/helpers/poolconditions.h"
#include "tests/helpers/wholequery.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& whole = fuzzing::catalogue();
    static const QSet<QString> inDeck = [&] {
        // A deck out of the table's order, for sub-selects, the marking and the deck's own order.
        for (const char* faction : {"TOLVEN", "ORVANE", "BRAMEL"})
            whole.Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER LIKE '%1 [01]#'").arg(QLatin1String(faction)));
        return deck::deckNumbers(whole);
    }();
    static db::DataControl pool, deckSource;
    pool.DatabaseName = deckSource.DatabaseName = whole.path();

    testing::ByteChoices choices(data, size);
    const testing::PoolSource s = testing::poolSource(choices);
    pool.RecordSource = db::sqlPool() + filter::nameFilterCondition(s.where, s.name) + s.order;
    deckSource.RecordSource = db::sqlDeck() + s.order;
    for (db::DataControl* source : {&pool, &deckSource}) {
        const QString difference = testing::differenceFromWholeQuery(*source, whole, inDeck);
        if (!difference.isEmpty()) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(source->RecordSource), qPrintable(difference));
            std::abort();
        }
    }
    return 0;
}
