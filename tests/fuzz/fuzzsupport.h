#pragma once

#include "db/database.h"
#include "db/querybudget.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sqlite3.h>

namespace fuzzing {

// Scratch space in memory where there is some: the deck targets write DECK on every input, and
// syncing that to a disk would be nearly all of their time.
inline QString scratchTemplate() {
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/dravenna-fuzz-XXXXXX")
                                                      : QDir::temp().filePath(QStringLiteral("dravenna-fuzz-XXXXXX"));
}

// A private copy of the built catalogue, open for the whole run; DECK may be written.
inline db::Database& catalogue() {
    static QTemporaryDir dir(scratchTemplate());
    static std::unique_ptr<db::Database> conn = [] {
        const QString copy = dir.filePath(QStringLiteral("dravennacard.db"));
        if (!QFile::copy(QStringLiteral(DRAVENNA_FUZZ_CATALOGUE), copy))
            std::abort();
        // A write-ahead log kept for the run: a commit appends to it instead of creating, syncing
        // and deleting a journal, so writing DECK per input costs little more than in memory.
        sqlite3* raw = db::openRawConnection(copy, db::Access::ReadWrite);
        const int rc = sqlite3_exec(raw, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
        if (rc != SQLITE_OK)
            std::abort();
        // A runaway condition is what the budget is for; the fuzzer should see it cut short quickly.
        db::setQueryBudget({std::chrono::milliseconds(50), std::chrono::milliseconds(200)});
        return db::Database::OpenDatabase(copy);
    }();
    return *conn;
}

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Scratch folder for file-based readers.
inline QString scratchFile(const QString& name) {
    static QTemporaryDir dir(scratchTemplate());
    return dir.filePath(name);
}

} // namespace fuzzing
