#include "core/textfile.h"

#include "core/apperror.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace core {

QByteArray encodeText(const QString& text) {
    QStringEncoder encode("windows-1252");
    return encode(text);
}

QByteArray encodeLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += encodeText(line) + "\r\n";
    return out;
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        lines << bytes.mid(start, i - start);
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

QString decodeText(const QByteArray& bytes) {
    QStringDecoder decode("windows-1252");
    return decode(bytes);
}

QStringList decodeLines(const QByteArray& bytes) {
    QStringList lines;
    for (const QByteArray& line : splitLines(bytes))
        lines << decodeText(line);
    return lines;
}

void throwFileError(const QString& path, const QString& why) {
    throw core::AppError(75, QStringLiteral("Fehler beim Zugriff auf '%1': %2").arg(path, why));
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throwFileError(path, file.errorString());
    return file.readAll();
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace core
