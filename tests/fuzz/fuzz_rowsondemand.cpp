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
        // The grammar's conditions are bounded; a short budget would only measure how busy the
        // machine is, and a query cut short is compared with nothing.
        db::setQueryBudget({std::chrono::milliseconds(1000), std::chrono::milliseconds(5000)});
        return deck::deckNumbers(whole);
    }();
    static db::DataControl pool, deckSource;
    // Mutated inputs ask for the same texts again and again; their whole queries are run once. The
    // catalogue and the deck stay as they are for the whole run.
    static testing::WholeAnswers answers(std::size_t{128} << 20);
    pool.DatabaseName = deckSource.DatabaseName = whole.path();

    testing::ByteChoices choices(data, size);
    const testing::PoolSource s = testing::poolSource(choices);
    filter::setNameFilteredSource(pool, db::sqlPool(), s.where, s.order, s.name);
    deckSource.RecordSource = db::sqlDeck() + s.order;
    static long compared = 0, cutShort = 0;
    for (db::DataControl* source : {&pool, &deckSource}) {
        bool cut = false;
        const QString difference = testing::differenceFromWholeQuery(*source, whole, inDeck, &cut, &answers);
        if (!difference.isEmpty()) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(source->RecordSource), qPrintable(difference));
            std::abort();
        }
        ++compared;
        cutShort += cut;
        // Rows kept to the next input would look like a leak to the fuzzer, which then runs every
        // input twice to find it.
        source->model().clear();
    }
    // A machine so busy that the time budget cuts most queries short leaves nothing compared.
    if (compared >= 2000 && cutShort * 2 > compared) {
        std::fprintf(stderr, "%ld of %ld queries cut short by the time budget: nothing is being compared\n", cutShort, compared);
        std::abort();
    }
    return 0;
}
