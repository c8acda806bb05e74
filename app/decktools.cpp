// The deck tools behind the specified menu entries: import from text, comparison, opening hand, print and PDF.
#include "app/decktools.h"

#include "app/deckfiles.h"
#include "app/frmstarthand.h"
#include "app/frmvergleich.h"
#include "app/guarded.h"
#include "app/menuentry.h"
#include "cardview/decksheets.h"
#include "cardview/frmdruckoptionen.h"
#include "cardview/picturelibrary.h"
#include "core/named.h"
#include "core/textfile.h"
#include "db/database.h"
#include "deck/deckcomparison.h"
#include "deck/deckhistory.h"
#include "deck/decksession.h"
#include "deckio/deckfile.h"
#include "deckio/frmtextimport.h"

#include <QFileInfo>
#include <QMenu>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

namespace ui {

namespace {
const QString kImportTitle = QStringLiteral("Deck aus Text importieren");
const QString kCompareTitle = QStringLiteral("Deck vergleichen");
const QString kPrintTitle = QStringLiteral("Deck drucken");
const QString kPdfTitle = QStringLiteral("Deck als PDF speichern");

} // namespace

DeckTools::DeckTools(QWidget* window, deck::DeckSession& deck, deck::DeckHistory& history, QString databasePath,
                     DeckFiles& files, std::function<void(const QString& name)> showCard)
    : QObject(window), m_window(window), m_deck(deck), m_history(history), m_databasePath(std::move(databasePath)),
      m_files(files), m_showCard(std::move(showCard)) {}

DeckTools::~DeckTools() = default;

void DeckTools::addDeckEntries(QMenu* deckMenu) {
    deckMenu->addSeparator()->setObjectName(QStringLiteral("mnuSepWerkzeuge"));
    connect(addEntry(deckMenu, QStringLiteral("Aus Text importieren…"), "mnuTextImport"), &QAction::triggered, this,
            [this] { guarded(kImportTitle, [this] { importText(); }); });
    // A deck file from the dialog, or one of the recent decks.
    m_compareMenu = named(deckMenu->addMenu(QStringLiteral("Vergleichen mit…")), "mnuVergleichenMit");
    m_compareMenu->menuAction()->setObjectName(QStringLiteral("mnuVergleichen"));
    m_compareMenu->setToolTipsVisible(true);
    listCompareChoices({}, {});
    connect(addEntry(deckMenu, QStringLiteral("Starthand…"), "mnuStarthand"), &QAction::triggered, this,
            [this] { guarded(u"Starthand"_qs, [this] { showStarthand(); }); });
}

void DeckTools::addFileEntries(QMenu* datei, QAction* exitEntry) {
    auto* print = named(new QAction(QStringLiteral("Drucken…"), datei), "mnuDrucken");
    auto* pdf = named(new QAction(QStringLiteral("Als PDF speichern…"), datei), "mnuAlsPdf");
    datei->insertActions(exitEntry, {print, pdf});
    datei->insertSeparator(exitEntry)->setObjectName(QStringLiteral("mnuSepDrucken"));
    connect(print, &QAction::triggered, this, [this] { guarded(kPrintTitle, [this] { this->print(); }); });
    connect(pdf, &QAction::triggered, this, [this] { guarded(kPdfTitle, [this] { savePdf(); }); });
}

cardview::PictureLibrary& DeckTools::pictures() {
    if (!m_pictures)
        m_pictures = std::make_unique<cardview::PictureLibrary>();
    return *m_pictures;
}

void DeckTools::importText() {
    deckio::frmTextImport window(m_window, m_databasePath);
    if (window.exec() != QDialog::Accepted)
        return;
    const deckio::ImportedDeck imported = window.deck();
    try {
        if (!m_files.mayDiscardDeck(kImportTitle))
            return;
        m_history.run(QStringLiteral("Aus Text importieren"), deck::DeckHistory::Scope::Deck, [&] {
            m_deck.replaceWith({imported.leaderNumber, imported.inquisitorNumber, imported.cardNumbers, 2});
        });
    } catch (const db::DbError& e) {
        showError(kImportTitle, e);
    }
}

void DeckTools::listCompareChoices(const QStringList& paths, const QStringList& captions) {
    if (!m_compareMenu)
        return;
    m_compareMenu->clear();
    connect(addEntry(m_compareMenu, QStringLiteral("Deck-Datei…"), "mnuVergleichenDatei"), &QAction::triggered, this,
            [this] { guarded(kCompareTitle, [this] { compareWithChosenFile(); }); });
    if (paths.isEmpty())
        return;
    m_compareMenu->addSeparator();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QAction* entry = m_compareMenu->addAction(captions.at(i));
        entry->setObjectName(QStringLiteral("mnuVergleichen_%1").arg(i + 1));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { guarded(kCompareTitle, [this, &path] { compareWithFile(path); }); });
    }
}

void DeckTools::compareWithChosenFile() {
    const QString path = m_files.funcFileDialog(QStringLiteral("Open"), QStringLiteral("Deck vergleichen mit"), QStringLiteral("drd"),
                                            QStringLiteral("Dravenna-Decks"),
                                            core::dialogflags::PathMustExist | core::dialogflags::FileMustExist);
    if (!path.isEmpty())
        compareWithFile(path);
}

void DeckTools::compareWithFile(const QString& path) {
    try {
        deck::DeckNumbers here;
        try {
            const deck::DeckContent mine = m_deck.content();
            here = {mine.leaderNumber, mine.inquisitorNumber, mine.cardNumbers};
        } catch (const db::DbError&) {
            // No leader chosen yet: the cards alone.
            here.cardNumbers = m_deck.cardNumbers();
        }
        const deckio::DeckFileContent other = deckio::parseDeckFile(core::readWholeFile(path, deckio::kMaxDeckFileBytes));
        const deck::DeckComparison comparison =
            deck::compareDecks(m_databasePath, here, {other.leaderNumber, other.inquisitorNumber, other.cardNumbers});
        auto* window = new frmVergleich(m_window, comparison, QFileInfo(path).fileName());
        window->setAttribute(Qt::WA_DeleteOnClose);
        connect(window, &frmVergleich::cardChosen, this, [this](const QString& name) { m_showCard(name); });
        window->show();
    } catch (const db::DbError& e) {
        showError(kCompareTitle, e);
    }
}

void DeckTools::showStarthand() {
    if (!m_starthand) {
        m_starthand = new frmStarthand(m_window, m_databasePath, &pictures());
        // The odds follow the deck while the window is open, read again once a turn however many
        // changes a step made.
        connect(&m_deck, &deck::DeckSession::changed, m_starthand, [this](const deck::DeckChange& change) {
            if (!change.rows || !m_starthand->isVisible() || m_starthandDue)
                return;
            m_starthandDue = true;
            QTimer::singleShot(0, m_starthand, [this] {
                m_starthandDue = false;
                guarded(u"Starthand"_qs, [this] { m_starthand->reloadDeck(); });
            });
        });
    } else {
        m_starthand->reloadDeck();
    }
    m_starthand->show();
    m_starthand->raise();
    m_starthand->activateWindow();
}

cardview::SheetContent DeckTools::sheetContent() {
    auto conn = db::Database::OpenDatabase(m_databasePath);
    return cardview::sheetContent(*conn, m_deck.leaderEntry(), m_deck.inquisitorEntry(), pictures());
}

std::optional<cardview::SheetOptions> DeckTools::askSheetOptions(const QString& title) {
    if (m_files.funcDeckIncomplete())
        return std::nullopt;
    cardview::frmDruckoptionen window(m_window, title);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    window.store();
    return window.options();
}

void DeckTools::print() {
    try {
        const auto options = askSheetOptions(kPrintTitle);
        if (!options)
            return;
        const cardview::SheetContent content = sheetContent();
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        printer.setDocName(QStringLiteral("Dravenna-Deck"));
        QPrintPreviewDialog preview(&printer, m_window);
        preview.setObjectName(QStringLiteral("frmDruckvorschau"));
        preview.setWindowTitle(QStringLiteral("Druckvorschau"));
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [&](QPrinter* target) { cardview::paintSheets(*target, content, *options); });
        preview.exec();
    } catch (const db::DbError& e) {
        showError(kPrintTitle, e);
    }
}

void DeckTools::savePdf() {
    guarded(kPdfTitle, [this] {
        const auto options = askSheetOptions(kPdfTitle);
        if (options)
            m_files.saveChosenFile(kPdfTitle, QStringLiteral("pdf"), QStringLiteral("PDF-Dokument"),
                                   [&] { return cardview::sheetsPdf(sheetContent(), *options); },
                                   QStringLiteral("Das Dravenna-Deck wurde als PDF gespeichert unter"),
                                   QStringLiteral("PDF erfolgreich gespeichert"));
    });
}

} // namespace ui
