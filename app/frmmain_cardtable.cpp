// The main window's exchange with CardTable: writing and reading its deck files.
#include "core/textfile.h"
#include "db/database.h"
#include "deck/entrynames.h"
#include "deck/deckhistory.h"
#include "deck/decksession.h"
#include "app/frmmain.h"
#include "app/guarded.h"
#include "deckio/cardtable.h"

#include <QComboBox>
#include <QFileInfo>

namespace ui {

namespace {

const QString kExportTitle = QStringLiteral("Dravenna-Deckliste speichern");
const QString kImportTitle = QStringLiteral("Dravenna-Deck laden");
const QString kImportStep = QStringLiteral("Import von CardTable-Datei");

} // namespace

void frmMain::funcExportCardTable() {
    try {
        if (funcDeckIncomplete())
            return;
        QByteArray content;
        if (BuildCardTableDeck(content))
            return;
        const QString path = funcFileDialog(QStringLiteral("Save"), QStringLiteral("CardTable-Deck speichern"), QStringLiteral("ctd"),
                                            QStringLiteral("CardTable-Deck"),
                                            core::dialogflags::OverwritePrompt | core::dialogflags::PathMustExist |
                                                core::dialogflags::NoReadOnlyReturn);
        if (path.isEmpty())
            return;
        if (const QString why = core::writeFileAtomically(path, deckio::encodeCardTableFile(content)); !why.isEmpty())
            core::throwFileError(path, why);
        showInfo(QStringLiteral("Die CardTable-Datei wurde gespeichert unter:\r\n") + path,
                 QStringLiteral("CardTable-Datei erfolgreich gespeichert"));
    } catch (const db::DbError& e) {
        showError(kExportTitle, e);
    }
}

bool frmMain::BuildCardTableDeck(QByteArray& text) {
    try {
        auto conn = db::Database::OpenDatabase(sDatabasePath);
        const deckio::CardTableLocation location = deckio::storedCardTableLocation();
        if (location.fileName.isEmpty() || !QFileInfo(location.fullPath()).isFile()) {
            core::prompter().message(
                QStringLiteral("Die CardTable-Daten sind nicht angegeben worden oder existieren nicht mehr. Bitte neu angeben."),
                QStringLiteral("CardTable-Daten nicht gefunden"), core::Icon::Exclamation, core::Buttons::Ok);
            return true;
        }
        text += deckio::buildCardTableDeck(*conn, core::readWholeFile(location.fullPath(), deckio::kMaxCardTableDataBytes),
                                           deck::leaderName(m_deck->leaderEntry()),
                                           deck::inquisitorName(m_deck->inquisitorEntry()));
        return false;
    } catch (const deckio::CardTableLineError& e) {
        // The player sees which line of the data file is at fault before the error itself.
        core::prompter().message(e.line(), QStringLiteral("Dravenna Deck-Builder"), core::Icon::None, core::Buttons::Ok);
        showError(kExportTitle, e);
    } catch (const db::DbError& e) {
        showError(kExportTitle, e);
    }
    return true;
}

void frmMain::funcImportCardTable() {
    try {
        if (!mayDiscardDeck(QStringLiteral("CardTable-Datei Importieren")))
            return;
        const QString path = funcFileDialog(QStringLiteral("Open"), QStringLiteral("CardTable-Deck Importieren"), QStringLiteral("ctd"),
                                            QStringLiteral("CardTable-Decks"),
                                            core::dialogflags::PathMustExist | core::dialogflags::FileMustExist);
        if (path.isEmpty()) {
            discardAfterCancel();
            return;
        }
        ImportCardTableFile(path);
    } catch (const db::DbError& e) {
        showError(kImportTitle, e);
    }
}

void frmMain::ImportCardTableFile(const QString& path) {
    try {
        m_history->run(kImportStep, deck::DeckHistory::Scope::Deck, [&] {
            if (m_deck->hasCards())
                m_deck->clear();
            const deckio::CardTableDeck parsed =
                deckio::parseCardTableDeck(core::readWholeFile(path, deckio::kMaxCardTableDeckBytes));
            m_deck->loadCardTable(parsed.numbers);
            if (parsed.failure)
                throw *parsed.failure;
        });
        showInfo(QStringLiteral("Die CardTable-Datei wurde importiert"), QStringLiteral("CardTable-Datei Importiert"));
    } catch (const db::DbError& e) {
        showError(kImportTitle, e);
    }
}

} // namespace ui
