#include "core/programdir.h"

#include <QCoreApplication>
#include <QDir>

namespace core {

namespace {
QString& overrideDir() {
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

QString joinPath(const QString& dir, const QString& name) {
    if (dir.endsWith(u'/') || dir.endsWith(QDir::separator()))
        return dir + name;
    return dir + u'/' + name;
}

QString databasePath() { return joinPath(programDirectory(), QStringLiteral("dravennacard.db")); }

} // namespace core
