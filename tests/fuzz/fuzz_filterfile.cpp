// A filter file read as the quick-filter list reads it and run as the pool's filter.
#include "db/dberror.h"
#include "db/queries.h"
#include "filter/filterfile.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    db::Database& conn = fuzzing::catalogue();
    const QString path = fuzzing::scratchFile(QStringLiteral("fuzz.drfilter"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const auto line = filter::readFilterLine(path);
    if (!line)
        return 0;
    try {
        (void)filter::conditionOf(*line);
        (void)conn.OpenRecordset(db::sqlPool() + *line + db::kStartOrder, db::Trust::UserCondition);
    } catch (const db::DbError&) {
    }
    return 0;
}
