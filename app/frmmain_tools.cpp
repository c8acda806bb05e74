// The main window's deck tools behind the "Deck" menu's specified entries: import from text, comparison
// with a deck file, opening hand.
#include "app/frmmain.h"
#include "app/frmstarthand.h"
#include "app/frmvergleich.h"
#include "app/guarded.h"
#include "cardview/picturelibrary.h"
#include "core/named.h"
#include "core/programdir.h"
#include "core/textfile.h"
#include "db/database.h"
#include "deck/deckcomparison.h"
#include "deck/deckhistory.h"
#include "deck/decksession.h"
#include "deck/entrynames.h"
#include "deckio/deckfile.h"
#include "deckio/frmtextimport.h"

#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

namespace ui {

namespace {
const QString kImportTitle = QStringLiteral("Deck aus Text importieren");
const QString kCompareTitle = QStringLiteral("Deck vergleichen");
} // namespace

void frmMain::addDeckToolEntries(QMenu* deckMenu) {
    deckMenu->addSeparator()->setObjectName(QStringLiteral("mnuSepWerkzeuge"));
    connect(addEntry(deckMenu, QStringLiteral("Aus Text importieren…"), "mnuTextImport"), &QAction::triggered, this,
            [this] { guarded(kImportTitle, [this] { funcImportText(); }); });
    // A deck file from the dialog, or one of the recent decks.
    mnuVergleichenMit = named(deckMenu->addMenu(QStringLiteral("Vergleichen mit…")), "mnuVergleichenMit");
    mnuVergleichenMit->menuAction()->setObjectName(QStringLiteral("mnuVergleichen"));
    mnuVergleichenMit->setToolTipsVisible(true);
    refreshRecentMenu();
    connect(addEntry(deckMenu, QStringLiteral("Starthand…"), "mnuStarthand"), &QAction::triggered, this,
            [this] { guarded(u"Starthand"_qs, [this] { funcStarthand(); }); });
}

cardview::PictureLibrary& frmMain::pictures() {
    if (!m_pictures)
        m_pictures = std::make_unique<cardview::PictureLibrary>();
    return *m_pictures;
}

void frmMain::funcImportText() {
    deckio::frmTextImport window(this, sDatabasePath);
    if (window.exec() != QDialog::Accepted)
        return;
    const deckio::ImportedDeck imported = window.deck();
    try {
        if (!mayDiscardDeck(kImportTitle))
            return;
        m_history->run(QStringLiteral("Aus Text importieren"), deck::DeckHistory::Scope::Deck, [&] {
            m_deck->replaceWith({imported.leaderNumber, imported.inquisitorNumber, imported.cardNumbers, 2});
        });
    } catch (const db::DbError& e) {
        showError(kImportTitle, e);
    }
}

void frmMain::listCompareChoices(const QStringList& paths, const QStringList& captions) {
    mnuVergleichenMit->clear();
    connect(addEntry(mnuVergleichenMit, QStringLiteral("Deck-Datei…"), "mnuVergleichenDatei"), &QAction::triggered, this,
            [this] { guarded(kCompareTitle, [this] { funcCompareDeck(); }); });
    if (paths.isEmpty())
        return;
    mnuVergleichenMit->addSeparator();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QAction* entry = mnuVergleichenMit->addAction(captions.at(i));
        entry->setObjectName(QStringLiteral("mnuVergleichen_%1").arg(i + 1));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { guarded(kCompareTitle, [this, &path] { compareWithFile(path); }); });
    }
}

void frmMain::funcCompareDeck() {
    const QString path = funcFileDialog(QStringLiteral("Open"), QStringLiteral("Deck vergleichen mit"), QStringLiteral("drd"),
                                        QStringLiteral("Dravenna-Decks"),
                                        core::dialogflags::PathMustExist | core::dialogflags::FileMustExist);
    if (path.isEmpty())
        return;
    compareWithFile(path);
}

void frmMain::compareWithFile(const QString& path) {
    try {
        deck::DeckNumbers here;
        try {
            const deck::DeckContent mine = m_deck->content();
            here = {mine.leaderNumber, mine.inquisitorNumber, mine.cardNumbers};
        } catch (const db::DbError&) {
            // No leader chosen yet: the cards alone.
            here.cardNumbers = m_deck->cardNumbers();
        }
        const deckio::DeckFileContent other = deckio::parseDeckFile(core::readWholeFile(path, deckio::kMaxDeckFileBytes));
        const deck::DeckComparison comparison = deck::compareDecks(
            sDatabasePath, here, {other.leaderNumber, other.inquisitorNumber, other.cardNumbers});
        auto* window = new frmVergleich(this, comparison, QFileInfo(path).fileName());
        window->setAttribute(Qt::WA_DeleteOnClose);
        connect(window, &frmVergleich::cardChosen, this, [this](const QString& name) {
            if (!mnuKartenAnzeigen->isChecked())
                mnuKartenAnzeigen->trigger();
            showCard(name, QStringLiteral("KARTEN"));
        });
        window->show();
    } catch (const db::DbError& e) {
        showError(kCompareTitle, e);
    }
}

void frmMain::funcStarthand() {
    if (!m_frmStarthand) {
        m_frmStarthand = new frmStarthand(this, sDatabasePath, &pictures());
        // The odds follow the deck while the window is open, read again once a turn however many
        // changes a step made.
        connect(m_deck, &deck::DeckSession::changed, m_frmStarthand, [this](const deck::DeckChange& change) {
            if (!change.rows || !m_frmStarthand->isVisible() || m_starthandDue)
                return;
            m_starthandDue = true;
            QTimer::singleShot(0, m_frmStarthand, [this] {
                m_starthandDue = false;
                guarded(u"Starthand"_qs, [this] { m_frmStarthand->reloadDeck(); });
            });
        });
    } else {
        m_frmStarthand->reloadDeck();
    }
    m_frmStarthand->show();
    m_frmStarthand->raise();
    m_frmStarthand->activateWindow();
}

} // namespace ui
