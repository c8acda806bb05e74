// The main window's list of recently loaded and saved deck files ("Zuletzt geöffnet").
#include "app/frmmain.h"
#include "app/guarded.h"
#include "core/named.h"
#include "core/settings.h"
#include "deckio/recentdecks.h"

#include <algorithm>
#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace ui {

namespace {
const QString kSection = QStringLiteral("Recent");

deckio::RecentDecks storedRecentDecks() { return deckio::RecentDecks::fromSettings(*core::openSettings(kSection)); }
} // namespace

void frmMain::addRecentEntries(QMenu* datei) {
    // Directly above "Beenden", where desktop programs keep it; the exit entry stays last.
    const QList<QAction*> entries = datei->actions();
    const auto found = std::find_if(entries.cbegin(), entries.cend(),
                                    [](const QAction* a) { return a->objectName() == u"mnuBeenden"; });
    QAction* exit = found == entries.cend() ? nullptr : *found;
    mnuZuletzt = named(new QMenu(QStringLiteral("Zuletzt geöffnet"), datei), "mnuZuletzt");
    datei->insertMenu(exit, mnuZuletzt);
    datei->insertSeparator(exit)->setObjectName(QStringLiteral("mnuSepZuletzt"));
    mnuZuletzt->menuAction()->setObjectName(QStringLiteral("mnuZuletztGeoeffnet"));
    mnuZuletzt->setToolTipsVisible(true);
    refreshRecentMenu();
}

void frmMain::refreshRecentMenu() {
    mnuZuletzt->clear();
    const deckio::RecentDecks recent = storedRecentDecks();
    const QStringList paths = recent.paths();
    const QStringList captions = recent.captions();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QAction* entry = mnuZuletzt->addAction(captions.at(i));
        entry->setObjectName(QStringLiteral("mnuZuletzt_%1").arg(i + 1));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { guarded(u"Zuletzt geöffnet"_qs, [this, &path] { openRecentDeck(path); }); });
    }
    mnuZuletzt->menuAction()->setEnabled(!paths.isEmpty());
    if (m_tools)
        m_tools->listCompareChoices(paths, captions);
}

void frmMain::rememberDeckFile(const QString& path) {
    auto settings = core::openSettings(kSection);
    auto list = deckio::RecentDecks::fromSettings(*settings);
    list.add(path);
    list.toSettings(*settings);
    refreshRecentMenu();
}

void frmMain::openRecentDeck(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        auto settings = core::openSettings(kSection);
        auto list = deckio::RecentDecks::fromSettings(*settings);
        list.remove(path);
        list.toSettings(*settings);
        refreshRecentMenu();
        core::prompter().message(QStringLiteral("Die Deck-Datei wurde nicht gefunden und aus der Liste entfernt:\r\n") + path,
                                 QStringLiteral("Dravenna-Deck laden"), core::Icon::Exclamation, core::Buttons::Ok);
        return;
    }
    funcLoadFile(path);
}

} // namespace ui
