#include "app/core/textfile.h"

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

QStringList decodeLines(const QByteArray& bytes) {
    QStringDecoder decode("windows-1252");
    const QString text = decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r')
            continue;
        lines << text.mid(start, i - start);
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
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
