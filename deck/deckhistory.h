#pragma once

#include "core/apperror.h"

#include <QObject>
#include <QUndoStack>
#include <exception>
#include <functional>
#include <optional>

class QAction;

namespace deck {

class DeckSession;

// The deck's steps for "Rückgängig" and "Wiederholen": each change of the deck runs as the first
// redo() of a command on a QUndoStack, which keeps what it changed and takes it back or does it
// again on the session. Qt's undo framework sits in QtGui, so this lives beside the session in the
// UI library; the command-line tool has no history.
class DeckHistory : public QObject {
    Q_OBJECT
public:
    // Steps kept: a whole-deck step of a large deck holds every row it took out and put in.
    static constexpr int kStepLimit = 100;

    enum class Scope {
        Choice, // leader or inquisitor only
        Card,   // the rows of one card name
        Deck,   // every row of DECK
    };

    explicit DeckHistory(DeckSession& session, QObject* parent = nullptr);
    ~DeckHistory() override;

    // Runs change as one step named text. It goes onto the history when it changed the deck, also
    // when it then failed; its failure is thrown on afterwards. Inside another step's change, or
    // while a step is taken back or done again, change runs as part of that.
    void run(const QString& text, Scope scope, const std::function<void()>& change, const QString& cardName = QString());

    QUndoStack* stack() { return &m_stack; }
    // The menu entries, from QUndoStack: "Rückgängig: <step>", plain "Rückgängig" when there is none.
    QAction* createUndoAction(QObject* parent);
    QAction* createRedoAction(QObject* parent);

Q_SIGNALS:
    // A step could not be taken back (back) or done again: DECK, the choice and the history are as they were.
    void replayFailed(bool back, const core::AppError& error);

private:
    class Command;
    // After a replay the stack has moved past: puts it back and reports the failure.
    void settle();

    DeckSession& m_session;
    QUndoStack m_stack;
    bool m_busy = false;
    // What the running step's first redo() left for run().
    std::exception_ptr m_runError;
    bool m_runKept = false;
    bool m_lostHistory = false;
    // A replay that failed, until settle() puts the stack back.
    Command* m_failed = nullptr;
    std::optional<core::AppError> m_failure;
    bool m_failedBack = false;
    // The program's start is still at the bottom of the history.
    bool m_startKept = true;
};

} // namespace deck
