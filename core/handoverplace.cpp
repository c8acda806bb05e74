// Where the hand-over socket lies: a private folder of the user, and the socket's name in it.
#include "core/handoverplace.h"

#include "core/programdir.h"
#include "core/systemerror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace core {

namespace {

const QString kFolderName = QStringLiteral("DravennaDeckBuilder");

// A problem with the place itself, or with the socket path in it.
QString placeProblem(const QString& folder, const QString& socketPath) {
    if (QString problem = privateFolderProblem(folder); !problem.isEmpty())
        return problem;
    if (!socketAddress(socketPath))
        return QStringLiteral("Der Pfad %1 ist für einen lokalen Socket zu lang.").arg(socketPath);
    return {};
}

} // namespace

std::optional<sockaddr_un> socketAddress(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.isEmpty() || size_t(name.size()) >= sizeof address.sun_path)
        return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return address;
}

QString handOverSocketName(const QString& databasePath) {
    // The folder exists before the file does: canonical from the first start on.
    const QFileInfo file(databasePath);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString path = folder.isEmpty() ? file.absoluteFilePath() : joinPath(folder, file.fileName());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("handover-") + QString::fromLatin1(hash);
}

QString privateFolderProblem(const QString& folder) {
    struct stat st {};
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        return QStringLiteral("Der Ordner %1 fehlt: %2").arg(folder, systemErrorText(errno));
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("%1 ist ein symbolischer Verweis, kein eigener Ordner.").arg(folder);
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("%1 ist kein Ordner.").arg(folder);
    if (st.st_uid != ::geteuid())
        return QStringLiteral("Der Ordner %1 gehört einem anderen Benutzer.").arg(folder);
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return QStringLiteral("Der Ordner %1 ist für andere Benutzer offen.").arg(folder);
    return {};
}

QStringList handOverFolders() {
    QStringList folders;
    // The runtime folder counts only as what it promises to be.
    if (const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR"); !runtime.isEmpty() && privateFolderProblem(runtime).isEmpty())
        folders << joinPath(runtime, kFolderName);
    folders << joinPath(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation), kFolderName);
    return folders;
}

QString handOverListenPath(const QString& databasePath, QString* why) {
    const QString name = handOverSocketName(databasePath);
    QString first;
    for (const QString& folder : handOverFolders()) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        // Made private from the start; a folder already there is taken only after the check.
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0) {
            const int error = errno;
            if (error != EEXIST && first.isEmpty())
                first = QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2").arg(folder, systemErrorText(error));
        }
        const QString path = joinPath(folder, name);
        const QString problem = placeProblem(folder, path);
        if (problem.isEmpty())
            return path;
        if (first.isEmpty())
            first = problem;
    }
    if (why)
        *why = first;
    return {};
}

QStringList handOverConnectPaths(const QString& databasePath, QString* why) {
    const QString name = handOverSocketName(databasePath);
    QStringList paths;
    QString first;
    for (const QString& folder : handOverFolders()) {
        const QString path = joinPath(folder, name);
        if (const QString problem = placeProblem(folder, path); !problem.isEmpty()) {
            if (first.isEmpty())
                first = problem;
            continue;
        }
        paths << path;
    }
    if (paths.isEmpty() && why)
        *why = first;
    return paths;
}

} // namespace core
