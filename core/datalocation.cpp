// Where the card database lives, and the per-user copy of the shipped catalogue kept current and whole.
#include "core/datalocation.h"

#include "core/programdir.h"
#include "core/systemerror.h"
#include "core/textfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace core {

namespace {

const QString kDatabaseName = QStringLiteral("dravennacard.db");

// A content fingerprint: a reinstall with the same catalogue keeps the player's copy, any change
// of the catalogue replaces it, whatever the file times say.
QByteArray fingerprint(const QString& path, QString* why) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("Die mitgelieferte Kartendatenbank %1 kann nicht gelesen werden: %2").arg(path, fileErrorText(file));
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        *why = QStringLiteral("Die mitgelieferte Kartendatenbank %1 kann nicht gelesen werden: %2").arg(path, fileErrorText(file));
        return {};
    }
    return hash.result().toHex();
}

QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(256).trimmed();
}

// Puts the shipped catalogue in place of the copy and stamps it. Empty, or the reason it failed.
QString copyShipped(const QString& shippedDatabase, const QString& copyPath, const QByteArray& fingerprint) {
    QFile source(shippedDatabase);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("Die mitgelieferte Kartendatenbank %1 kann nicht gelesen werden: %2").arg(shippedDatabase, fileErrorText(source));
    // Written whole, then renamed over the old copy: there is never a half copy under the name.
    if (const QString error = writeFileAtomically(copyPath, source.readAll()); !error.isEmpty())
        return QStringLiteral("Die Kartendatenbank kann nicht nach %1 kopiert werden: %2").arg(copyPath, error);
    // A journal of the old copy would be played back into the new one.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(copyPath + QLatin1String(suffix));
    // The stamp comes last: a copy interrupted before it is made again at the next start.
    if (const QString error = writeFileAtomically(shippedStampPath(copyPath), fingerprint + '\n'); !error.isEmpty())
        return QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2").arg(shippedStampPath(copyPath), error);
    return {};
}

} // namespace

DataLocation chooseDataLocation(const QString& programDir, const QString& perUserDir) {
    const QString beside = joinPath(programDir, kDatabaseName);
    const QFileInfo folder(programDir);
    const QFileInfo database(beside);
    // SQLite writes its journal beside the database, so the folder must take new files too.
    // An installed folder is never written, not even by root, who could.
    const bool installed = QFileInfo::exists(joinPath(programDir, QStringLiteral("installed")));
    const bool writable = !installed && folder.isWritable() && (!database.exists() || database.isWritable());
    if (writable)
        return {beside, false};
    return {joinPath(perUserDir, kDatabaseName), true};
}

QString catalogueToRead(const QString& programDir, const QString& perUserDir) {
    const DataLocation location = chooseDataLocation(programDir, perUserDir);
    if (!location.perUser)
        return location.databasePath;
    const QString shipped = joinPath(programDir, kDatabaseName);
    QString why;
    const QByteArray stamp = readSmallFile(shippedStampPath(location.databasePath));
    if (QFileInfo(location.databasePath).isFile() && !stamp.isEmpty() && stamp == fingerprint(shipped, &why))
        return location.databasePath;
    return shipped;
}

QString perUserDataDirectory() {
    return joinPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), QStringLiteral("DravennaDeckBuilder"));
}

QString shippedStampPath(const QString& copyPath) { return copyPath + QStringLiteral(".shipped"); }

QString refreshPerUserCopy(const QString& shippedDatabase, const QString& copyPath, const CatalogueCheck& problemOf, QString* notice) {
    const QString folder = QFileInfo(copyPath).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(folder);
    QString why;
    const QByteArray shipped = fingerprint(shippedDatabase, &why);
    if (shipped.isEmpty())
        return why;
    if (QFileInfo(copyPath).isFile() && readSmallFile(shippedStampPath(copyPath)) == shipped) {
        const QString damage = problemOf(copyPath);
        if (damage.isEmpty())
            return {};
        if (const QString error = copyShipped(shippedDatabase, copyPath, shipped); !error.isEmpty())
            return error;
        if (notice)
            *notice = QStringLiteral("Die Kartendatenbank %1 wurde aus dem mitgelieferten Katalog neu angelegt, weil sie beschädigt war: %2").arg(copyPath, damage);
        return {};
    }
    const QString error = copyShipped(shippedDatabase, copyPath, shipped);
    if (error.isEmpty())
        return {};
    // A whole copy already there (the older catalogue, or the new one without its stamp) keeps the
    // program going; the missing stamp makes the next start try again.
    if (QFileInfo(copyPath).isFile() && problemOf(copyPath).isEmpty()) {
        if (notice)
            *notice = QStringLiteral("Der neue Kartenkatalog wurde nicht übernommen, bis zum nächsten Start gilt der bisherige. ") + error;
        return {};
    }
    return error;
}

} // namespace core
