#pragma once

#include <QStringList>

class QSettings;

namespace deckio {

// The deck files last loaded or saved, newest first, each once, at most kMaxRecentDecks.
// Kept in the settings store, section "Recent", keys "File1" (newest) to "File8".
class RecentDecks {
public:
    static constexpr int kMaxRecentDecks = 8;

    // The list as the settings store holds it; a hand-edited store with gaps, repeats or more
    // entries gives the same clean list.
    static RecentDecks fromSettings(QSettings& section);
    void toSettings(QSettings& section) const;

    const QStringList& paths() const { return m_paths; }

    // The file moves to the top; the oldest entry drops off the end when the list is full.
    void add(const QString& path);
    // False when the file was not on the list.
    bool remove(const QString& path);

    // One file's form on the list: absolute and cleaned, links resolved while the file exists, so
    // that two ways of naming it give one entry.
    static QString normalised(const QString& path);

    // The menu caption: "&<position> <file name>", an ampersand of the name doubled so that it is
    // shown and not taken as the mnemonic.
    static QString caption(int position, const QString& path);
    // The captions of the whole list: a file name that stands more than once is followed by its
    // folder's name in parentheses, or by the whole folder where the folders' names are alike too.
    QStringList captions() const;

private:
    QStringList m_paths;
};

} // namespace deckio
