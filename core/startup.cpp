// What a start is given: the deck path in the argument or a dropped file, and the version text.
#include "core/startup.h"

#include <QFileInfo>

namespace core {

QString deckPathFromArgument(const QString& argument) {
    if (argument.size() >= 2 && argument.startsWith(u'"') && argument.endsWith(u'"'))
        return argument.mid(1, argument.size() - 2);
    if (argument == QStringLiteral("\""))
        return QString();
    return argument;
}

QString droppedDeckFile(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (path.endsWith(QStringLiteral(".drd"), Qt::CaseInsensitive) && QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString versionText(int major, int minor) {
    return QStringLiteral("Version ") + QString::number(major) + u'.' + QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
}

} // namespace core
