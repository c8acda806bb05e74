#include "core/handovermessage.h"

#include "core/startup.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace core {

namespace {
const QByteArray kMagic = QByteArrayLiteral("DRAVENNA-HANDOVER 1\n");
}

QString handOverName(const QString& databasePath) {
    const QFileInfo info(databasePath);
    const QString canonical = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("dravenna-deckbuilder-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
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
