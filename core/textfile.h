#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace core {

// Text as Windows-1252 bytes.
QByteArray encodeText(const QString& text);
// Windows-1252 text with CR LF after every line, as the program's text files are written.
QByteArray encodeLines(const QStringList& lines);
// Windows-1252 bytes as text.
QString decodeText(const QByteArray& bytes);
// Splits bytes into lines ending at CR LF or a lone CR; a lone LF stays in its line.
// Bytes after the last line end are a last line of its own.
QList<QByteArray> splitLines(const QByteArray& bytes);
// Splits Windows-1252 text into lines ending at CR LF or a lone CR; a lone LF stays in its line.
// Text after the last line end is a last line of its own.
QStringList decodeLines(const QByteArray& bytes);

// Reports a file that could not be read or written as the engine's error number 75.
[[noreturn]] void throwFileError(const QString& path, const QString& why);

// The whole file; throws core::AppError (75) when it cannot be read.
QByteArray readWholeFile(const QString& path);

// Writes bytes through a temporary file that replaces the target only once complete.
// Returns an error text, empty on success.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace core
