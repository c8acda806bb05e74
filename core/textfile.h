#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

namespace core {

// Text as Windows-1252 bytes. Throws core::AppError (5) naming the first character that
// Windows-1252 cannot hold: such a text is never written with a stand-in byte.
QByteArray encodeText(const QString& text);
// Windows-1252 text with CR LF after every line, as the program's text files are written.
QByteArray encodeLines(const QStringList& lines);
// Windows-1252 bytes as text.
QString decodeText(const QByteArray& bytes);
// Decodes the many lines of one file with one decoder; making a decoder costs far more than a line.
class LineDecoder {
public:
    QString operator()(const QByteArray& line) { return m_decode(line); }

private:
    QStringDecoder m_decode{"windows-1252"};
};
// Splits bytes into lines ending at CR LF or a lone CR; a lone LF stays in its line.
// Bytes after the last line end are a last line of its own.
QList<QByteArray> splitLines(const QByteArray& bytes);
// Splits Windows-1252 text into lines ending at CR LF or a lone CR; a lone LF stays in its line.
// Text after the last line end is a last line of its own.
QStringList decodeLines(const QByteArray& bytes);

// Reports a file that could not be read or written as the engine's error number 75.
[[noreturn]] void throwFileError(const QString& path, const QString& why);

// The whole file; throws core::AppError (75) when it cannot be read, or when it holds more than
// maxBytes (checked while reading, so a device or a growing file cannot make it read forever).
inline constexpr qint64 kNoSizeLimit = -1;
QByteArray readWholeFile(const QString& path, qint64 maxBytes = kNoSizeLimit);

// Writes bytes through a temporary file that replaces the target only once it is complete and on
// disk; a full disk or a file-size limit leaves the target as it was. A symbolic link stays and its
// file is replaced; a device, FIFO or terminal is written directly, never replaced, and /dev/stdout
// (and its kin) through this process's own descriptor. Returns an error text (German), empty on success.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// Whether two paths name one existing file (links and other spellings included).
bool sameFile(const QString& a, const QString& b);

} // namespace core
