// Keystrokes in the name box as a player makes them: real key presses (xdotool) on an X server under a
// window manager, the real card window open, timed from the key reaching the box to the pool's
// repaint handed to X (wall) and to the event loop falling idle again (main-thread CPU). Beside each
// figure, in the same run, its floor: a bare Qt window that matches the same names in memory and
// paints the matching rows. Run it through tests/desktop/with-window-manager.sh.
//
// Usage: bench_keys [runs] [cards,cards,…]   (default 15 runs at 10000,100000 generated cards)
#include "app/frmmain.h"
#include "bench/benchsupport.h"
#include "core/prompter.h"
#include "db/database.h"
#include "db/flexgrid.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double wallMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Sample {
    double wall = 0; // key reaching the box to the grid's repaint handed to X
    double cpu = 0;  // main-thread CPU from the key to the event loop's next idle moment
};

// Presses keys through one shell started once. Starting xdotool from this process for each key would
// fork it each time, and every page it then wrote would be a copy-on-write fault: a cost inside the
// timed span that no player's key brings.
class KeyPresser {
public:
    KeyPresser() {
        m_shell.setProcessChannelMode(QProcess::ForwardedChannels);
        m_shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while read -r k; do xdotool key \"$k\"; done")});
        if (!m_shell.waitForStarted())
            std::fprintf(stderr, "the key shell did not start\n");
    }
    ~KeyPresser() {
        m_shell.closeWriteChannel();
        m_shell.waitForFinished(5000);
    }
    void press(const QString& key) {
        m_shell.write((key + u'\n').toUtf8());
        m_shell.waitForBytesWritten();
    }

private:
    QProcess m_shell;
};

// Watches one key press from the box to the grid's repaint and the idle event loop after it.
class KeyWatch : public QObject {
public:
    KeyWatch(KeyPresser& keys, QWidget* box, QWidget* gridViewport) : m_keys(keys), m_box(box), m_grid(gridViewport) {
        box->installEventFilter(this);
        gridViewport->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (m_state == State::Painted) {
                m_sample.cpu = threadCpuMs() - m_cpu0;
                m_state = State::Done;
                m_loop.quit();
            }
        });
    }

    // Presses the key through the X server and waits for the repaint; nothing when it did not come.
    std::optional<Sample> press(const QString& key) {
        m_state = State::Armed;
        m_keys.press(key);
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &m_loop, &QEventLoop::quit);
        timeout.start(20000);
        m_loop.exec();
        const bool done = m_state == State::Done;
        m_state = State::Idle;
        // The player's next key comes later than this.
        QTest::qWait(150);
        return done ? std::optional<Sample>(m_sample) : std::nullopt;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_box && event->type() == QEvent::KeyPress && m_state == State::Armed) {
            m_wall0 = wallMs();
            m_cpu0 = threadCpuMs();
            m_state = State::KeyIn;
        } else if (watched == m_grid && event->type() == QEvent::Paint && m_state == State::KeyIn) {
            m_state = State::Painting;
            // Runs once this paint has been flushed to the window system.
            QTimer::singleShot(0, this, [this] {
                m_sample.wall = wallMs() - m_wall0;
                m_state = State::Painted;
            });
        }
        return false;
    }

private:
    enum class State { Idle, Armed, KeyIn, Painting, Painted, Done } m_state = State::Idle;
    KeyPresser& m_keys;
    QWidget* m_box;
    QWidget* m_grid;
    QEventLoop m_loop;
    double m_wall0 = 0;
    double m_cpu0 = 0;
    Sample m_sample;
};

// The floor: names held in memory, matched as the pool matches them, the matching rows in a table.
class NameModel : public QAbstractTableModel {
public:
    explicit NameModel(QStringList names) : m_names(std::move(names)) { narrow(QString()); }
    int rowCount(const QModelIndex& = {}) const override { return static_cast<int>(m_rows.size()); }
    int columnCount(const QModelIndex& = {}) const override { return 9; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return index.column() == 1 ? m_names[m_rows[static_cast<size_t>(index.row())]] : QStringLiteral("Orvane");
    }
    void narrow(const QString& text) {
        beginResetModel();
        m_rows.clear();
        for (qsizetype i = 0; i < m_names.size(); ++i)
            if (m_names[i].contains(text, Qt::CaseInsensitive))
                m_rows.push_back(static_cast<int>(i));
        endResetModel();
    }

private:
    QStringList m_names;
    std::vector<int> m_rows;
};

struct Floor {
    QWidget window;
    QLineEdit* box;
    QTableView* view;
    NameModel model;
    explicit Floor(const QStringList& names) : model(names) {
        auto* layout = new QVBoxLayout(&window);
        view = new QTableView(&window);
        view->setModel(&model);
        box = new QLineEdit(&window);
        layout->addWidget(view);
        layout->addWidget(box);
        QObject::connect(box, &QLineEdit::textChanged, &model, &NameModel::narrow);
        window.resize(500, 540);
    }
};

void activate(QWidget* window, QWidget* box) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window, 20000))
        std::fprintf(stderr, "the window was not exposed\n");
    window->activateWindow();
    if (!QTest::qWaitFor([window] { return window->isActiveWindow(); }, 20000))
        std::fprintf(stderr, "the window did not become active\n");
    box->setFocus();
    QTest::qWait(300);
}

struct Figures {
    std::vector<double> wall, cpu;
    void add(const std::optional<Sample>& s) {
        if (!s) {
            std::fprintf(stderr, "a key press brought no repaint\n");
            return;
        }
        wall.push_back(s->wall);
        cpu.push_back(s->cpu);
    }
};

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void print(const char* what, int cards, const Figures& program, const Figures& floor) {
    auto range = [](const std::vector<double>& v) {
        return v.empty() ? std::pair<double, double>{0, 0} : std::pair{*std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end())};
    };
    const auto [wlo, whi] = range(program.wall);
    std::printf("%-28s %6d cards  wall median %6.2f ms (%5.2f–%6.2f)  cpu median %6.2f ms   floor: wall %5.2f ms  cpu %5.2f ms\n",
                what, cards, median(program.wall), wlo, whi, median(program.cpu), median(floor.wall), median(floor.cpu));
    std::fflush(stdout);
}

class YesPrompter : public core::Prompter {
public:
    core::Answer message(const QString&, const QString&, core::Icon, core::Buttons b) override {
        return b == core::Buttons::YesNo ? core::Answer::Yes : core::Answer::Ok;
    }
    bool fileDialog(core::FileDialogState&, bool) override { return false; }
};

// A leader and 60 cards in the deck, as in the other window benchmarks: the marking has work to do.
void fillDeck(ui::frmMain& w) {
    w.cmbLeader->setCurrentIndex(w.cmbLeader->findText(QStringLiteral("Harald"), Qt::MatchStartsWith));
    ui::FlexGrid* pool = w.flxPool;
    const int step = (pool->Rows() - 1) / 60;
    pool->setFocus();
    for (int i = 0; i < 60; ++i) {
        pool->setRow(1 + i * step);
        QTest::keyClick(pool, Qt::Key_Return);
    }
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    YesPrompter prompter;
    core::setDefaultPrompter(&prompter);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    std::vector<int> sizes{10000, 100000};
    if (argc > 2) {
        sizes.clear();
        for (const QString& s : QString::fromLocal8Bit(argv[2]).split(u','))
            sizes.push_back(s.toInt());
    }
    QProcess uptime;
    uptime.start(QStringLiteral("uptime"));
    uptime.waitForFinished();
    std::printf("%d runs each; before: %s", runs, uptime.readAllStandardOutput().constData());
    KeyPresser keys;

    for (const int cards : sizes) {
        bench::BenchProgramDir dir(cards);
        QStringList names;
        {
            auto conn = db::Database::OpenDatabase(dir.databasePath());
            for (auto rs = conn->OpenRecordset(QStringLiteral("SELECT NAME FROM KARTEN ORDER BY NAME")); !rs.Eof(); rs.MoveNext())
                names << rs.Fields(0).toString();
        }
        std::map<const char*, Figures> program, floor;
        const char* first = "first letter after start";
        const char* letter = "one letter";
        const char* back = "Backspace to an empty box";

        // Floor and program take turns, so that load on the machine falls on both alike.
        for (int run = 0; run < runs; ++run) {
            {
                Floor f(names);
                activate(&f.window, f.box);
                KeyWatch watch(keys, f.box, f.view->viewport());
                floor[first].add(watch.press(QStringLiteral("k")));
            }
            auto w = std::make_unique<ui::frmMain>();
            activate(w.get(), w->txtQuickNameFilter);
            // A player reads the window before typing.
            QTest::qWait(1000);
            KeyWatch watch(keys, w->txtQuickNameFilter, w->flxPool->viewport());
            program[first].add(watch.press(QStringLiteral("k")));
            w.reset();
            QCoreApplication::processEvents();
        }

        Floor f(names);
        activate(&f.window, f.box);
        KeyWatch floorWatch(keys, f.box, f.view->viewport());
        ui::frmMain w;
        w.show();
        fillDeck(w);
        activate(&w, w.txtQuickNameFilter);
        KeyWatch watch(keys, w.txtQuickNameFilter, w.flxPool->viewport());
        for (int run = 0; run < runs; ++run) {
            activate(&w, w.txtQuickNameFilter);
            program[letter].add(watch.press(QStringLiteral("k")));
            program[back].add(watch.press(QStringLiteral("BackSpace")));
            activate(&f.window, f.box);
            floor[letter].add(floorWatch.press(QStringLiteral("k")));
            floor[back].add(floorWatch.press(QStringLiteral("BackSpace")));
        }
        for (const char* what : {letter, back, first})
            print(what, cards, program[what], floor[what]);
        const QSignalBlocker quiet(&w);
        w.hide();
    }
    uptime.start(QStringLiteral("uptime"));
    uptime.waitForFinished();
    std::printf("after: %s", uptime.readAllStandardOutput().constData());
    return 0;
}
