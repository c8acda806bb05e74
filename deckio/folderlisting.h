#pragma once

#include <QString>
#include <QStringList>

namespace deckio {

// The roots of the mounted volumes, the file system's root first.
QStringList mountedDrives();

// Of the drives, the one whose root holds path (the longest matching root); the first when none does.
QString driveOf(const QStringList& drives, const QString& path);

// path cleaned, without a trailing separator except at a root.
QString folderPath(const QString& path);

// The folder itself if it exists, else its nearest existing parent; fallback when none exists.
QString existingFolder(const QString& path, const QString& fallback);

// The folders from the drive's root down to folder, then folder's own subfolders, by name.
struct FolderListing {
    QStringList ancestors; // root first, folder last
    QStringList subfolders;
};
FolderListing listFolder(const QString& drive, const QString& folder);

// Why a drive's root cannot be listed: number 0 when it can, 68 when the drive is not there (no
// medium, unmounted, gone), any other number for a failure of another kind, with its description.
struct DriveProblem {
    int number = 0;
    QString description;
};
DriveProblem driveProblem(const QString& root);

// The visible files of a folder, by name.
QStringList filesIn(const QString& folder);

} // namespace deckio
