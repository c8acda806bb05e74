// CardTable export against large card data.
#include "core/textfile.h"
#include "db/database.h"
#include "bench/benchsupport.h"
#include "deckio/cardtable.h"

#include <benchmark/benchmark.h>

namespace {

// Card data with one line per catalogue card, repeated to the wanted length, and a 60-card deck.
QByteArray cardData(db::Database& conn, int lines) {
    QStringList numbers;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN")); !rs.Eof(); rs.MoveNext())
        numbers << rs.Fields(0).toString();
    QByteArray data = "back \"r\"\r\n";
    for (int i = 0; i < lines; ++i)
        data += "card \"bilder/" + numbers[i % numbers.size()].remove(u' ').toLatin1() + "\" x\r\n";
    return data;
}

struct ExportSetup {
    bench::BenchProgramDir dir;
    std::unique_ptr<db::Database> conn = db::Database::OpenDatabase(dir.databasePath());
    QByteArray data;
    explicit ExportSetup(int lines) {
        conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE NUMMER LIKE 'ORVANE*'"));
        data = cardData(*conn, lines);
    }
};

void CardTableExport(benchmark::State& state) {
    ExportSetup s(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(deckio::buildCardTableDeck(*s.conn, s.data, QStringLiteral("Harald"), QStringLiteral("Vater Odo")));
}

// The same export with three queries per card line, for comparison.
void CardTableExportQueryPerLine(benchmark::State& state) {
    ExportSetup s(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int entries = 0;
        for (const QByteArray& line : core::splitLines(s.data)) {
            if (!deckio::isCardLine(line, Qt::CaseInsensitive))
                continue;
            const QString n = deckio::cardTableNumber(core::decodeText(line));
            entries += !s.conn->OpenRecordset(QStringLiteral("SELECT * FROM DECK WHERE NUMMER='") + n + u'\'').Eof();
            entries += !s.conn->OpenRecordset(QStringLiteral("SELECT * FROM ANFUEHRER WHERE NUMMER='") + n +
                                              QStringLiteral("'  AND NAME='Harald'")).Eof();
            entries += !s.conn->OpenRecordset(QStringLiteral("SELECT * FROM INQUISITOR WHERE NUMMER='") + n +
                                              QStringLiteral("'  AND NAME='Vater Odo'")).Eof();
        }
        benchmark::DoNotOptimize(entries);
    }
}

} // namespace

BENCHMARK(CardTableExport)->Arg(300)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(CardTableExportQueryPerLine)->Arg(300)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::runWindowBenchmarks(argc, argv); }
