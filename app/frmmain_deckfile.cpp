// The main window's deck files and deck list.
#include "core/programdir.h"
#include "core/startup.h"
#include "db/database.h"
#include "deck/deckhistory.h"
#include "deck/decksession.h"
#include "app/frmmain.h"
#include "core/settings.h"
#include "deck/entrynames.h"
#include "app/guarded.h"
#include "deckio/deckfile.h"
#include "deckio/decklist.h"
#include "deckio/frmdecklist.h"
#include "core/textfile.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <utility>
#include <QWindow>
#include <QMimeData>
#include <QTimer>

namespace ui {

namespace {

const QString kSaveTitle = QStringLiteral("Dravenna-Deck speichern");
const QString kLoadTitle = QStringLiteral("Dravenna-Deck laden");
const QString kListTitle = QStringLiteral("Dravenna-Deckliste speichern");
const QString kLoadStep = QStringLiteral("Deck laden");

} // namespace

bool frmMain::funcDeckIncomplete() {
    // A failing read goes to the entry's own handler, which names the entry.
    const auto refusal = m_deck->incomplete();
    if (refusal)
        core::prompter().message(refusal->text, refusal->title, core::Icon::Exclamation, core::Buttons::Ok);
    return refusal.has_value();
}

QString frmMain::funcFileDialog(const QString& mode, const QString& title, const QString& extension,
                                const QString& filterName, unsigned flags) {
    core::prepareFileDialog(cmdcSaveLoad, title, extension, filterName, flags);
    // The first time where the program has always opened it; after that in the folder last used for this
    // kind of file, while that folder is there.
    const auto folders = core::openSettings(QStringLiteral("Ordner"));
    const QString lastUsed = folders->value(extension).toString();
    cmdcSaveLoad.initDir = !lastUsed.isEmpty() && QFileInfo(lastUsed).isDir() ? lastUsed : core::deckFilesDirectory();
    bool save;
    if (mode == u"Load" || mode == u"Open" || mode == u"Öffnen")
        save = false;
    else if (mode == u"Save" || mode == u"Speichern")
        save = true;
    else
        return QString();
    if (!core::prompter().fileDialog(cmdcSaveLoad, save))
        return QString();
    folders->setValue(extension, QFileInfo(cmdcSaveLoad.fileName).absolutePath());
    return cmdcSaveLoad.fileName;
}

void frmMain::funcSave() {
    try {
        if (funcDeckIncomplete())
            return;
        const QString path = funcFileDialog(QStringLiteral("Save"), kSaveTitle, QStringLiteral("drd"),
                                            QStringLiteral("Dravenna-Decks"), core::dialogflags::OverwritePrompt |
                                                core::dialogflags::PathMustExist | core::dialogflags::NoReadOnlyReturn);
        if (path.isEmpty())
            return;
        const deckio::DeckFileContent content = m_deck->content();
        // Written whole or not at all: a failed save leaves an existing file as it was.
        if (const QString why = core::writeFileAtomically(path, deckio::encodeDeckFile(content)); !why.isEmpty())
            core::throwFileError(path, why);
        rememberDeckFile(path);
        showInfo(QStringLiteral("Das Dravenna-Deck wurde gespeichert unter:\r\n") + path,
             QStringLiteral("Dravenna-Deck erfolgreich gespeichert"));
    } catch (const db::DbError& e) {
        showError(kSaveTitle, e);
    }
}

void frmMain::discardAfterCancel() {
    // The player agreed to discard the deck before choosing no file.
    if (m_deck->hasCards())
        m_history->run(QStringLiteral("Deck verwerfen"), deck::DeckHistory::Scope::Deck, [this] { m_deck->clear(); });
}

void frmMain::funcLoad() {
    try {
        if (!mayDiscardDeck(kLoadTitle))
            return;
        const QString path = funcFileDialog(QStringLiteral("Open"), QStringLiteral("Dravenna-Deck Laden"), QStringLiteral("drd"),
                                            QStringLiteral("Dravenna-Decks"),
                                            core::dialogflags::PathMustExist | core::dialogflags::FileMustExist);
        if (path.isEmpty()) {
            discardAfterCancel();
            return;
        }
        LoadDeckFile(path);
    } catch (const db::DbError& e) {
        showError(kLoadTitle, e);
    }
}

void frmMain::funcLoadFile(const QString& path) {
    try {
        if (!mayDiscardDeck(kLoadTitle))
            return;
        // As if the dialog had chosen the file: the next deck dialog offers its name.
        cmdcSaveLoad.fileName = path;
        LoadDeckFile(path);
    } catch (const db::DbError& e) {
        showError(kLoadTitle, e);
    }
}

void frmMain::takeHandOver(const QString& deckPath, bool toFront) {
    if (toFront) {
        if (isMinimized())
            showNormal();
        show();
        raise();
        activateWindow();
    }
    m_handedOver << deckPath;
    QTimer::singleShot(0, this, &frmMain::loadHandedOver);
}

void frmMain::loadHandedOver() {
    // A question must not pop up over a dialog the player is working in; the deck waits for it.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, &frmMain::loadHandedOver);
        return;
    }
    while (!m_handedOver.isEmpty()) {
        const QString path = m_handedOver.takeFirst();
        // A path that names no file is passed over without a message, as at start-up.
        if (!path.isEmpty() && QFileInfo(path).isFile())
            funcLoadFile(path);
        Q_EMIT handOverDone();
    }
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !core::droppedDeckFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = core::droppedDeckFile(event->mimeData()->urls());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Loaded after the drop has finished: the source program is not kept waiting on a question.
    takeHandOver(path, false);
}

void frmMain::LoadDeckFile(const QString& path) {
    try {
        QStringList passedOver;
        m_history->run(kLoadStep, deck::DeckHistory::Scope::Deck, [&] {
            // The deck goes first, as the player agreed: also when the file then cannot be read.
            if (m_deck->hasCards())
                m_deck->clear();
            passedOver = m_deck->load(deckio::parseDeckFile(core::readWholeFile(path, deckio::kMaxDeckFileBytes)));
        });
        rememberDeckFile(path);
        showInfo(QStringLiteral("Das Dravenna-Deck wurde geladen"), QStringLiteral("Dravenna-Deck geladen"));
        // A later save would drop them without a word: the player hears of them now.
        if (!passedOver.isEmpty())
            core::prompter().message(deck::passedOverText(passedOver), QStringLiteral("Dravenna-Deck geladen"),
                                     core::Icon::Exclamation, core::Buttons::Ok);
    } catch (const db::DbError& e) {
        showError(kLoadTitle, e);
    }
}

void frmMain::showHeldBoxes() {
    // Once the window manager has the window on screen and active, so that the box is its own; a desktop
    // that never activates it gets the box after a while all the same.
    if (m_heldBoxes.empty() || m_closing)
        return;
    const bool up = windowHandle() && windowHandle()->isExposed() && isActiveWindow();
    if (!up && ++m_heldWaits < 60) {
        QTimer::singleShot(50, this, &frmMain::showHeldBoxes);
        return;
    }
    for (const HeldBoxes::Box& box : std::exchange(m_heldBoxes, {}))
        core::prompter().message(box.text, box.title, box.icon, core::Buttons::Ok);
}

QString frmMain::deckListText() {
    if (funcDeckIncomplete())
        return QString();
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    return deckio::buildDeckList(*conn, m_deck->leaderEntry(), m_deck->inquisitorEntry());
}

void frmMain::funcShowDeckList() {
    try {
        const QString text = deckListText();
        if (text.isEmpty())
            return;
        deckio::frmDecklist window(this);
        window.ShowDecklist(text);
    } catch (const db::DbError& e) {
        showError(kListTitle, e);
    }
}

void frmMain::funcSaveDeckList() {
    try {
        const QString text = deckListText();
        if (text.isEmpty())
            return;
        const QString path = funcFileDialog(QStringLiteral("Save"), kListTitle, QStringLiteral("txt"), QStringLiteral("Textdatei"),
                                            core::dialogflags::OverwritePrompt | core::dialogflags::PathMustExist |
                                                core::dialogflags::NoReadOnlyReturn);
        if (path.isEmpty())
            return;
        if (const QString why = core::writeFileAtomically(path, deckio::encodeDeckListFile(text));
            !why.isEmpty())
            core::throwFileError(path, why);
        showInfo(QStringLiteral("Die Dravenna-Deckliste wurde gespeichert unter:\r\n") + path,
             QStringLiteral("Dravenna-Deckliste erfolgreich gespeichert"));
    } catch (const db::DbError& e) {
        showError(kListTitle, e);
    }
}

} // namespace ui
