// What a deck change costs with the statistics window open against the same change with it closed: the change,
// the redrawing and the painting that the next turns of the event loop do, on the real main window.
#include "app/frmmain.h"
#include "app/frmstatistik.h"
#include "bench/benchsupport.h"
#include "db/flexgrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// Until the queued drawing and the paint events have run.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

struct Window {
    bench::BenchProgramDir dir;
    ui::frmMain w;
    explicit Window(bool statistics) {
        w.show();
        w.cmbLeader->setCurrentIndex(0);
        if (statistics)
            w.findChild<QAction*>(QStringLiteral("mnuStatistik"))->trigger();
        settle();
    }
    ~Window() {
        // No deck left behind, so closing asks nothing.
        w.findChild<QAction*>(QStringLiteral("mnuNeuesDeck"))->trigger();
        w.close();
    }
};

// Arg: 0 with the statistics window closed, 1 with it open.
void AddAndRemoveCard(benchmark::State& state) {
    Window win(state.range(0) != 0);
    ui::FlexGrid* pool = win.w.flxPool;
    ui::FlexGrid* deckGrid = win.w.flxDeck;
    for (auto _ : state) {
        pool->setRow(10);
        QTest::keyClick(pool, Qt::Key_Return);
        settle();
        deckGrid->setRow(1);
        QTest::keyClick(deckGrid, Qt::Key_Delete);
        settle();
    }
    state.counters["deck"] = deckGrid->Rows() - 1;
}

void StandardDeckAndNewDeck(benchmark::State& state) {
    Window win(state.range(0) != 0);
    QAction* newDeck = win.w.findChild<QAction*>(QStringLiteral("mnuNeuesDeck"));
    for (auto _ : state) {
        win.w.cmdStandard->click();
        settle();
        benchmark::DoNotOptimize(win.w.flxDeck->Rows());
        newDeck->trigger();
        settle();
    }
}

} // namespace

BENCHMARK(AddAndRemoveCard)->ArgName("statistik")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StandardDeckAndNewDeck)->ArgName("statistik")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::runWindowBenchmarks(argc, argv); }
