// Picture look-ups in the library, showing a card in the card window, and stepping through the pool
// with the arrow keys while the card window follows.
#include "db/flexgrid.h"
#include "app/frmmain.h"
#include "bench/benchsupport.h"
#include "cardres/picturekeys.h"
#include "cardview/frmshowcard.h"
#include "cardview/picturelibrary.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// One picture after the other through all entries, so baseline and progressive ones both count.
void GetPicture(benchmark::State& state) {
    bench::BenchProgramDir dir;
    cardview::PictureLibrary library;
    if (!library.ensureLoaded()) {
        state.SkipWithError(library.error().toStdString().c_str());
        return;
    }
    const auto keys = dravennares::pictureKeys();
    qsizetype i = 0;
    for (auto _ : state) {
        const auto& key = keys[i++ % keys.size()];
        QImage picture = library.GetPicture(key.id, key.group);
        benchmark::DoNotOptimize(picture.bits());
    }
}

QStringList poolNames(const ui::FlexGrid* pool) {
    QStringList names;
    for (int row = 1; row < pool->Rows(); ++row)
        names << pool->TextMatrix(row, 1);
    return names;
}

void ShowCardInWindow(benchmark::State& state) {
    bench::BenchProgramDir dir;
    ui::frmMain owner;
    owner.mnuKartenAnzeigen->setChecked(false); // the bench drives its own card window
    owner.show();
    const QStringList names = poolNames(owner.flxPool);
    cardview::frmShowCard window(&owner, [] { return true; });
    window.showCard(QStringLiteral("BLANK"), QStringLiteral("KARTEN"));
    if (state.range(0) == 0)
        window.mnuText->trigger();
    QCoreApplication::processEvents();
    qsizetype i = 0;
    for (auto _ : state) {
        window.showCard(names[i++ % names.size()], {});
        window.repaint(); // the player sees the card, so painting counts
    }
    window.close();
}

// One arrow key in the pool: selection moves, the card window shows the next card and repaints.
void StepPoolWithArrowKey(benchmark::State& state) {
    bench::BenchProgramDir dir(static_cast<int>(state.range(0)));
    ui::frmMain w;
    w.show();
    w.cmbLeader->setCurrentIndex(0);
    QCoreApplication::processEvents();
    ui::FlexGrid* pool = w.flxPool;
    pool->setFocus();
    pool->setRow(1);
    for (auto _ : state) {
        if (pool->Row() >= pool->Rows() - 1) {
            state.PauseTiming();
            pool->setRow(1);
            state.ResumeTiming();
        }
        QTest::keyClick(pool, Qt::Key_Down);
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(GetPicture)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(ShowCardInWindow)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(StepPoolWithArrowKey)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv) { return bench::runWindowBenchmarks(argc, argv); }
