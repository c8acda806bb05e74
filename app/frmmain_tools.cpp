// The main window's deck tools behind the "Deck" menu's specified entries: import from text, comparison
// with a deck file, opening hand.
#include "app/deckrecorder.h"
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
#include "deck/entrynames.h"
#include "deckio/deckfile.h"
#include "deckio/frmtextimport.h"

#include <QComboBox>
#include <QFileInfo>
#include <QMenu>

namespace ui {

namespace {
const QString kImportTitle = QStringLiteral("Deck aus Text importieren");
const QString kCompareTitle = QStringLiteral("Deck vergleichen");
} // namespace

void frmMain::addDeckToolEntries(QMenu* deckMenu) {
    deckMenu->addSeparator()->setObjectName(QStringLiteral("mnuSepWerkzeuge"));
    connect(addEntry(deckMenu, QStringLiteral("Aus Text importieren…"), "mnuTextImport"), &QAction::triggered, this,
            [this] { guarded(kImportTitle, [this] { funcImportText(); }); });
    connect(addEntry(deckMenu, QStringLiteral("Vergleichen mit…"), "mnuVergleichen"), &QAction::triggered, this,
            [this] { guarded(kCompareTitle, [this] { funcCompareDeck(); }); });
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
        auto conn = db::Database::OpenDatabase(sDatabasePath);
        // The question, the emptied deck and the new one are one step to take back.
        const DeckRecorder step(*this, QStringLiteral("Aus Text importieren"), DeckRecorder::Scope::Deck);
        if (!discardDeck(*conn, kImportTitle))
            return;
        conn->Execute(QStringLiteral("DELETE * FROM DECK"));
        // A text that names neither leader nor inquisitor leaves the choice as it is.
        if (!imported.leaderNumber.isEmpty() || !imported.inquisitorNumber.isEmpty()) {
            if (!imported.leaderNumber.isEmpty())
                selectEntryNamed(cmbLeader, deckio::leaderNameForNumber(*conn, imported.leaderNumber));
            if (imported.inquisitorNumber.isEmpty())
                cmbInquisitor->setCurrentIndex(cmbInquisitor->findText(deck::kNoInquisitor));
            else
                selectEntryNamed(cmbInquisitor, deckio::inquisitorNameForNumber(*conn, imported.inquisitorNumber));
        }
        deckio::insertCards(*conn, imported.cardNumbers);
        conn->Close();
        deckReplaced();
    } catch (const db::DbError& e) {
        showError(kImportTitle, e);
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
        {
            auto conn = db::Database::OpenDatabase(sDatabasePath);
            try {
                const deckio::DeckFileContent mine =
                    deckio::collectDeck(*conn, cmbLeader->currentText(), cmbInquisitor->currentText());
                here = {mine.leaderNumber, mine.inquisitorNumber, mine.cardNumbers};
            } catch (const db::DbError&) {
                // No leader chosen yet: the cards alone.
                for (auto rs = conn->OpenRecordset(QStringLiteral("SELECT NUMMER FROM DECK")); !rs.Eof(); rs.MoveNext())
                    here.cardNumbers << db::cellText(rs.Fields(0));
            }
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
        // The odds follow the deck while the window is open.
        connect(this, &frmMain::deckCalculated, m_frmStarthand, [this] {
            if (m_frmStarthand->isVisible())
                guarded(u"Starthand"_qs, [this] { m_frmStarthand->reloadDeck(); });
        });
    } else {
        m_frmStarthand->reloadDeck();
    }
    m_frmStarthand->show();
    m_frmStarthand->raise();
    m_frmStarthand->activateWindow();
}

} // namespace ui
