// Start-up to a filled main window beside an empty Qt main window, and the deck edits a player makes.
#include "db/flexgrid.h"
#include "app/frmmain.h"
#include "bench/benchsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

void EmptyQtMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow w;
        w.resize(993, 555);
        w.show();
        QCoreApplication::processEvents();
    }
}

void StartToFilledMainWindow(benchmark::State& state) {
    bench::BenchProgramDir dir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ui::frmMain w;
        w.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.flxPool->Rows());
        state.PauseTiming();
        w.close();
        state.ResumeTiming();
    }
}

struct Window {
    bench::BenchProgramDir dir;
    ui::frmMain w;
    Window() {
        w.show();
        w.cmbLeader->setCurrentIndex(0);
        QCoreApplication::processEvents();
    }
};

void AddAndRemoveCard(benchmark::State& state) {
    Window win;
    ui::FlexGrid* pool = win.w.flxPool;
    ui::FlexGrid* deckGrid = win.w.flxDeck;
    for (auto _ : state) {
        pool->setRow(10);
        QTest::keyClick(pool, Qt::Key_Return);
        deckGrid->setRow(1);
        QTest::keyClick(deckGrid, Qt::Key_Delete);
    }
    state.counters["deck"] = deckGrid->Rows() - 1;
}

} // namespace

BENCHMARK(EmptyQtMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(StartToFilledMainWindow)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(AddAndRemoveCard)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::runWindowBenchmarks(argc, argv); }
