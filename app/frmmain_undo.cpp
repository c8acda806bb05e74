// The main window's undo and redo of deck steps.
#include "app/deckrecorder.h"
#include "app/guarded.h"
#include "db/database.h"
#include "db/flexgrid.h"
#include "deck/deckmarking.h"
#include "deck/entrynames.h"

#include <QComboBox>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QUndoStack>

namespace ui {

namespace {

const QString kUndo = QStringLiteral("Rückgängig");
const QString kRedo = QStringLiteral("Wiederholen");

} // namespace

// One deck step on the undo stack. It is pushed after the player's action has already changed the
// deck, so the stack's first redo on push has nothing to do; the same holds when a failed undo or
// redo moves the stack back to where it was.
class DeckCommand : public QUndoCommand {
public:
    DeckCommand(frmMain& window, deck::DeckStep step, bool cardsOnly, const QString& text)
        : QUndoCommand(text), m_window(window), m_step(std::move(step)), m_cardsOnly(cardsOnly) {}

    void undo() override { run(true); }
    void redo() override { run(false); }

    bool skipOnce = true;
    bool failed = false;

private:
    void run(bool back) {
        failed = false;
        if (skipOnce) {
            skipOnce = false;
            return;
        }
        failed = !m_window.applyDeckStep(m_step, back, m_cardsOnly, back && m_window.m_undoStack->index() == 1);
    }

    frmMain& m_window;
    deck::DeckStep m_step;
    bool m_cardsOnly;
};

// ---- recording ------------------------------------------------------------------------------------

frmMain::DeckRecorder::DeckRecorder(frmMain& window, const QString& text, Scope scope, const QString& cardName)
    : m_window(window), m_text(text), m_scope(scope), m_cardName(cardName) {
    if (!m_window.m_undoStack || m_window.m_recording || m_window.m_replaying)
        return;
    m_before = read();
    m_active = true;
    m_window.m_recording = this;
}

frmMain::DeckRecorder::~DeckRecorder() {
    if (!m_active)
        return;
    m_window.m_recording = nullptr;
    const deck::DeckChoice before{m_window.m_leaderChosen, m_window.m_inquisitorChosen};
    const deck::DeckChoice after{m_window.cmbLeader->currentIndex(), m_window.cmbInquisitor->currentIndex()};
    m_window.m_leaderChosen = after.leader;
    m_window.m_inquisitorChosen = after.inquisitor;
    try {
        deck::DeckStep step(m_before, read(), before, after);
        if (!step.isEmpty())
            m_window.m_undoStack->push(new DeckCommand(m_window, std::move(step), m_scope == Scope::Card, m_text));
    } catch (const db::DbError& e) {
        // Without the deck as the step left it, no earlier step can be taken back safely either.
        qWarning("Deck-Schritt nicht aufgezeichnet: %s", qPrintable(e.description()));
        m_window.m_undoStack->clear();
    }
}

deck::DeckRows frmMain::DeckRecorder::read() const {
    if (m_scope == Scope::Choice)
        return {};
    auto conn = db::Database::OpenDatabase(m_window.sDatabasePath);
    return m_scope == Scope::Card ? deck::readDeckNamed(*conn, m_cardName) : deck::readDeck(*conn);
}

// ---- menu -------------------------------------------------------------------------------------------

void frmMain::addUndoEntries(QMenu* menu) {
    m_undoStack = new QUndoStack(this);
    menu->addSeparator()->setObjectName(QStringLiteral("mnuSepUndo"));
    mnuRueckgaengig = addEntry(menu, kUndo, "mnuRueckgaengig");
    mnuRueckgaengig->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuWiederholen = addEntry(menu, kRedo, "mnuWiederholen");
    mnuWiederholen->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(mnuRueckgaengig, &QAction::triggered, this, &frmMain::undoDeckStep);
    connect(mnuWiederholen, &QAction::triggered, this, &frmMain::redoDeckStep);
    connect(m_undoStack, &QUndoStack::indexChanged, this, &frmMain::updateUndoEntries);
    updateUndoEntries();
}

void frmMain::updateUndoEntries() {
    const bool canUndo = m_undoStack->canUndo();
    const bool canRedo = m_undoStack->canRedo();
    mnuRueckgaengig->setEnabled(canUndo);
    mnuRueckgaengig->setText(canUndo ? kUndo + QStringLiteral(": ") + m_undoStack->undoText() : kUndo);
    mnuWiederholen->setEnabled(canRedo);
    mnuWiederholen->setText(canRedo ? kRedo + QStringLiteral(": ") + m_undoStack->redoText() : kRedo);
}

void frmMain::undoDeckStep() {
    if (!m_undoStack->canUndo() || m_recording)
        return;
    auto* command = static_cast<DeckCommand*>(const_cast<QUndoCommand*>(m_undoStack->command(m_undoStack->index() - 1)));
    m_undoStack->undo();
    if (command->failed) {
        command->skipOnce = true;
        m_undoStack->redo();
    }
}

void frmMain::redoDeckStep() {
    if (!m_undoStack->canRedo() || m_recording)
        return;
    auto* command = static_cast<DeckCommand*>(const_cast<QUndoCommand*>(m_undoStack->command(m_undoStack->index())));
    m_undoStack->redo();
    if (command->failed) {
        command->skipOnce = true;
        m_undoStack->undo();
    }
}

// ---- replaying --------------------------------------------------------------------------------------

bool frmMain::applyDeckStep(const deck::DeckStep& step, bool back, bool cardsOnly, bool toStart) {
    const QString title = back ? kUndo : kRedo;
    const QScopedValueRollback replaying(m_replaying, true);
    try {
        auto conn = db::Database::OpenDatabase(sDatabasePath);
        if (back)
            step.undo(*conn);
        else
            step.redo(*conn);
    } catch (const db::DbError& e) {
        core::prompter().message(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + core::readableDescription(e) +
                                     (back ? QStringLiteral("\r\n\r\nDer Schritt wurde nicht rückgängig gemacht, das Deck ist "
                                                            "unverändert.")
                                           : QStringLiteral("\r\n\r\nDer Schritt wurde nicht wiederholt, das Deck ist "
                                                            "unverändert.")),
                                 title, core::Icon::Critical, core::Buttons::Ok);
        return false;
    }

    // From here on the deck has changed; the window follows as after the player's own step.
    guarded(title, [&] {
        const deck::DeckChoice choice = back ? step.choiceBefore() : step.choiceAfter();
        const bool leaderChanged = choice.leader != cmbLeader->currentIndex();
        const bool inquisitorChanged = choice.inquisitor != cmbInquisitor->currentIndex();
        {
            // The lists' own handlers would record and fill in "- "; the step knows both choices.
            const QSignalBlocker leaderBlocker(cmbLeader);
            const QSignalBlocker inquisitorBlocker(cmbInquisitor);
            cmbLeader->setCurrentIndex(choice.leader);
            cmbInquisitor->setCurrentIndex(choice.inquisitor);
        }
        m_leaderChosen = choice.leader;
        m_inquisitorChosen = choice.inquisitor;

        if (step.changesRows()) {
            if (cardsOnly) {
                // As the player's own removal and addition mark the pool row of the card.
                for (const QString& number : step.numbers(back ? step.added() : step.removed()))
                    funcUnmarkPoolCard(number);
                for (const QString& number : step.numbers(back ? step.removed() : step.added())) {
                    const int r = poolRowOfNumber(number);
                    if (r > 0) {
                        flxPool->setRow(r);
                        funcMarkPoolRow();
                    }
                }
                funcRefreshKeepTop(dtaDeck, flxDeck);
            } else {
                dtaDeck.Refresh();
                DeckAbgleichen();
            }
        }
        CalculateDeck();
        // No evaluation had run yet when the program started.
        if (toStart)
            tvwNotes->clear();
        if (leaderChanged && choice.leader >= 0)
            showCard(deck::leaderName(cmbLeader->currentText()), QStringLiteral("ANFUEHRER"));
        else if (inquisitorChanged && choice.inquisitor >= 0)
            showCard(deck::inquisitorName(cmbInquisitor->currentText()), QStringLiteral("INQUISITOR"));
    });
    return true;
}

} // namespace ui
