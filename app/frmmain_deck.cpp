// The main window's deck editing: grids, leader and inquisitor, the evaluation.
#include "db/database.h"
#include "db/queries.h"
#include "app/statisticswindow.h"
#include "deck/deckevaluation.h"
#include "deck/deckmarking.h"
#include "deck/entrynames.h"
#include "deck/sortorder.h"
#include "db/flexgrid.h"
#include "deck/deckhistory.h"
#include "deck/decksession.h"
#include "app/frmmain.h"
#include "app/deckfiles.h"
#include "filter/quickfilter.h"
#include "filter/valuelists.h"
#include "db/dberror.h"

#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace ui {

namespace {
const QString kAddTitle = QStringLiteral("Karte hinzufügen");
}

// ---- re-querying --------------------------------------------------------------------------------

void frmMain::requeryPool(const QString& typedName) {
    filter::setNameFilteredSource(dtaPool, SQLPOOL, WHERE, ORDER, typedName);
    dtaPool.Refresh();
    DeckAbgleichen();
}

void frmMain::requeryPoolAndDeck() {
    requeryPool({});
    dtaDeck.RecordSource = SQLDECK + ORDER;
    dtaDeck.Refresh();
    scheduleIdleWork();
}

void frmMain::poolRefreshWithCount() {
    poolRefreshWithCount({});
    scheduleIdleWork();
}

void frmMain::scheduleIdleWork() {
    if (!m_idleWork) {
        m_idleWork = new QTimer(this);
        m_idleWork->setSingleShot(true);
        connect(m_idleWork, &QTimer::timeout, this, &frmMain::idleWork);
        m_quietWork = new QTimer(this);
        m_quietWork->setSingleShot(true);
        connect(m_quietWork, &QTimer::timeout, this, [this] {
            if (waitForModal(m_quietWork))
                return;
            try {
                if (m_filterLists && m_filterLists->stale())
                    m_filterLists->lists();
            } catch (const db::DbError&) {
                // Opening the dialog reads them again and reports what fails.
            }
        });
    }
    m_idleWork->start(0);
    m_quietWork->start(500);
}

bool frmMain::waitForModal(QTimer* work) {
    // A dialog's or a long query's own event loop runs these timers too; the database waits for that one.
    if (!QApplication::activeModalWidget())
        return false;
    work->start(250);
    return true;
}

void frmMain::idleWork() {
    if (waitForModal(m_idleWork))
        return;
    // The names the next letter in the name box narrows; only the filter and the order decide them.
    if (const auto narrowing = filter::nameNarrowing(SQLPOOL, WHERE, ORDER, QStringLiteral("x")))
        dtaPool.rememberBase(*narrowing);
    // And the deck's numbers the pool's greying after it consults, with the connection that reads them.
    try {
        deckNumbers().current();
    } catch (const db::DbError&) {
        // The keystroke that needs them reads them again and reports what fails.
    }
}

deck::InDeckNumbers& frmMain::deckNumbers() {
    if (!m_deckNumbers)
        m_deckNumbers = std::make_unique<deck::InDeckNumbers>(sDatabasePath);
    return *m_deckNumbers;
}

void frmMain::poolRefreshWithCount(const QString& typedName) {
    requeryPool(typedName);
    showPoolCount();
}

void frmMain::showPoolCount() { lblAnzPool->setText(deck::countText(flxPool->Rows() - 1)); }

int frmMain::DeckAbgleichen() {
    // The pool consults the deck's numbers for the rows it shows instead of reading every row.
    dtaPool.model().markRows(7, deckNumbers().current(), deck::kInDeckGrey);
    // The player stays on the row they were on while it is in view, else on the row shown at the top, so
    // that the card window shows that card and the arrow keys move from there.
    const int top = flxPool->TopRow();
    const int shown = flxPool->wholeRowsShown();
    const int current = flxPool->Row();
    if (top > 0 && (current < top || current > top + shown))
        flxPool->setRow(top, FlexGrid::Scroll::Keep);
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

// ---- what the deck reports ------------------------------------------------------------------------

void frmMain::paintDeck(const deck::DeckChange& change) {
    const deck::DeckChoice choice = m_deck->choice();
    if (change.leader || change.inquisitor) {
        // The lists' own handlers would make a step of it.
        const QSignalBlocker leaderBlocker(cmbLeader);
        const QSignalBlocker inquisitorBlocker(cmbInquisitor);
        cmbLeader->setCurrentIndex(choice.leader);
        cmbInquisitor->setCurrentIndex(choice.inquisitor);
    }
    if (change.rows) {
        if (change.wholeDeck) {
            dtaDeck.Refresh();
            DeckAbgleichen();
        } else {
            for (const QString& number : change.removed)
                funcUnmarkPoolCard(number);
            for (const QString& number : change.added) {
                if (const int r = poolRowOfNumber(number); r > 0) {
                    flxPool->setRow(r);
                    funcMarkPoolRow();
                }
            }
            funcRefreshKeepTop(dtaDeck, flxDeck);
        }
    }
    CalculateDeck();
    if (change.rows)
        scheduleIdleWork();
    // No evaluation had run yet when the program started.
    if (change.toStart)
        tvwNotes->clear();
    if (change.leader && choice.leader >= 0)
        showCard(deck::leaderName(cmbLeader->currentText()), QStringLiteral("ANFUEHRER"));
    else if (change.inquisitor && choice.inquisitor >= 0)
        showCard(deck::inquisitorName(cmbInquisitor->currentText()), QStringLiteral("INQUISITOR"));
}

// ---- adding and removing cards --------------------------------------------------------------------

void frmMain::addCard() {
    if (m_deck->choice().leader < 0) {
        core::prompter().message(QStringLiteral("Ein Deck kann nur erstellt werden, wenn auch ein Anführer ausgewählt wurde."),
                                 QStringLiteral("Kein Anführer ausgewählt"), core::Icon::Information, core::Buttons::Ok);
        return;
    }
    const int row = flxPool->Row();
    if (row < 1)
        return;
    const QString name = flxPool->TextMatrix(row, 1);
    if (m_deck->holdsCard(name)) {
        core::prompter().message(QStringLiteral("Die Karte ist bereits dem Deck hinzugefügt worden!\r\n\r\n"
                                                "Hinweis: Jede Karte darf nur EINMAL in einem Deck vorkommen."),
                                 kAddTitle, core::Icon::Information, core::Buttons::Ok);
        return;
    }
    m_history->run(kAddTitle, deck::DeckHistory::Scope::Card, [&] { m_deck->addCard(name); }, name);
    if (row != flxPool->Rows() - 1)
        flxPool->setRow(row + 1);
}

void frmMain::onDeckMouseReleased(Qt::MouseButton button, int row, QPoint globalPos) {
    if (button != Qt::RightButton || row < 1 || flxDeck->Rows() < 2 || flxDeck->TextMatrix(1, 0).isEmpty())
        return;
    flxDeck->setRow(row);
    mnuDeck->popup(globalPos);
}

void frmMain::funcDeleteCard(int row) {
    const QString name = flxDeck->TextMatrix(flxDeck->Row(), 1);
    m_history->run(QStringLiteral("Karte entfernen"), deck::DeckHistory::Scope::Card, [&] { m_deck->removeCard(name); }, name);
    if (flxDeck->Rows() > 1)
        flxDeck->setRow(row == flxDeck->Rows() ? row - 1 : row);
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

void frmMain::onLeaderChosen(int index) {
    m_history->run(QStringLiteral("Anführer wählen"), deck::DeckHistory::Scope::Choice, [&] { m_deck->chooseLeader(index); });
}

void frmMain::onInquisitorChosen(int index) {
    m_history->run(QStringLiteral("Inquisitor wählen"), deck::DeckHistory::Scope::Choice,
                   [&] { m_deck->chooseInquisitor(index); });
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
    if (m_deck->choice().leader < 0)
        return;
    const QString title = QStringLiteral("Standard-Deck");
    if (!m_files->mayDiscardDeck(title))
        return;
    m_history->run(title, deck::DeckHistory::Scope::Deck, [this] { m_deck->fillStandard(); });
}

void frmMain::funcNewDeck() {
    const QString title = QStringLiteral("Neues Deck");
    if (m_deck->hasCards() &&
        core::prompter().message(QStringLiteral("Soll das aktuelle Deck verworfen werden und ein Neues begonnen werden?"), title,
                                 core::Icon::Question, core::Buttons::YesNo) == core::Answer::No)
        return;
    m_history->run(title, deck::DeckHistory::Scope::Deck, [this] { m_deck->clear(); });
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
        // Black notes are written in the desktop's text colour, so that a dark desktop shows them too.
        if (node.red)
            item->setForeground(0, QColor(255, 0, 0));
        byKey.insert(node.key, item);
    }
    if (statisticsShown())
        m_frmStatistik->showFigures(m_figures);
}

} // namespace ui
