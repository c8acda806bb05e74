#include "deckio/recentdecks.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace deckio {

namespace {
QString keyFor(int position) { return QStringLiteral("File%1").arg(position); }
} // namespace

QString RecentDecks::normalised(const QString& path) {
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

RecentDecks RecentDecks::fromSettings(QSettings& section) {
    RecentDecks list;
    // Read oldest first, so that add() leaves the newest on top; a gap does not end the list.
    QStringList stored;
    for (int i = 1; i <= kMaxRecentDecks; ++i) {
        const QString path = section.value(keyFor(i)).toString();
        if (!path.isEmpty())
            stored << path;
    }
    for (auto it = stored.crbegin(); it != stored.crend(); ++it)
        list.add(*it);
    return list;
}

void RecentDecks::toSettings(QSettings& section) const {
    for (int i = 1; i <= kMaxRecentDecks; ++i) {
        if (i <= m_paths.size())
            section.setValue(keyFor(i), m_paths.at(i - 1));
        else
            section.remove(keyFor(i));
    }
    section.sync();
}

void RecentDecks::add(const QString& path) {
    const QString entry = normalised(path);
    if (entry.isEmpty())
        return;
    m_paths.removeAll(entry);
    m_paths.prepend(entry);
    while (m_paths.size() > kMaxRecentDecks)
        m_paths.removeLast();
}

bool RecentDecks::remove(const QString& path) {
    // A vanished file can no longer be resolved; its entry is the text the list holds.
    return m_paths.removeAll(path) + m_paths.removeAll(normalised(path)) > 0;
}

QString RecentDecks::caption(int position, const QString& path) {
    QString name = QFileInfo(path).fileName();
    name.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(position).arg(name);
}

} // namespace deckio
