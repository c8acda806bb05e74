// The small window with "Abbrechen" shown while a guarded query runs long.
#include "db/queryprogresswindow.h"

#include "db/querybudget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <memory>

namespace db {

namespace {

constexpr std::chrono::milliseconds kPaintEvery{40};

class ProgressWindowWatch : public QueryWatch {
public:
    explicit ProgressWindowWatch(const QueryBudget& budget) : m_budget(budget) {}

    bool keepRunning(std::chrono::milliseconds elapsed) override {
        if (elapsed < m_budget.showAfter)
            return true;
        if (!m_window) {
            m_window = std::make_unique<QProgressDialog>(QApplication::activeWindow());
            m_window->setObjectName(QStringLiteral("frmAbfrageLaeuft"));
            m_window->setWindowTitle(QStringLiteral("Dravenna Deck-Builder"));
            m_window->setLabelText(QStringLiteral("Die Abfrage dauert länger als erwartet.\nSie wird nach %1 Sekunden abgebrochen.")
                                       .arg(secondsText(m_budget.hardLimit)));
            m_window->setCancelButtonText(QStringLiteral("Abbrechen"));
            // Only this window takes input while the query runs: nothing else may use the database now.
            m_window->setWindowModality(Qt::ApplicationModal);
            m_window->setRange(0, static_cast<int>(m_budget.hardLimit.count()));
            m_window->setMinimumDuration(0);
            m_window->setAutoClose(false);
            m_window->setAutoReset(false);
            m_window->show();
            m_sincePaint.invalidate();
        }
        if (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= kPaintEvery.count()) {
            m_window->setValue(static_cast<int>(elapsed.count()));
            QCoreApplication::processEvents();
            m_sincePaint.start();
        }
        return !m_window->wasCanceled();
    }

private:
    QueryBudget m_budget;
    std::unique_ptr<QProgressDialog> m_window;
    QElapsedTimer m_sincePaint;
};

} // namespace

void installQueryProgressWindow() {
    setQueryWatchFactory([](const QueryBudget& budget) { return std::make_unique<ProgressWindowWatch>(budget); });
}

} // namespace db
