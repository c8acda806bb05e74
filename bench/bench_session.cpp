// Peak resident memory of the whole process: first with an empty Qt main window shown (the floor),
// then after a scripted session on a 100,000-card catalogue. Peak memory only grows, so the floor
// runs first; the catalogue is grown by a separate process so that its making does not count.
#include "app/frmmain.h"
#include "bench/benchsupport.h"
#include "db/flexgrid.h"
#include "filter/frmfilter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// VmHWM of this process, in MiB.
double peakResidentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void EmptyQtMainWindowPeakRss(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow w;
        w.resize(993, 555);
        w.show();
        QCoreApplication::processEvents();
    }
    state.counters["peak_MiB"] = peakResidentMiB();
}

void clickHeader(ui::FlexGrid* grid, int column) {
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    QCoreApplication::processEvents();
}

void ScriptedSessionPeakRss(benchmark::State& state) {
    bench::BenchProgramDir dir;
    const int cards = static_cast<int>(state.range(0));
    if (QProcess::execute(QStringLiteral(DRAVENNA_GROW_CATALOGUE), {dir.databasePath(), QString::number(cards)}) != 0) {
        state.SkipWithError("grow_catalogue failed");
        return;
    }
    for (auto _ : state) {
        ui::frmMain w;
        w.show();
        QCoreApplication::processEvents();
        w.cmbLeader->setCurrentIndex(w.cmbLeader->findText(QStringLiteral("Harald"), Qt::MatchStartsWith));
        ui::FlexGrid* pool = w.flxPool;
        pool->setFocus();
        const int step = (pool->Rows() - 1) / 60;
        for (int i = 0; i < 60; ++i) {
            pool->setRow(1 + i * step);
            QTest::keyClick(pool, Qt::Key_Return);
        }
        for (const char* text : {"k", "kr", "krä", "kräh", "krähe", "kräh", "krä", "kr", "k", ""}) {
            w.txtQuickNameFilter->setText(QString::fromUtf8(text));
            QCoreApplication::processEvents();
        }
        for (int column : {0, 1, 2, 3, 4, 1})
            clickHeader(pool, column);
        {
            QString where;
            filter::frmFilter dialog(&w, where, [] {});
            dialog.show();
            QCoreApplication::processEvents();
        }
        // Page through the whole pool once, as a player holding Page Down would.
        pool->setRow(1);
        for (int top = 1; top < pool->Rows(); top += 25) {
            pool->setTopRow(top);
            QCoreApplication::processEvents();
        }
        state.counters["pool_rows"] = pool->Rows() - 1;
        state.counters["deck"] = w.flxDeck->Rows() - 1;
    }
    state.counters["peak_MiB"] = peakResidentMiB();
}

} // namespace

BENCHMARK(EmptyQtMainWindowPeakRss)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ScriptedSessionPeakRss)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::runWindowBenchmarks(argc, argv); }
