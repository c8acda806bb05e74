// A condition typed into the special filter, tested against the catalogue.
#include "db/dberror.h"
#include "filter/specialfilter.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& conn = fuzzing::catalogue();
    try {
        filter::testCondition(conn, QString::fromUtf8(fuzzing::bytes(data, size)));
    } catch (const db::DbError&) {
    }
    return 0;
}
