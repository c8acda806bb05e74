// The main window's deck editing: grids, leader and inquisitor, the evaluation.
#include "db/database.h"
#include "db/queries.h"
#include "app/frmstatistik.h"
#include "deck/deckevaluation.h"
#include "deck/deckmarking.h"
#include "deck/entrynames.h"
#include "deck/sortorder.h"
#include "db/flexgrid.h"
#include "app/deckrecorder.h"
#include "app/frmmain.h"
#include "filter/quickfilter.h"

#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

namespace ui {

namespace {
const QString kAddTitle = QStringLiteral("Karte hinzufügen");
}

// ---- re-querying --------------------------------------------------------------------------------

void frmMain::requeryPool(const QString& filter) {
    dtaPool.RecordSource = SQLPOOL + filter + ORDER;
    dtaPool.Refresh();
    DeckAbgleichen();
}

void frmMain::requeryPoolAndDeck() {
    requeryPool(WHERE);
    dtaDeck.RecordSource = SQLDECK + ORDER;
    dtaDeck.Refresh();
}

void frmMain::poolRefreshWithCount() { poolRefreshWithCount(WHERE); }

void frmMain::poolRefreshWithCount(const QString& filter) {
    requeryPool(filter);
    showPoolCount();
}

void frmMain::showPoolCount() { lblAnzPool->setText(deck::countText(flxPool->Rows() - 1)); }

int frmMain::DeckAbgleichen() {
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    flxPool->setRedraw(false);
    // The pool consults the deck's numbers for the rows it shows instead of reading every row.
    dtaPool.model().markRows(7, deck::deckNumbers(*conn), deck::kInDeckGrey);
    // The pass ends on the last pool row, but the player keeps looking where they were.
    flxPool->setRow(flxPool->Rows() - 1, FlexGrid::Scroll::Keep);
    flxPool->setRedraw(true);
    return 0;
}

// ---- header clicks ------------------------------------------------------------------------------

void frmMain::onPoolHeader(Qt::MouseButton button, int column, QPoint globalPos) {
    bPoolRightButton = button == Qt::RightButton;
    showCard(flxPool->TextMatrix(flxPool->Row(), 1), {});
    if (bPoolRightButton) {
        if (column == 0)
            funcQuickFilterMenu(QStringLiteral("SELECT NAME FROM FRAKTIONEN ORDER BY NAME"), QStringLiteral("FRAKTION"), globalPos);
        else if (column == 2)
            funcQuickFilterMenu(QStringLiteral("SELECT NAME FROM KARTENART ORDER BY NAME"), QStringLiteral("KARTENART"), globalPos);
        else if (column == 4)
            funcQuickFilterMenu(QStringLiteral("SELECT DISTINCT MONDE FROM KARTEN ORDER BY MONDE"), QStringLiteral("MONDE"),
                                globalPos);
        return;
    }
    if (button != Qt::LeftButton)
        return;
    ORDER = deck::nextOrder(column, ORDER);
    requeryPoolAndDeck();
}

void frmMain::funcQuickFilterMenu(const QString& sql, const QString& column, QPoint globalPos) {
    mnuQuickFilter->setTitle(column);
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    auto rs = conn->OpenRecordset(sql);
    for (QAction* entry : std::as_const(mnuQFilter)) {
        if (rs.Eof()) {
            entry->setText(QString());
            entry->setVisible(false);
        } else {
            entry->setText(db::cellText(rs.Fields(0)));
            entry->setVisible(true);
            rs.MoveNext();
        }
    }
    mnuQuickFilter->popup(globalPos);
}

void frmMain::onQuickFilterValue(int index) {
    WHERE = filter::valueFilter(mnuQuickFilter->title(), mnuQFilter[index]->text());
    poolRefreshWithCount();
}

// ---- adding and removing cards --------------------------------------------------------------------

void frmMain::addCard() {
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    if (cmbLeader->currentText().isEmpty()) {
        core::prompter().message(QStringLiteral("Ein Deck kann nur erstellt werden, wenn auch ein Anführer ausgewählt wurde."),
                                 QStringLiteral("Kein Anführer ausgewählt"), core::Icon::Information, core::Buttons::Ok);
        return;
    }
    const int row = flxPool->Row();
    if (row < 1)
        return;
    const QString name = db::quoted(flxPool->TextMatrix(row, 1));
    if (conn->OpenRecordset(QStringLiteral("SELECT * FROM DECK ") + QStringLiteral("WHERE NAME = '") + name +
                            QStringLiteral("' "))
            .RecordCount() > 0) {
        core::prompter().message(QStringLiteral("Die Karte ist bereits dem Deck hinzugefügt worden!\r\n\r\n"
                                                "Hinweis: Jede Karte darf nur EINMAL in einem Deck vorkommen."),
                                 kAddTitle, core::Icon::Information, core::Buttons::Ok);
        return;
    }
    const DeckRecorder step(*this, QStringLiteral("Karte hinzufügen"), DeckRecorder::Scope::Card, flxPool->TextMatrix(row, 1));
    conn->Execute(QStringLiteral("INSERT INTO DECK ") + QStringLiteral("SELECT * FROM KARTEN ") +
                  QStringLiteral("WHERE KARTEN.NAME = '") + name + QStringLiteral("' "));
    conn->Close();
    funcMarkPoolRow();
    funcRefreshKeepTop(dtaDeck, flxDeck);
    if (row != flxPool->Rows() - 1)
        flxPool->setRow(row + 1);
    CalculateDeck();
}

void frmMain::onDeckMouseReleased(Qt::MouseButton button, int row, QPoint globalPos) {
    if (button != Qt::RightButton || row < 1 || flxDeck->Rows() < 2 || flxDeck->TextMatrix(1, 0).isEmpty())
        return;
    flxDeck->setRow(row);
    mnuDeck->popup(globalPos);
}

void frmMain::funcDeleteCard(int row) {
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    const QString name = db::quoted(flxDeck->TextMatrix(flxDeck->Row(), 1));
    // Read before the row leaves the table: the grid reads its rows from there.
    const QString number = flxDeck->TextMatrix(flxDeck->Row(), 7);
    const DeckRecorder step(*this, QStringLiteral("Karte entfernen"), DeckRecorder::Scope::Card,
                            flxDeck->TextMatrix(flxDeck->Row(), 1));
    conn->Execute(QStringLiteral("DELETE * FROM DECK ") + QStringLiteral("WHERE NAME = '") + name + QStringLiteral("' "));
    funcUnmarkPoolCard(number);
    funcRefreshKeepTop(dtaDeck, flxDeck);
    if (flxDeck->Rows() > 1)
        flxDeck->setRow(row == flxDeck->Rows() ? row - 1 : row);
    CalculateDeck();
}

void frmMain::funcMarkPoolRow() {
    if (flxPool->Row() > 0)
        dtaPool.model().setRowColor(flxPool->Row() - 1, deck::kJustAddedGrey);
}

int frmMain::poolRowOfNumber(const QString& number) {
    const db::GridModel& model = dtaPool.model();
    if (!model.rowsOnDemand())
        return model.findRow(7, number) + 1;
    // The catalogue's index finds the card and the pool's rowids where it stands: reading every pool
    // row to compare numbers would cost a query per row of a large pool.
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    const db::Recordset rs = conn->runBound(
        QStringLiteral("SELECT rowid FROM \"KARTEN\" WHERE \"NUMMER\" = ?1 AND \"NUMMER\" = ?1 COLLATE BINARY"), {number});
    std::vector<qint64> rowids;
    for (const auto& row : rs.rows())
        rowids.push_back(row.front().toLongLong());
    return model.findRowid(rowids) + 1;
}

void frmMain::funcUnmarkPoolCard(const QString& number) {
    const int r = poolRowOfNumber(number);
    if (r > 0) {
        flxPool->setRow(r);
        dtaPool.model().setRowColor(r - 1, deck::kBlack);
    }
}

void frmMain::funcRefreshKeepTop(db::DataControl& source, FlexGrid* grid) {
    const int top = grid->TopRow();
    source.Refresh();
    if (top > 0 && top < grid->Rows())
        grid->setTopRow(top);
}

// ---- leader and inquisitor ----------------------------------------------------------------------------

void frmMain::onLeaderChosen() {
    const DeckRecorder step(*this, QStringLiteral("Anführer wählen"), DeckRecorder::Scope::Choice);
    CalculateDeck();
    if (cmbInquisitor->currentText().isEmpty())
        cmbInquisitor->setCurrentIndex(cmbInquisitor->findText(deck::kNoInquisitor));
    showCard(deck::leaderName(cmbLeader->currentText()), QStringLiteral("ANFUEHRER"));
}

void frmMain::onInquisitorChosen() {
    const DeckRecorder step(*this, QStringLiteral("Inquisitor wählen"), DeckRecorder::Scope::Choice);
    CalculateDeck();
    showCard(deck::inquisitorName(cmbInquisitor->currentText()), QStringLiteral("INQUISITOR"));
}

void frmMain::onShowLeader() {
    if (!cmbLeader->currentText().isEmpty())
        showCard(deck::leaderName(cmbLeader->currentText()), QStringLiteral("ANFUEHRER"));
}

void frmMain::onShowInquisitor() {
    if (!cmbLeader->currentText().isEmpty())
        showCard(deck::inquisitorName(cmbInquisitor->currentText()), QStringLiteral("INQUISITOR"));
}

void frmMain::onStandardDeck() {
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    if (cmbLeader->currentText().isEmpty())
        return;
    const DeckRecorder step(*this, QStringLiteral("Standard-Deck"), DeckRecorder::Scope::Deck);
    if (!discardDeck(*conn, QStringLiteral("Standard-Deck")))
        return;
    const QString name = db::quoted(deck::leaderName(cmbLeader->currentText()));
    auto rs = conn->OpenRecordset(QStringLiteral("SELECT FRAKTION FROM ANFUEHRER ") + QStringLiteral("WHERE NAME = '") + name +
                                  QStringLiteral("' "));
    if (rs.RecordCount() == 0)
        return;
    const QString faction = rs.Fields(0).toString();
    conn->Execute(QStringLiteral("DELETE * FROM DECK"));
    conn->Execute(QStringLiteral("INSERT INTO DECK ") + QStringLiteral("SELECT * FROM KARTEN ") +
                  QStringLiteral("WHERE KARTEN.SET = '") + db::quoted(faction.left(1)) + QStringLiteral("' "));
    deckReplaced();
}

void frmMain::funcNewDeck() {
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    const DeckRecorder step(*this, QStringLiteral("Neues Deck"), DeckRecorder::Scope::Deck);
    if (deckHasCards(*conn) &&
        core::prompter().message(QStringLiteral("Soll das aktuelle Deck verworfen werden und ein Neues begonnen werden?"),
                                 QStringLiteral("Neues Deck"), core::Icon::Question,
                                 core::Buttons::YesNo) == core::Answer::No)
        return;
    conn->Execute(QStringLiteral("DELETE * FROM DECK"));
    deckReplaced();
}

void frmMain::deckReplaced() {
    dtaDeck.Refresh();
    DeckAbgleichen();
    CalculateDeck();
}

// ---- evaluation -----------------------------------------------------------------------------------------

void frmMain::CalculateDeck() {
    auto conn = db::Database::OpenDatabase(sDatabasePath);
    // One reading for the notes and, while it is open, the statistics window.
    m_figures = deck::deckFigures(*conn, cmbLeader->currentText(), cmbInquisitor->currentText(), flxDeck->Rows() - 1,
                                  statisticsShown());
    const deck::DeckEvaluation result = deck::evaluationOf(m_figures, flxPool->Rows() - 1);
    lblAnzDeck->setText(result.deckCountText);
    lblAnzPool->setText(result.poolCountText);
    tvwNotes->clear();
    QHash<QString, QTreeWidgetItem*> byKey;
    for (const deck::NoteNode& node : result.nodes) {
        QTreeWidgetItem* parent = node.parentKey.isEmpty() ? nullptr : byKey.value(node.parentKey);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwNotes);
        item->setText(0, node.text);
        item->setData(0, Qt::UserRole, node.key);
        item->setForeground(0, node.red ? QColor(255, 0, 0) : QColor(0, 0, 0));
        byKey.insert(node.key, item);
    }
    if (statisticsShown())
        m_frmStatistik->showFigures(m_figures);
    Q_EMIT deckCalculated();
}

} // namespace ui
