// The program folder and the per-user folder used when it cannot be written.
#include "core/programdir.h"

#include <QCoreApplication>
#include <QDir>

namespace core {

namespace {
QString& overrideDir() {
    static QString dir;
    return dir;
}
QString& perUserDir() {
    static QString dir;
    return dir;
}
} // namespace

QString programDirectory() {
    if (!overrideDir().isEmpty())
        return overrideDir();
    return QCoreApplication::applicationDirPath();
}

void setProgramDirectory(const QString& path) { overrideDir() = path; }

void setPerUserDirectory(const QString& path) { perUserDir() = path; }

QString joinPath(const QString& dir, const QString& name) {
    if (dir.endsWith(u'/') || dir.endsWith(QDir::separator()))
        return dir + name;
    return dir + u'/' + name;
}

QString databasePath() { return joinPath(userFilesDirectory(), QStringLiteral("dravennacard.db")); }

QString userFilesDirectory() { return perUserDir().isEmpty() ? programDirectory() : perUserDir(); }

QString deckFilesDirectory() { return perUserDir().isEmpty() ? programDirectory() : QDir::homePath(); }

QStringList filterDirectories() {
    if (perUserDir().isEmpty())
        return {programDirectory()};
    return {perUserDir(), programDirectory()};
}

} // namespace core
