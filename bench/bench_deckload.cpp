// A 60-card deck file's cards read into DECK of a catalogue file on disk, as "Deck Laden" reads
// them, beside its floor: the same 60 rows put into DECK by one INSERT statement.
#include "bench/benchsupport.h"
#include "db/database.h"
#include "deck/decksession.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int kCards = 60;

QStringList sixtyNumbers(db::Database& conn) {
    QStringList numbers;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN ORDER BY NUMMER")); !rs.Eof(); rs.MoveNext())
        numbers << rs.Fields(0).toString();
    QStringList picked;
    const int step = int(numbers.size()) / kCards;
    for (int i = 0; i < kCards; ++i)
        picked << numbers.at(i * step);
    return picked;
}

void emptyDeck(db::Database& conn) { conn.Execute(QStringLiteral("DELETE FROM DECK")); }

void BM_LoadDeckCards(benchmark::State& state) {
    auto conn = db::Database::OpenDatabase(bench::programDirWith(0).databasePath());
    const QStringList numbers = sixtyNumbers(*conn);
    for (auto _ : state) {
        state.PauseTiming();
        emptyDeck(*conn);
        state.ResumeTiming();
        deck::DeckSession(*conn).addCardNumbers(numbers);
    }
    state.counters["cards"] = double(kCards);
}
BENCHMARK(BM_LoadDeckCards)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Floor_OneInsertStatement(benchmark::State& state) {
    auto conn = db::Database::OpenDatabase(bench::programDirWith(0).databasePath());
    const QStringList numbers = sixtyNumbers(*conn);
    const QString sql = QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER IN ('") +
                        numbers.join(QStringLiteral("', '")) + QStringLiteral("')");
    for (auto _ : state) {
        state.PauseTiming();
        emptyDeck(*conn);
        state.ResumeTiming();
        conn->Execute(sql);
    }
}
BENCHMARK(BM_Floor_OneInsertStatement)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
