// The pool query through the Jet layer against SQLite alone on the same translated text.
#include "db/database.h"
#include "db/datacontrol.h"
#include "db/queries.h"
#include "bench/benchsupport.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <memory>

namespace {

bench::BenchProgramDir& folder(int cards) { return bench::programDirWith(cards); }

const QString kPoolText = db::sqlPool() + db::kStartOrder;

void ThroughLayer(benchmark::State& state) {
    auto conn = db::Database::OpenDatabase(folder(static_cast<int>(state.range(0))).databasePath());
    for (auto _ : state) {
        auto rs = conn->OpenRecordset(kPoolText, db::Trust::UserCondition);
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}

void SqliteAlone(benchmark::State& state) {
    auto conn = db::Database::OpenDatabase(folder(static_cast<int>(state.range(0))).databasePath());
    const QByteArray sql = conn->translate(kPoolText).toUtf8();
    sqlite3* h = db::openRawConnection(folder(static_cast<int>(state.range(0))).databasePath(), false);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
        long rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < 9; ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
            ++rows;
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_close(h);
}

void GridRefresh(benchmark::State& state) {
    db::DataControl pool;
    pool.DatabaseName = folder(static_cast<int>(state.range(0))).databasePath();
    pool.RecordSource = kPoolText;
    for (auto _ : state) {
        pool.Refresh();
        benchmark::DoNotOptimize(pool.model().rowCount());
    }
}

void Translation(benchmark::State& state) {
    auto conn = db::Database::OpenDatabase(folder(0).databasePath());
    for (auto _ : state)
        benchmark::DoNotOptimize(conn->translate(kPoolText));
}

} // namespace

BENCHMARK(ThroughLayer)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteAlone)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(GridRefresh)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Translation)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
