// The deck's files behind the "Datei" and "CardTable" menus, and the decks last used.
#include "app/deckfiles.h"

#include "app/guarded.h"
#include "core/named.h"
#include "core/programdir.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "db/database.h"
#include "deck/deckhistory.h"
#include "deck/decksession.h"
#include "deck/entrynames.h"
#include "deckio/cardtable.h"
#include "deckio/deckfile.h"
#include "deckio/frmcardtabledata.h"
#include "deckio/decklist.h"
#include "deckio/frmdecklist.h"
#include "deckio/recentdecks.h"

#include <QFileInfo>
#include <QMenu>

namespace ui {

namespace {

const QString kSaveTitle = QStringLiteral("Dravenna-Deck speichern");
const QString kLoadTitle = QStringLiteral("Dravenna-Deck laden");
const QString kListTitle = QStringLiteral("Dravenna-Deckliste speichern");
const QString kRecentSection = QStringLiteral("Recent");
constexpr unsigned kSaveFlags =
    core::dialogflags::OverwritePrompt | core::dialogflags::PathMustExist | core::dialogflags::NoReadOnlyReturn;
constexpr unsigned kOpenFlags = core::dialogflags::PathMustExist | core::dialogflags::FileMustExist;

} // namespace

DeckFiles::DeckFiles(QWidget* window, deck::DeckSession& deck, deck::DeckHistory& history, QString databasePath,
                     core::FileDialogState& dialog)
    : QObject(window), m_window(window), m_deck(deck), m_history(history), m_databasePath(std::move(databasePath)),
      m_dialog(dialog) {}

void DeckFiles::addFileEntries(QMenu* datei) {
    auto entry = [this, datei](const QString& caption, const char* name, void (DeckFiles::*fn)()) {
        connect(named(datei->addAction(caption), name), &QAction::triggered, this,
                [this, caption, fn] { guarded(caption, [this, fn] { (this->*fn)(); }); });
    };
    entry(QStringLiteral("Deck Laden"), "mnuLaden", &DeckFiles::funcLoad);
    entry(QStringLiteral("Deck Speichern"), "mnuSpeichern", &DeckFiles::funcSave);
    entry(QStringLiteral("Deckliste Speichern"), "mnuDeckliste", &DeckFiles::funcSaveDeckList);
    entry(QStringLiteral("Deckliste Anzeigen"), "mnuShowDeckliste", &DeckFiles::funcShowDeckList);
}

void DeckFiles::addCardTableEntries(QMenu* cardTable) {
    connect(named(cardTable->addAction(QStringLiteral("Export zu CardTable-Datei")), "mnuCTExport"), &QAction::triggered,
            this, [this] { guarded(u"Export zu CardTable-Datei"_qs, [this] { funcExportCardTable(); }); });
    connect(named(cardTable->addAction(QStringLiteral("Import von CardTable-Datei")), "mnuCTImport"), &QAction::triggered,
            this, [this] { guarded(u"Import von CardTable-Datei"_qs, [this] { funcImportCardTable(); }); });
    cardTable->addSeparator()->setObjectName(QStringLiteral("mnuSep5"));
    connect(named(cardTable->addAction(QStringLiteral("Position CardTable-Daten")), "mnuCardTableData"), &QAction::triggered,
            this, [this] {
                deckio::frmCardTableData window(m_window);
                window.exec();
            });
}

// ---- the program's deck files ------------------------------------------------------------------------

bool DeckFiles::funcDeckIncomplete() {
    // A failing read goes to the entry's own handler, which names the entry.
    const auto refusal = m_deck.incomplete();
    if (refusal)
        core::prompter().message(refusal->text, refusal->title, core::Icon::Exclamation, core::Buttons::Ok);
    return refusal.has_value();
}

QString DeckFiles::funcFileDialog(const QString& mode, const QString& title, const QString& extension,
                                  const QString& filterName, unsigned flags) {
    core::prepareFileDialog(m_dialog, title, extension, filterName, flags);
    // The first time where the program has always opened it; after that in the folder last used for this
    // kind of file, while that folder is there.
    const auto folders = core::openSettings(QStringLiteral("Ordner"));
    const QString lastUsed = folders->value(extension).toString();
    m_dialog.initDir = !lastUsed.isEmpty() && QFileInfo(lastUsed).isDir() ? lastUsed : core::deckFilesDirectory();
    bool save;
    if (mode == u"Load" || mode == u"Open" || mode == u"Öffnen")
        save = false;
    else if (mode == u"Save" || mode == u"Speichern")
        save = true;
    else
        return QString();
    if (!core::prompter().fileDialog(m_dialog, save))
        return QString();
    folders->setValue(extension, QFileInfo(m_dialog.fileName).absolutePath());
    return m_dialog.fileName;
}

bool DeckFiles::mayDiscardDeck(const QString& title) {
    return !m_deck.hasCards() ||
           core::prompter().message(QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\n"
                                                   "Soll das aktuelle Deck verworfen werden?"),
                                    title, core::Icon::Question, core::Buttons::YesNo) != core::Answer::No;
}

void DeckFiles::replaceFromChosenFile(const QString& question, const QString& title, const QString& extension,
                                      const QString& filterName, void (DeckFiles::*load)(const QString&)) {
    if (!mayDiscardDeck(question))
        return;
    const QString path = funcFileDialog(QStringLiteral("Open"), title, extension, filterName, kOpenFlags);
    if (!path.isEmpty())
        (this->*load)(path);
    else if (m_deck.hasCards()) // the player agreed to discard the deck before choosing no file
        m_history.run(QStringLiteral("Deck verwerfen"), deck::DeckHistory::Scope::Deck, [this] { m_deck.clear(); });
}

QString DeckFiles::saveChosenFile(const QString& title, const QString& extension, const QString& filterName,
                                  const std::function<QByteArray()>& bytes, const QString& doneText,
                                  const QString& doneTitle) {
    const QString path = funcFileDialog(QStringLiteral("Save"), title, extension, filterName, kSaveFlags);
    if (path.isEmpty())
        return path;
    // Written whole or not at all: a failed save leaves an existing file as it was.
    if (const QString why = core::writeFileAtomically(path, bytes()); !why.isEmpty())
        core::throwFileError(path, why);
    showInfo(doneText + QStringLiteral(":\r\n") + path, doneTitle);
    return path;
}

void DeckFiles::funcSave() {
    guarded(kSaveTitle, [this] {
        if (funcDeckIncomplete())
            return;
        const QString path = saveChosenFile(
            kSaveTitle, QStringLiteral("drd"), QStringLiteral("Dravenna-Decks"),
            [this] { return deckio::encodeDeckFile(m_deck.content()); },
            QStringLiteral("Das Dravenna-Deck wurde gespeichert unter"), QStringLiteral("Dravenna-Deck erfolgreich gespeichert"));
        if (!path.isEmpty())
            rememberDeckFile(path);
    });
}

void DeckFiles::funcLoad() {
    guarded(kLoadTitle, [this] {
        replaceFromChosenFile(kLoadTitle, QStringLiteral("Dravenna-Deck Laden"), QStringLiteral("drd"),
                              QStringLiteral("Dravenna-Decks"), &DeckFiles::LoadDeckFile);
    });
}

void DeckFiles::funcLoadFile(const QString& path) {
    guarded(kLoadTitle, [&] {
        if (!mayDiscardDeck(kLoadTitle))
            return;
        // As if the dialog had chosen the file: the next deck dialog offers its name.
        m_dialog.fileName = path;
        LoadDeckFile(path);
    });
}

void DeckFiles::LoadDeckFile(const QString& path) {
    guarded(kLoadTitle, [&] {
        QStringList passedOver;
        m_history.run(QStringLiteral("Deck laden"), deck::DeckHistory::Scope::Deck, [&] {
            // The deck goes first, as the player agreed: also when the file then cannot be read.
            if (m_deck.hasCards())
                m_deck.clear();
            passedOver = m_deck.load(deckio::parseDeckFile(core::readWholeFile(path, deckio::kMaxDeckFileBytes)));
        });
        rememberDeckFile(path);
        showInfo(QStringLiteral("Das Dravenna-Deck wurde geladen"), QStringLiteral("Dravenna-Deck geladen"));
        // A later save would drop them without a word: the player hears of them now.
        if (!passedOver.isEmpty())
            core::prompter().message(deck::passedOverText(passedOver), QStringLiteral("Dravenna-Deck geladen"),
                                     core::Icon::Exclamation, core::Buttons::Ok);
    });
}

// ---- the deck list -----------------------------------------------------------------------------------

QString DeckFiles::deckListText() {
    if (funcDeckIncomplete())
        return QString();
    auto conn = db::Database::OpenDatabase(m_databasePath);
    return deckio::buildDeckList(*conn, m_deck.leaderEntry(), m_deck.inquisitorEntry());
}

void DeckFiles::funcShowDeckList() {
    guarded(kListTitle, [this] {
        const QString text = deckListText();
        if (text.isEmpty())
            return;
        deckio::frmDecklist window(m_window);
        window.ShowDecklist(text);
    });
}

void DeckFiles::funcSaveDeckList() {
    guarded(kListTitle, [this] {
        const QString text = deckListText();
        if (!text.isEmpty())
            saveChosenFile(kListTitle, QStringLiteral("txt"), QStringLiteral("Textdatei"),
                           [&text] { return deckio::encodeDeckListFile(text); },
                           QStringLiteral("Die Dravenna-Deckliste wurde gespeichert unter"),
                           QStringLiteral("Dravenna-Deckliste erfolgreich gespeichert"));
    });
}

// ---- CardTable ---------------------------------------------------------------------------------------

void DeckFiles::funcExportCardTable() {
    guarded(kListTitle, [this] {
        QByteArray content;
        if (funcDeckIncomplete() || BuildCardTableDeck(content))
            return;
        saveChosenFile(QStringLiteral("CardTable-Deck speichern"), QStringLiteral("ctd"), QStringLiteral("CardTable-Deck"),
                       [&content] { return deckio::encodeCardTableFile(content); },
                       QStringLiteral("Die CardTable-Datei wurde gespeichert unter"),
                       QStringLiteral("CardTable-Datei erfolgreich gespeichert"));
    });
}

bool DeckFiles::BuildCardTableDeck(QByteArray& text) {
    try {
        auto conn = db::Database::OpenDatabase(m_databasePath);
        const deckio::CardTableLocation location = deckio::storedCardTableLocation();
        if (location.fileName.isEmpty() || !QFileInfo(location.fullPath()).isFile()) {
            core::prompter().message(
                QStringLiteral("Die CardTable-Daten sind nicht angegeben worden oder existieren nicht mehr. Bitte neu angeben."),
                QStringLiteral("CardTable-Daten nicht gefunden"), core::Icon::Exclamation, core::Buttons::Ok);
            return true;
        }
        text += deckio::buildCardTableDeck(*conn, core::readWholeFile(location.fullPath(), deckio::kMaxCardTableDataBytes),
                                           deck::leaderName(m_deck.leaderEntry()),
                                           deck::inquisitorName(m_deck.inquisitorEntry()));
        return false;
    } catch (const deckio::CardTableLineError& e) {
        // The player sees which line of the data file is at fault before the error itself.
        core::prompter().message(e.line(), QStringLiteral("Dravenna Deck-Builder"), core::Icon::None, core::Buttons::Ok);
        showError(kListTitle, e);
    } catch (const db::DbError& e) {
        showError(kListTitle, e);
    }
    return true;
}

void DeckFiles::funcImportCardTable() {
    guarded(kLoadTitle, [this] {
        replaceFromChosenFile(QStringLiteral("CardTable-Datei Importieren"), QStringLiteral("CardTable-Deck Importieren"),
                              QStringLiteral("ctd"), QStringLiteral("CardTable-Decks"), &DeckFiles::ImportCardTableFile);
    });
}

void DeckFiles::ImportCardTableFile(const QString& path) {
    guarded(kLoadTitle, [&] {
        m_history.run(QStringLiteral("Import von CardTable-Datei"), deck::DeckHistory::Scope::Deck, [&] {
            if (m_deck.hasCards())
                m_deck.clear();
            const deckio::CardTableDeck parsed =
                deckio::parseCardTableDeck(core::readWholeFile(path, deckio::kMaxCardTableDeckBytes));
            m_deck.loadCardTable(parsed.numbers);
            if (parsed.failure)
                throw *parsed.failure;
        });
        showInfo(QStringLiteral("Die CardTable-Datei wurde importiert"), QStringLiteral("CardTable-Datei Importiert"));
    });
}

// ---- the decks last used -----------------------------------------------------------------------------

QMenu* DeckFiles::addRecentEntries(QMenu* datei, QAction* exitEntry) {
    // Directly above "Beenden", where desktop programs keep it; the exit entry stays last.
    m_recent = named(new QMenu(QStringLiteral("Zuletzt geöffnet"), datei), "mnuZuletzt");
    datei->insertMenu(exitEntry, m_recent);
    datei->insertSeparator(exitEntry)->setObjectName(QStringLiteral("mnuSepZuletzt"));
    m_recent->menuAction()->setObjectName(QStringLiteral("mnuZuletztGeoeffnet"));
    m_recent->setToolTipsVisible(true);
    refreshRecentMenu();
    return m_recent;
}

void DeckFiles::refreshRecentMenu() {
    m_recent->clear();
    const deckio::RecentDecks recent = deckio::RecentDecks::fromSettings(*core::openSettings(kRecentSection));
    const QStringList paths = recent.paths();
    const QStringList captions = recent.captions();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QAction* entry = m_recent->addAction(captions.at(i));
        entry->setObjectName(QStringLiteral("mnuZuletzt_%1").arg(i + 1));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { guarded(u"Zuletzt geöffnet"_qs, [this, &path] { openRecentDeck(path); }); });
    }
    m_recent->menuAction()->setEnabled(!paths.isEmpty());
    Q_EMIT recentDecksChanged(paths, captions);
}

void DeckFiles::rememberDeckFile(const QString& path) {
    auto settings = core::openSettings(kRecentSection);
    auto list = deckio::RecentDecks::fromSettings(*settings);
    list.add(path);
    list.toSettings(*settings);
    refreshRecentMenu();
}

void DeckFiles::openRecentDeck(const QString& path) {
    if (QFileInfo(path).isFile()) {
        funcLoadFile(path);
        return;
    }
    auto settings = core::openSettings(kRecentSection);
    auto list = deckio::RecentDecks::fromSettings(*settings);
    list.remove(path);
    list.toSettings(*settings);
    refreshRecentMenu();
    core::prompter().message(QStringLiteral("Die Deck-Datei wurde nicht gefunden und aus der Liste entfernt:\r\n") + path,
                             QStringLiteral("Dravenna-Deck laden"), core::Icon::Exclamation, core::Buttons::Ok);
}

} // namespace ui
