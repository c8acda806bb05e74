#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <sys/un.h>

namespace core {

// The hand-over socket lies in a folder only its user can enter: no other user can take its name
// first, and nothing of another user's reaches the program through it.

// The socket's file name for databasePath: the same for every start of one database, whichever
// path leads to it (a symlinked data folder, before or after the database file exists).
QString handOverSocketName(const QString& databasePath);

// Why folder is no private folder of this user (missing, a symbolic link, someone else's, open to
// others); empty when it is one.
QString privateFolderProblem(const QString& folder);

// The folders the socket may lie in, best first: DravennaDeckBuilder in $XDG_RUNTIME_DIR (when
// that is this user's private folder) and in the user's cache folder (~/.cache).
QStringList handOverFolders();

// The local socket address for path; none when the path is empty or too long for one.
std::optional<sockaddr_un> socketAddress(const QString& path);

// Where the running program listens: in the first of handOverFolders() that is private or can be
// made so (mode 0700). Empty, with why set, when none can.
QString handOverListenPath(const QString& databasePath, QString* why);

// Where a later start looks for the running program: in each of handOverFolders() that is private
// now, so that a start with and one without $XDG_RUNTIME_DIR still meet. Empty, with why set, when
// none is.
QStringList handOverConnectPaths(const QString& databasePath, QString* why);

} // namespace core
