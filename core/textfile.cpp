#include "core/textfile.h"

#include "core/apperror.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <unistd.h>

namespace core {

QByteArray encodeText(const QString& text) {
    QStringEncoder encode("windows-1252");
    const QByteArray bytes = encode(text);
    // The encoder puts a stand-in byte for what the code page lacks; decoding back finds it.
    const QString back = decodeText(bytes);
    if (back == text)
        return bytes;
    qsizetype at = 0;
    while (at < text.size() && at < back.size() && text[at] == back[at])
        ++at;
    const QString character = at + 1 < text.size() && text[at].isHighSurrogate() ? text.mid(at, 2) : text.mid(at, 1);
    const QString code = QStringLiteral("%1").arg(character.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
    throw AppError(5, QStringLiteral("Das Zeichen '%1' (U+%2) kann in einer Windows-1252-Textdatei nicht gespeichert "
                                     "werden. Es wurde nichts geschrieben.")
                          .arg(character, code));
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
    // One decoder for the whole file: every byte is one character, so CR and LF stay where they were.
    const QString text = decodeText(bytes);
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

void throwFileError(const QString& path, const QString& why) {
    throw core::AppError(75, QStringLiteral("Fehler beim Zugriff auf '%1': %2").arg(path, why));
}

QByteArray readWholeFile(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throwFileError(path, file.errorString());
    if (maxBytes < 0)
        return file.readAll();
    const QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        throwFileError(path, QStringLiteral("Die Datei ist zu groß (mehr als %1 Bytes).").arg(maxBytes));
    return bytes;
}

namespace {

// Why a write did not reach the disk, in the player's words for the usual causes.
QString writeFailure(int error, const QString& fallback) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz frei.");
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft.");
    case EFBIG:
        return QStringLiteral("Die Datei überschreitet die erlaubte Dateigröße.");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler beim Schreiben auf den Datenträger.");
    default:
        return fallback.isEmpty() ? QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden.") : fallback;
    }
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // QSaveFile buffers, and its commit does not always notice that the final flush failed (full
    // disk, file-size limit). So the bytes are flushed, counted on disk and synced before the
    // temporary file may replace the old one.
    errno = 0;
    bool complete = file.write(bytes) == bytes.size() && file.flush();
    int error = errno;
    if (complete && file.size() != bytes.size()) {
        complete = false;
        error = errno ? errno : EIO;
    }
    if (complete && ::fsync(file.handle()) != 0) {
        complete = false;
        error = errno;
    }
    if (!complete) {
        const QString why = writeFailure(error, file.errorString());
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace core
