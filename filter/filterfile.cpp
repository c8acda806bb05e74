#include "filter/filterfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace filter {

std::optional<QString> readFilterLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const qsizetype cr = bytes.indexOf('\r');
    QStringDecoder decode("windows-1252");
    return QString(decode(cr < 0 ? bytes : bytes.left(cr)));
}

QStringList quickFilterNames(const QString& dir) {
    QStringList names;
    const QFileInfoList files = QDir(dir).entryInfoList({QStringLiteral("*.drfilter")}, QDir::Files, QDir::Unsorted);
    for (const QFileInfo& info : files)
        names << info.completeBaseName();
    return names;
}

} // namespace filter
