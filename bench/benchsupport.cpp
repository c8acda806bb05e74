#include "bench/benchsupport.h"

#include "core/programdir.h"
#include "core/prompter.h"
#include "db/database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace bench {

BenchProgramDir::BenchProgramDir(int cards) {
    const QDir source(QStringLiteral(DRAVENNA_BUILT_PROGRAM_DIR));
    for (const QFileInfo& info : source.entryInfoList(QDir::Files))
        QFile::copy(info.absoluteFilePath(), m_dir.filePath(info.fileName()));
    core::setProgramDirectory(m_dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    if (cards <= 0)
        return;
    sqlite3* h = db::openRawConnection(databasePath(), false);
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h,
                       "INSERT INTO KARTEN (NAME, \"SET\", FRAKTION, NUMMER, KARTENART, STFEUER, STERDE, ABFEUER, ABERDE, "
                       "SONDER, MONDE, FREI, PAAR, STOP, GANG) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 0, 'Text', ?9, ?10, ?11, 0, '-')",
                       -1, &st, nullptr);
    static const char* factions[] = {"Orvane", "Sivar", "Quenta", "Bramel", "Tolven", "Garsk", "Umbrel", "Korval"};
    static const char* types[] = {"Charakter", "Verstärkung", "Unterstützung", "Ereignis", "Ort", "Artefakt"};
    for (int i = 0; i < cards; ++i) {
        const QByteArray name = QStringLiteral("Generierte Karte Nr. %1 Ä").arg(i, 6, 10, QLatin1Char('0')).toUtf8();
        const QByteArray number = QStringLiteral("GEN %1").arg(i, 6, 10, QLatin1Char('0')).toUtf8();
        const char* faction = factions[i % 8];
        const char set[2] = {faction[0], 0};
        sqlite3_bind_text(st, 1, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, set, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, faction, -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 4, number.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 5, types[i % 6], -1, SQLITE_STATIC);
        if (i % 7 == 0)
            sqlite3_bind_null(st, 6);
        else
            sqlite3_bind_int(st, 6, i % 7);
        sqlite3_bind_int(st, 7, (i / 3) % 6);
        sqlite3_bind_int(st, 8, i % 5 == 0 ? -1 : 0);
        sqlite3_bind_int(st, 9, i % 4);
        sqlite3_bind_int(st, 10, i % 9 == 0 ? -1 : 0);
        sqlite3_bind_int(st, 11, i % 11 == 0 ? -1 : 0);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(h);
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
