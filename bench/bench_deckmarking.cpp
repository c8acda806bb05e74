// The marking pass: deck numbers read once and compared in memory, against one query per pool row.
#include "db/database.h"
#include "deck/deckmarking.h"
#include "tests/helpers/rowbyrowmarking.h"
#include "bench/benchsupport.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

struct Setup {
    std::unique_ptr<bench::BenchProgramDir> dir;
    std::unique_ptr<db::Database> conn;
    QStringList numbers;
};

Setup& setup(int cards) {
    static std::map<int, Setup> all;
    Setup& s = all[cards];
    if (!s.dir) {
        s.dir = std::make_unique<bench::BenchProgramDir>(cards);
        s.conn = db::Database::OpenDatabase(s.dir->databasePath());
        // A 60-card deck.
        s.conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NAME IN (SELECT NAME FROM KARTEN ORDER BY NUMMER LIMIT 60)"));
        for (auto rs = s.conn->OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN")); !rs.Eof(); rs.MoveNext())
            s.numbers << rs.Fields(0).toString();
    }
    return s;
}

void InMemory(benchmark::State& state) {
    Setup& s = setup(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(deck::markDeckCards(*s.conn, s.numbers));
}

void QueryPerRow(benchmark::State& state) {
    Setup& s = setup(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(testing::markDeckCardsRowByRow(*s.conn, s.numbers));
}

} // namespace

BENCHMARK(InMemory)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(QueryPerRow)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
