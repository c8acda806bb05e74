// The deck files last loaded or saved, newest first.
#include "deckio/recentdecks.h"

#include <algorithm>
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

QStringList RecentDecks::captions() const {
    const auto fileName = [](const QString& p) { return QFileInfo(p).fileName(); };
    const auto folder = [](const QString& p) { return QFileInfo(p).absolutePath(); };
    const auto folderName = [](const QString& p) { return QFileInfo(QFileInfo(p).absolutePath()).fileName(); };
    QStringList result;
    for (int i = 0; i < m_paths.size(); ++i) {
        const QString& path = m_paths.at(i);
        QString text = caption(i + 1, path);
        const auto sameName = [&](const QString& other) { return other != path && fileName(other) == fileName(path); };
        if (std::any_of(m_paths.cbegin(), m_paths.cend(), sameName)) {
            // Only the entries of the same file name decide whether the folder's name tells them apart.
            const bool nameTells = std::none_of(m_paths.cbegin(), m_paths.cend(), [&](const QString& other) {
                return sameName(other) && folderName(other) == folderName(path);
            });
            QString where = nameTells && !folderName(path).isEmpty() ? folderName(path) : QDir::toNativeSeparators(folder(path));
            where.replace(u'&', QStringLiteral("&&"));
            text += QStringLiteral(" (%1)").arg(where);
        }
        result << text;
    }
    return result;
}

} // namespace deckio
