// One card added to the deck by Enter in the pool (the floor), that addition taken back by
// "Rückgängig" and done again by "Wiederholen", in the same run, on a catalogue grown by 10,000
// cards: once with a 60-card deck and once with 10,000 cards in the deck. Each figure covers DECK,
// the deck grid, the pool row's marking, the notes and the repaint. Beside them a whole deck: "Neues
// Deck" on 10,000 cards, taken back and done again.
#include "app/frmmain.h"
#include "bench/benchsupport.h"
#include "db/database.h"
#include "db/flexgrid.h"
#include "deck/deckmarking.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QTest>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int kCatalogue = 10000;

bench::BenchProgramDir& folder() {
    static std::unique_ptr<bench::BenchProgramDir> dir;
    if (!dir)
        dir = std::make_unique<bench::BenchProgramDir>(kCatalogue);
    dir->makeCurrent();
    return *dir;
}

// A main window with a leader and a deck of `deckCards` cards; `row` is a pool row whose card is not
// in the deck.
struct Session {
    ui::frmMain w;
    int row = 0;

    explicit Session(int deckCards) {
        w.show();
        w.cmbLeader->setCurrentIndex(w.cmbLeader->findText(QStringLiteral("Harald"), Qt::MatchStartsWith));
        QCoreApplication::processEvents();
        ui::FlexGrid* pool = w.flxPool;
        const int poolCards = pool->Rows() - 1;
        if (deckCards <= 100) {
            const int step = poolCards / deckCards;
            pool->setFocus();
            for (int i = 0; i < deckCards; ++i) {
                pool->setRow(1 + i * step);
                QTest::keyClick(pool, Qt::Key_Return);
            }
        } else {
            // The first cards of the catalogue in one statement, then what a loaded deck runs.
            db::Database::OpenDatabase(w.sDatabasePath)
                ->runBound(QStringLiteral("INSERT INTO \"DECK\" SELECT * FROM \"KARTEN\" ORDER BY \"NUMMER\" LIMIT ?1"),
                           {deckCards});
            w.dtaDeck.Refresh();
            w.DeckAbgleichen();
            w.CalculateDeck();
        }
        QCoreApplication::processEvents();
        // Nearest the middle of the pool.
        for (int d = 0; d < poolCards && !row; ++d)
            for (int r : {poolCards / 2 - d, poolCards / 2 + d})
                if (!row && r >= 1 && r <= poolCards && w.dtaPool.model().rowColor(r - 1) == deck::kBlack)
                    row = r;
        w.undoStack()->clear();
    }
    int deckRows() const { return w.flxDeck->Rows() - 1; }

    void add() {
        w.flxPool->setRow(row);
        QTest::keyClick(w.flxPool, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void undo() {
        w.mnuRueckgaengig->trigger();
        QCoreApplication::processEvents();
    }
    void redo() {
        w.mnuWiederholen->trigger();
        QCoreApplication::processEvents();
    }
};

void counters(benchmark::State& state, Session& s, int deckBefore) {
    state.counters["pool_rows"] = s.w.flxPool->Rows() - 1;
    state.counters["deck"] = deckBefore;
    if (s.row == 0)
        state.SkipWithError("no pool card outside the deck");
}

void AddOneCard(benchmark::State& state) {
    folder();
    Session s(static_cast<int>(state.range(0)));
    const int deck = s.deckRows();
    for (auto _ : state) {
        s.add();
        state.PauseTiming();
        s.undo();
        state.ResumeTiming();
    }
    counters(state, s, deck);
}

void UndoAddOneCard(benchmark::State& state) {
    folder();
    Session s(static_cast<int>(state.range(0)));
    const int deck = s.deckRows();
    s.add();
    for (auto _ : state) {
        s.undo();
        state.PauseTiming();
        s.redo();
        state.ResumeTiming();
    }
    counters(state, s, deck);
}

void RedoAddOneCard(benchmark::State& state) {
    folder();
    Session s(static_cast<int>(state.range(0)));
    const int deck = s.deckRows();
    s.add();
    for (auto _ : state) {
        state.PauseTiming();
        s.undo();
        state.ResumeTiming();
        s.redo();
    }
    counters(state, s, deck);
}

// A whole deck: "Neues Deck" on the 10,000-card deck (the floor), taken back and done again.
void NewDeck(benchmark::State& state) {
    folder();
    Session s(static_cast<int>(state.range(0)));
    const int deck = s.deckRows();
    for (auto _ : state) {
        s.w.findChild<QAction*>(QStringLiteral("mnuNeuesDeck"))->trigger();
        QCoreApplication::processEvents();
        state.PauseTiming();
        s.undo();
        state.ResumeTiming();
    }
    counters(state, s, deck);
}

void UndoNewDeck(benchmark::State& state) {
    folder();
    Session s(static_cast<int>(state.range(0)));
    const int deck = s.deckRows();
    s.w.findChild<QAction*>(QStringLiteral("mnuNeuesDeck"))->trigger();
    for (auto _ : state) {
        s.undo();
        state.PauseTiming();
        s.redo();
        state.ResumeTiming();
    }
    counters(state, s, deck);
}

void RedoNewDeck(benchmark::State& state) {
    folder();
    Session s(static_cast<int>(state.range(0)));
    const int deck = s.deckRows();
    s.w.findChild<QAction*>(QStringLiteral("mnuNeuesDeck"))->trigger();
    for (auto _ : state) {
        state.PauseTiming();
        s.undo();
        state.ResumeTiming();
        s.redo();
    }
    counters(state, s, deck);
}

} // namespace

// The add first: it is the floor the two others are read against.
BENCHMARK(AddOneCard)->Arg(60)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoAddOneCard)->Arg(60)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RedoAddOneCard)->Arg(60)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(NewDeck)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoNewDeck)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RedoNewDeck)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::runWindowBenchmarks(argc, argv); }
