// The deck's figures at 10,000 deck cards: read for the notes alone (as every evaluation does while the
// statistics window is closed) and with the chart figures (while it is open), beside the floor of one
// pass over DECK.
#include "db/database.h"
#include "deck/deckfigures.h"
#include "deck/entrynames.h"
#include "bench/benchsupport.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kDeckCards = 10000;

db::Database& deckOf10000() {
    static std::unique_ptr<db::Database> conn;
    if (!conn) {
        bench::programDirWith(kDeckCards).makeCurrent();
        conn = db::Database::OpenDatabase(bench::programDirWith(kDeckCards).databasePath());
        conn->Execute(QStringLiteral("DELETE * FROM DECK"));
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NAME IN (SELECT NAME FROM KARTEN ORDER BY NUMMER LIMIT %1)")
                          .arg(kDeckCards));
    }
    return *conn;
}

const QString kLeader = deck::leaderEntry(QStringLiteral("Harald"), QStringLiteral("Orvane"), QStringLiteral("40"), QStringLiteral("12"));

void NotesFigures(benchmark::State& state) {
    db::Database& conn = deckOf10000();
    for (auto _ : state)
        benchmark::DoNotOptimize(deck::deckFigures(conn, kLeader, deck::kNoInquisitor, kDeckCards, false));
}

void NotesAndChartFigures(benchmark::State& state) {
    db::Database& conn = deckOf10000();
    for (auto _ : state)
        benchmark::DoNotOptimize(deck::deckFigures(conn, kLeader, deck::kNoInquisitor, kDeckCards, true));
}

// Floor: one aggregate reading a column of every deck row.
void FloorOnePass(benchmark::State& state) {
    db::Database& conn = deckOf10000();
    for (auto _ : state)
        benchmark::DoNotOptimize(conn.OpenRecordset(QStringLiteral("SELECT SUM(MONDE) FROM DECK")).Fields(0));
}

} // namespace

BENCHMARK(FloorOnePass)->Unit(benchmark::kMillisecond);
BENCHMARK(NotesFigures)->Unit(benchmark::kMillisecond);
BENCHMARK(NotesAndChartFigures)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
