#pragma once

#include <QString>

#include <functional>

namespace core {

// Where the card database lives: beside the program, or in a per-user copy when the program
// folder is installed where this user cannot write.
struct DataLocation {
    QString databasePath;
    bool perUser = false;
};

// Beside the program when its folder and its database are writable and the folder is not an
// installed one (marked by a file "installed"); otherwise the per-user copy in perUserDir.
DataLocation chooseDataLocation(const QString& programDir, const QString& perUserDir);

// The catalogue a reader beside the program opens: the database the program uses, or, when that is
// a per-user copy not yet made or made from an older catalogue, the shipped one the program will
// copy at its next start.
QString catalogueToRead(const QString& programDir, const QString& perUserDir);

// The per-user data folder: DravennaDeckBuilder in the XDG data directory (~/.local/share).
QString perUserDataDirectory();

// Why a catalogue file cannot be used, empty when it can (db::catalogueProblem).
using CatalogueCheck = std::function<QString(const QString& path)>;

// Makes the per-user copy at copyPath current and whole: copies the shipped catalogue when there
// is no copy yet, the shipped one changed since the copy was made (a new version was installed),
// or problemOf finds the copy damaged. The old copy, its deck and any journal left beside it are
// dropped. When a new catalogue cannot be copied but a whole copy is there, the program goes on
// with it and the next start tries again. The caller holds the database lock. Returns an empty
// text, or the reason it failed (German, for the player); notice receives what the player should
// be told although the program can start.
QString refreshPerUserCopy(const QString& shippedDatabase, const QString& copyPath, const CatalogueCheck& problemOf,
                           QString* notice = nullptr);

// The file beside the copy that records which shipped catalogue it was made from.
QString shippedStampPath(const QString& copyPath);

} // namespace core
