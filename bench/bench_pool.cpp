// What a player waits for in the pool at 10,000 and 100,000 cards, each beside bare SQLite running
// the same translated text in the same run: a keystroke in the name filter (one letter, then the
// last letter of a word), a header sort click, the filter dialog's first opening (with and without the
// lists the window reads ahead). Every window
// benchmark has a leader chosen and a 60-card deck, so the marking pass has work to do.
#include "app/frmmain.h"
#include "bench/benchsupport.h"
#include "db/database.h"
#include "db/flexgrid.h"
#include "db/queries.h"
#include "filter/frmfilter.h"
#include "filter/valuelists.h"
#include "core/programdir.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <memory>

namespace {

const QString kOneLetter = QStringLiteral("k");
const QString kWordBefore = QStringLiteral("kräh");
const QString kWord = QStringLiteral("krähe");

bench::BenchProgramDir& folder(int cards) {
    static std::map<int, std::unique_ptr<bench::BenchProgramDir>> dirs;
    auto& d = dirs[cards];
    if (!d)
        d = std::make_unique<bench::BenchProgramDir>(cards);
    d->makeCurrent();
    return *d;
}

// The shipped catalogue grown by `cards`, a main window on it with a leader and 60 cards in the deck.
struct Session {
    ui::frmMain w;
    explicit Session() {
        w.show();
        w.cmbLeader->setCurrentIndex(w.cmbLeader->findText(QStringLiteral("Harald"), Qt::MatchStartsWith));
        QCoreApplication::processEvents();
        ui::FlexGrid* pool = w.flxPool;
        const int step = (pool->Rows() - 1) / 60;
        pool->setFocus();
        for (int i = 0; i < 60; ++i) {
            pool->setRow(1 + i * step);
            QTest::keyClick(pool, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
    }
    void type(const QString& text) {
        w.txtQuickNameFilter->setText(text);
        QCoreApplication::processEvents(); // the repaint
    }
    int deckCards() const { return w.flxDeck->Rows() - 1; }
};

void countersFor(benchmark::State& state, Session& s) {
    state.counters["pool_rows"] = s.w.flxPool->Rows() - 1;
    state.counters["deck"] = s.deckCards();
}

// A keystroke in the name box from `before` to `after`: re-query, count, marking, repaint.
void keystroke(benchmark::State& state, const QString& before, const QString& after) {
    folder(static_cast<int>(state.range(0)));
    Session s;
    for (auto _ : state) {
        state.PauseTiming();
        s.type(before);
        state.ResumeTiming();
        s.type(after);
    }
    countersFor(state, s);
}

void KeystrokeOneLetter(benchmark::State& state) { keystroke(state, QString(), kOneLetter); }
void KeystrokeWord(benchmark::State& state) { keystroke(state, kWordBefore, kWord); }

// The same translated text straight through SQLite, every row stepped and its nine cells read.
void bareSqlite(benchmark::State& state, const QString& jetText) {
    const QString path = folder(static_cast<int>(state.range(0))).databasePath();
    const QByteArray sql = db::Database::OpenDatabase(path)->translate(jetText).toUtf8();
    sqlite3* h = db::openRawConnection(path, false);
    long rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
        rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < 9; ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
            ++rows;
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(h);
    state.counters["rows"] = static_cast<double>(rows);
}

QString nameFilterText(const QString& text) {
    return db::sqlPool() + QStringLiteral(" WHERE NAME LIKE '*") + text + QStringLiteral("*' ") + db::kStartOrder;
}

void SqliteOneLetter(benchmark::State& state) { bareSqlite(state, nameFilterText(kOneLetter)); }
void SqliteWord(benchmark::State& state) { bareSqlite(state, nameFilterText(kWord)); }
void SqliteSortByName(benchmark::State& state) { bareSqlite(state, db::sqlPool() + QStringLiteral("ORDER BY NAME ASC")); }

// A left click on the "Name" header: it toggles between ascending and descending, each click a
// full re-query of pool and deck with the marking pass and repaint.
void HeaderSortClick(benchmark::State& state) {
    folder(static_cast<int>(state.range(0)));
    Session s;
    QHeaderView* header = s.w.flxPool->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(1) + 10, header->height() / 2);
    for (auto _ : state) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    countersFor(state, s);
}

// The filter dialog built, its six lists filled and shown, as on its first opening.
void FilterDialogFirstOpening(benchmark::State& state) {
    folder(static_cast<int>(state.range(0)));
    Session s;
    QString where;
    for (auto _ : state) {
        auto dialog = std::make_unique<filter::frmFilter>(&s.w, where, [] {});
        dialog->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        dialog.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The same once the window has read the lists while idle (the lists the main window keeps).
void FilterDialogOpeningKeptLists(benchmark::State& state) {
    folder(static_cast<int>(state.range(0)));
    Session s;
    filter::FilterValueLists lists(core::databasePath());
    benchmark::DoNotOptimize(lists.lists().size());
    QString where;
    for (auto _ : state) {
        auto dialog = std::make_unique<filter::frmFilter>(&s.w, where, [] {}, &lists);
        dialog->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        dialog.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// Its floor: the six value lists' texts straight through SQLite.
void SqliteFilterLists(benchmark::State& state) {
    const QString path = folder(static_cast<int>(state.range(0))).databasePath();
    auto conn = db::Database::OpenDatabase(path);
    std::vector<QByteArray> texts;
    for (const char* column : {"KARTENART", "FRAKTION", "GANG", "STFEUER", "STERDE", "MONDE"})
        texts.push_back(conn->translate(QStringLiteral("SELECT DISTINCT %1 FROM   KARTEN ORDER BY %1 ").arg(QLatin1StringView(column))).toUtf8());
    sqlite3* h = db::openRawConnection(path, false);
    for (auto _ : state) {
        for (const QByteArray& sql : texts) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_text(st, 0));
            sqlite3_finalize(st);
        }
    }
    sqlite3_close(h);
}

} // namespace

// Side by side: each window figure is followed by its bare SQLite floor at the same size.
BENCHMARK(KeystrokeOneLetter)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteOneLetter)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(KeystrokeWord)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteWord)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(HeaderSortClick)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteSortByName)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterDialogFirstOpening)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterDialogOpeningKeptLists)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteFilterLists)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::runWindowBenchmarks(argc, argv); }
