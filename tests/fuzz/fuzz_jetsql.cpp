// Jet SQL text in: translated SQLite text or a DbError out, never a crash.
#include "db/dberror.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& conn = fuzzing::catalogue();
    const QString sql = QString::fromUtf8(fuzzing::bytes(data, size));
    try {
        (void)conn.translate(sql);
    } catch (const db::DbError&) {
    }
    return 0;
}
