// Compacting the database in place through a temporary copy.
#include "db/compaction.h"

#include "core/errornumbers.h"
#include "db/database.h"
#include "db/dberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace db {

namespace {

bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

bool compactInPlace(const QString& path, QString* message, const std::function<bool(CompactStep)>& failAt) {
    const QString temp = path + QStringLiteral(".temp");
    auto fail = [&](const QString& why) {
        QFile::remove(temp);
        if (message)
            *message = why;
        return false;
    };
    auto injected = [&](CompactStep step) { return failAt && failAt(step); };

    if (QFile::exists(temp) && !QFile::remove(temp))
        return fail(QStringLiteral("Die Datei '%1' kann nicht gelöscht werden.").arg(temp));
    try {
        if (injected(CompactStep::Vacuum))
            throw DbError(core::errors::kCancelled, QStringLiteral("Komprimieren abgebrochen."));
        CompactDatabase(path, temp);
    } catch (const DbError& e) {
        return fail(e.description());
    }
    if (injected(CompactStep::Flush) || !syncPath(temp, O_RDONLY))
        return fail(QStringLiteral("Die Datei '%1' kann nicht geschrieben werden.").arg(temp));
    if (injected(CompactStep::Rename) ||
        std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QStringLiteral("Die Datei '%1' kann nicht ersetzt werden.").arg(path));
    // Make the rename itself durable.
    syncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
    return true;
}

} // namespace db
