// The main window's "Drucken…" and "Als PDF speichern…": the deck list and the card pictures on paper.
#include "app/frmmain.h"
#include "app/guarded.h"
#include "cardview/decksheets.h"
#include "cardview/frmdruckoptionen.h"
#include "cardview/picturelibrary.h"
#include "core/named.h"
#include "core/textfile.h"
#include "db/database.h"
#include "deck/decksession.h"

#include <QComboBox>
#include <algorithm>
#include <QMenu>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace ui {

namespace {
const QString kPrintTitle = QStringLiteral("Deck drucken");
const QString kPdfTitle = QStringLiteral("Deck als PDF speichern");
} // namespace

void frmMain::addPrintEntries(QMenu* datei) {
    // Behind the specified entries, just above "Beenden", which stays last.
    const QList<QAction*> entries = datei->actions();
    const auto found = std::find_if(entries.cbegin(), entries.cend(),
                                    [](const QAction* a) { return a->objectName() == u"mnuBeenden"; });
    QAction* exit = found == entries.cend() ? nullptr : *found;
    auto* print = named(new QAction(QStringLiteral("Drucken…"), datei), "mnuDrucken");
    auto* pdf = named(new QAction(QStringLiteral("Als PDF speichern…"), datei), "mnuAlsPdf");
    datei->insertActions(exit, {print, pdf});
    datei->insertSeparator(exit)->setObjectName(QStringLiteral("mnuSepDrucken"));
    connect(print, &QAction::triggered, this, [this] { guarded(kPrintTitle, [this] { funcPrint(); }); });
    connect(pdf, &QAction::triggered, this, [this] { guarded(kPdfTitle, [this] { funcSavePdf(); }); });
}

std::optional<cardview::SheetOptions> frmMain::askSheetOptions(const QString& title) {
    if (funcDeckIncomplete())
        return std::nullopt;
    cardview::frmDruckoptionen window(this, title);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    window.store();
    return window.options();
}

void frmMain::funcPrint() {
    try {
        const auto options = askSheetOptions(kPrintTitle);
        if (!options)
            return;
        auto conn = db::Database::OpenDatabase(sDatabasePath);
        const cardview::SheetContent content =
            cardview::sheetContent(*conn, m_deck->leaderEntry(), m_deck->inquisitorEntry(), pictures());
        conn->Close();
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        printer.setDocName(QStringLiteral("Dravenna-Deck"));
        QPrintPreviewDialog preview(&printer, this);
        preview.setObjectName(QStringLiteral("frmDruckvorschau"));
        preview.setWindowTitle(QStringLiteral("Druckvorschau"));
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [&](QPrinter* target) { cardview::paintSheets(*target, content, *options); });
        preview.exec();
    } catch (const db::DbError& e) {
        showError(kPrintTitle, e);
    }
}

void frmMain::funcSavePdf() {
    try {
        const auto options = askSheetOptions(kPdfTitle);
        if (!options)
            return;
        const QString path = funcFileDialog(QStringLiteral("Save"), kPdfTitle, QStringLiteral("pdf"), QStringLiteral("PDF-Dokument"),
                                            core::dialogflags::OverwritePrompt | core::dialogflags::PathMustExist |
                                                core::dialogflags::NoReadOnlyReturn);
        if (path.isEmpty())
            return;
        auto conn = db::Database::OpenDatabase(sDatabasePath);
        const cardview::SheetContent content =
            cardview::sheetContent(*conn, m_deck->leaderEntry(), m_deck->inquisitorEntry(), pictures());
        conn->Close();
        // Written whole or not at all: a failed save leaves an existing file as it was.
        if (const QString why = core::writeFileAtomically(path, cardview::sheetsPdf(content, *options)); !why.isEmpty())
            core::throwFileError(path, why);
        showInfo(QStringLiteral("Das Dravenna-Deck wurde als PDF gespeichert unter:\r\n") + path,
                 QStringLiteral("PDF erfolgreich gespeichert"));
    } catch (const db::DbError& e) {
        showError(kPdfTitle, e);
    }
}

} // namespace ui
