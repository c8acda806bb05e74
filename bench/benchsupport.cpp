// A program folder with a grown catalogue for the benchmarks.
#include "bench/benchsupport.h"

#include "core/programdir.h"
#include "core/prompter.h"
#include "db/database.h"
#include "tests/helpers/generatedcatalogue.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace bench {

BenchProgramDir::BenchProgramDir(int cards) {
    const QDir source(QStringLiteral(DRAVENNA_BUILT_PROGRAM_DIR));
    for (const QFileInfo& info : source.entryInfoList(QDir::Files))
        QFile::copy(info.absoluteFilePath(), m_dir.filePath(info.fileName()));
    core::setProgramDirectory(m_dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    if (cards > 0)
        testing::growCatalogue(databasePath(), cards);
}

void BenchProgramDir::makeCurrent() const {
    core::setProgramDirectory(m_dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
}

BenchProgramDir& programDirWith(int cards) {
    static std::map<int, std::unique_ptr<BenchProgramDir>> dirs;
    auto& d = dirs[cards];
    if (!d)
        d = std::make_unique<BenchProgramDir>(cards);
    return *d;
}

QString BenchProgramDir::databasePath() const { return m_dir.filePath(QStringLiteral("dravennacard.db")); }

namespace {
class YesPrompter : public core::Prompter {
public:
    core::Answer message(const QString&, const QString&, core::Icon, core::Buttons b) override {
        return b == core::Buttons::YesNo ? core::Answer::Yes : core::Answer::Ok;
    }
    bool fileDialog(core::FileDialogState&, bool) override { return false; }
};
} // namespace

int runWindowBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    YesPrompter prompter;
    core::setDefaultPrompter(&prompter);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
