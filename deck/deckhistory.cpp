// The deck's undo history: QUndoStack commands over the deck session.
#include "deck/deckhistory.h"

#include "db/dberror.h"
#include "deck/decksession.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTranslator>
#include <QUndoCommand>

namespace deck {

namespace {

// QUndoStack names its entries through tr(): these are the texts the program's entries show.
class UndoTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QUndoStack") != 0)
            return QString();
        if (qstrcmp(source, "Undo %1") == 0)
            return QStringLiteral("Rückgängig: %1");
        if (qstrcmp(source, "Undo") == 0)
            return QStringLiteral("Rückgängig");
        if (qstrcmp(source, "Redo %1") == 0)
            return QStringLiteral("Wiederholen: %1");
        if (qstrcmp(source, "Redo") == 0)
            return QStringLiteral("Wiederholen");
        return QString();
    }
};

void installUndoTexts() {
    static QPointer<QTranslator> installed;
    if (installed || !QCoreApplication::instance())
        return;
    installed = new UndoTexts(QCoreApplication::instance());
    QCoreApplication::installTranslator(installed);
}

} // namespace

class DeckHistory::Command : public QUndoCommand {
public:
    Command(DeckHistory& history, const QString& text, Scope scope, const QString& cardName, std::function<void()> change)
        : QUndoCommand(text), m_history(history), m_scope(scope), m_cardName(cardName), m_change(std::move(change)) {}

    void redo() override {
        if (std::exchange(m_putBack, false))
            return;
        if (m_change)
            first();
        else
            replay(false);
    }

    void undo() override {
        if (std::exchange(m_putBack, false))
            return;
        replay(true);
    }

    // The stack steps over this command once more without touching the deck: its replay failed.
    void putBack() { m_putBack = true; }

private:
    DeckRows read() const {
        if (m_scope == Scope::Choice)
            return {};
        return m_history.m_session.rows(m_scope == Scope::Card ? m_cardName : QString());
    }

    // The change itself, recorded as the rows and choice it left.
    void first() {
        const std::function<void()> change = std::exchange(m_change, {});
        DeckSession& session = m_history.m_session;
        const DeckChoice choiceBefore = session.choice();
        DeckRows before;
        try {
            before = read();
            change();
        } catch (...) {
            m_history.m_runError = std::current_exception();
        }
        try {
            m_step.emplace(before, read(), choiceBefore, session.choice());
        } catch (const db::DbError& e) {
            // Without the deck as the step left it, no earlier step can be taken back safely either.
            qWarning("Deck-Schritt nicht aufgezeichnet: %s", qPrintable(e.description()));
            m_history.m_lostHistory = true;
        }
        m_history.m_runKept = m_step && !m_step->isEmpty();
        setObsolete(!m_history.m_runKept);
    }

    void replay(bool back) {
        if (!m_step)
            return;
        const bool toStart = back && m_history.m_startKept && m_history.m_stack.index() == 1;
        const QScopedValueRollback busy(m_history.m_busy, true);
        try {
            m_history.m_session.replay(*m_step, back, m_scope == Scope::Card, toStart);
        } catch (const db::DbError& e) {
            m_history.m_failed = this;
            m_history.m_failure = e;
            m_history.m_failedBack = back;
        }
    }

    DeckHistory& m_history;
    Scope m_scope;
    QString m_cardName;
    std::function<void()> m_change;
    std::optional<DeckStep> m_step;
    bool m_putBack = false;
};

DeckHistory::DeckHistory(DeckSession& session, QObject* parent) : QObject(parent), m_session(session) {
    installUndoTexts();
    m_stack.setUndoLimit(kStepLimit);
}

DeckHistory::~DeckHistory() = default;

void DeckHistory::run(const QString& text, Scope scope, const std::function<void()>& change, const QString& cardName) {
    if (m_busy) {
        change();
        return;
    }
    const QScopedValueRollback busy(m_busy, true);
    m_runError = nullptr;
    m_runKept = false;
    m_lostHistory = false;
    const int kept = m_stack.index();
    m_stack.push(new Command(*this, text, scope, cardName, change));
    if (m_runKept && m_stack.index() <= kept)
        m_startKept = false; // the oldest step made room
    if (m_lostHistory) {
        m_stack.clear();
        m_startKept = false;
    }
    if (m_runError)
        std::rethrow_exception(std::exchange(m_runError, nullptr));
}

QAction* DeckHistory::createUndoAction(QObject* parent) {
    QAction* action = m_stack.createUndoAction(parent);
    // After the stack's own slot: a failed undo is put back before anyone reads the stack again.
    connect(action, &QAction::triggered, this, &DeckHistory::settle);
    return action;
}

QAction* DeckHistory::createRedoAction(QObject* parent) {
    QAction* action = m_stack.createRedoAction(parent);
    connect(action, &QAction::triggered, this, &DeckHistory::settle);
    return action;
}

void DeckHistory::settle() {
    if (!m_failed)
        return;
    const QScopedValueRollback busy(m_busy, true);
    std::exchange(m_failed, nullptr)->putBack();
    if (m_failedBack)
        m_stack.redo();
    else
        m_stack.undo();
    const core::AppError failure = *std::exchange(m_failure, std::nullopt);
    Q_EMIT replayFailed(m_failedBack, failure);
}

} // namespace deck
