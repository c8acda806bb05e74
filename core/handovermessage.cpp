// The hand-over message a later start sends: its format, and the deck path it carries.
#include "core/handovermessage.h"

#include "core/startup.h"

#include <QDir>

namespace core {

namespace {
const QByteArray kMagic = QByteArrayLiteral("DRAVENNA-HANDOVER 1\n");
}

QString handedOverDeckPath(const QStringList& arguments, const QString& workingDir) {
    if (arguments.size() < 2)
        return {};
    const QString path = deckPathFromArgument(arguments.at(1));
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(QDir(workingDir).absoluteFilePath(path));
}

QByteArray encodeHandOver(const QString& deckPath) {
    const QByteArray path = deckPath.toUtf8();
    return kMagic + QByteArray::number(path.size()) + '\n' + path;
}

HandOverParse decodeHandOver(const QByteArray& bytes, QString* deckPath) {
    if (bytes.size() > kMaxHandOverBytes)
        return HandOverParse::Invalid;
    if (!bytes.startsWith(kMagic))
        return kMagic.startsWith(bytes) ? HandOverParse::Incomplete : HandOverParse::Invalid;
    const qsizetype lengthEnd = bytes.indexOf('\n', kMagic.size());
    if (lengthEnd < 0)
        return bytes.size() - kMagic.size() > 8 ? HandOverParse::Invalid : HandOverParse::Incomplete;
    const QByteArray lengthText = bytes.mid(kMagic.size(), lengthEnd - kMagic.size());
    bool ok = false;
    const qsizetype length = lengthText.toLongLong(&ok);
    if (!ok || length < 0 || length > kMaxHandOverBytes || lengthText.startsWith('+') || lengthText.startsWith('-'))
        return HandOverParse::Invalid;
    const qsizetype have = bytes.size() - lengthEnd - 1;
    if (have < length)
        return HandOverParse::Incomplete;
    if (have > length)
        return HandOverParse::Invalid;
    const QByteArray path = bytes.mid(lengthEnd + 1);
    if (path.contains('\0'))
        return HandOverParse::Invalid;
    *deckPath = QString::fromUtf8(path);
    return HandOverParse::Complete;
}

} // namespace core
