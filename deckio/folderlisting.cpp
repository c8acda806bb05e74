// Drives and folders for the CardTable dialog, with the reason one cannot be read.
#include "deckio/folderlisting.h"

#include "core/errornumbers.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <dirent.h>

namespace deckio {

namespace {
constexpr auto kByName = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
}

QStringList mountedDrives() {
    QStringList drives{QDir::rootPath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = folderPath(volume.rootPath());
        if (volume.isValid() && !drives.contains(root))
            drives << root;
    }
    return drives;
}

DriveProblem driveProblem(const QString& root) {
    // Opening the folder is what listing it needs, and errno says why it cannot be.
    // A folder that opens is there to list, even where no mount entry names it (a chroot, a container).
    DIR* dir = ::opendir(QFile::encodeName(root).constData());
    if (dir) {
        ::closedir(dir);
        return {};
    }
    switch (errno) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
    case EIO:
    case ESTALE:
        return {core::errors::kDeviceUnavailable, QStringLiteral("Gerät nicht verfügbar")};
    case EACCES:
    case EPERM:
        return {core::errors::kPermissionDenied, QStringLiteral("Zugriff verweigert")};
    case ENOTDIR:
        return {core::errors::kPathNotFound, QStringLiteral("Pfad nicht gefunden")};
    default:
        return {core::errors::kFileAccess, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei")};
    }
}

QString folderPath(const QString& path) { return QDir::cleanPath(QDir::fromNativeSeparators(path)); }

QString driveOf(const QStringList& drives, const QString& path) {
    const QString clean = folderPath(path);
    QString best;
    for (const QString& drive : drives) {
        const bool holds = clean == drive || clean.startsWith(drive.endsWith(u'/') ? drive : drive + u'/');
        if (holds && drive.size() > best.size())
            best = drive;
    }
    return best.isEmpty() ? drives.value(0) : best;
}

QString existingFolder(const QString& path, const QString& fallback) {
    QString folder = folderPath(path);
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QFileInfo(folder).isDir() ? folder : folderPath(fallback);
}

FolderListing listFolder(const QString& drive, const QString& folder) {
    FolderListing listing;
    QString at = folderPath(folder);
    const QString root = folderPath(drive);
    while (true) {
        listing.ancestors.prepend(at);
        if (at == root)
            break;
        const QString parent = QFileInfo(at).path();
        if (parent == at)
            break;
        at = parent;
    }
    for (const QFileInfo& sub : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, kByName))
        listing.subfolders << sub.absoluteFilePath();
    return listing;
}

QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files, kByName); }

} // namespace deckio
