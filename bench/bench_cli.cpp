// dravenna-deck as a player's script runs it: a whole process per call, output to /dev/null.
//   Check/60          check of a deck of 60 cards, shipped catalogue
//   Version           the floor of every call: start, --version, exit
//   Query/100000      query of the whole pool, tab-separated, on a catalogue grown to 100000 cards
//   QueryNarrow/100000  the same with a condition that keeps a few hundred cards
//   SqliteAlone/100000  the floor of the query: SQLite stepping the same translated pool text in process
#include "bench/benchsupport.h"
#include "db/database.h"
#include "db/queries.h"
#include "deckio/deckfile.h"
#include "filter/specialfilter.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <memory>

namespace {

// DRAVENNA_DECK names another build of the tool (a release one, say) to time.
const QString kTool =
    qEnvironmentVariable("DRAVENNA_DECK", QStringLiteral(DRAVENNA_BUILT_PROGRAM_DIR "/dravenna-deck"));
const QString kNarrow = QStringLiteral("[Name] LIKE '*falke*' AND Monde >= 2");

bench::BenchProgramDir& folder(int cards) {
    return bench::programDirWith(cards);
}

void runTool(benchmark::State& state, const QStringList& args, int expectedExit = 0) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(kTool, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != expectedExit)
        state.SkipWithError("dravenna-deck failed");
}

QString sixtyCardDeck(const QString& database, const QString& path) {
    auto conn = db::Database::OpenDatabase(database);
    deckio::DeckFileContent deck;
    // Edelgard von Orvane allows 50 cards and 8 foreign moons, Vater Odo 10 cards more: the 60
    // cards are within, their foreign moons are not (exit 1).
    deck.leaderNumber = QStringLiteral("ORVANE 02");
    deck.inquisitorNumber = QStringLiteral("INQ 412");
    for (auto rs = conn->OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN ORDER BY FRAKTION, NUMMER"));
         !rs.Eof() && deck.cardNumbers.size() < 60; rs.MoveNext())
        deck.cardNumbers << rs.Fields(0).toString();
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(deckio::encodeDeckFile(deck));
    return path;
}

void Check(benchmark::State& state) {
    QTemporaryDir dir;
    const QString db = folder(0).databasePath();
    const QString deck = sixtyCardDeck(db, dir.filePath(QStringLiteral("sechzig.drd")));
    for (auto _ : state)
        runTool(state, {QStringLiteral("check"), deck, QStringLiteral("--db"), db}, 1);
}

void Version(benchmark::State& state) {
    for (auto _ : state)
        runTool(state, {QStringLiteral("--version")});
}

void Query(benchmark::State& state) {
    const QString db = folder(static_cast<int>(state.range(0))).databasePath();
    for (auto _ : state)
        runTool(state, {QStringLiteral("query"), QStringLiteral("--format"), QStringLiteral("tsv"),
                        QStringLiteral("--db"), db});
}

void QueryNarrow(benchmark::State& state) {
    const QString db = folder(static_cast<int>(state.range(0))).databasePath();
    for (auto _ : state)
        runTool(state, {QStringLiteral("query"), kNarrow, QStringLiteral("--format"), QStringLiteral("tsv"),
                        QStringLiteral("--db"), db});
}

void SqliteAlone(benchmark::State& state) {
    const QString path = folder(static_cast<int>(state.range(0))).databasePath();
    auto conn = db::Database::OpenDatabase(path);
    const QByteArray sql = conn->translate(db::sqlPool() + db::kStartOrder).toUtf8();
    sqlite3* h = db::openRawConnection(path, false);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
        long bytes = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < 9; ++c)
                bytes += sqlite3_column_bytes(st, c);
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_close(h);
}

} // namespace

BENCHMARK(Check)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Version)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Query)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QueryNarrow)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SqliteAlone)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
