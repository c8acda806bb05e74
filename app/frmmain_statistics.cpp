// The main window's statistics window: "Statistik…" at the end of the "Deck" menu.
#include "app/frmmain.h"
#include "app/frmstatistik.h"
#include "app/guarded.h"
#include "app/menuentry.h"
#include "core/windowframe.h"
#include "core/named.h"
#include "db/database.h"
#include "db/flexgrid.h"

#include <QComboBox>
#include <QMenu>

namespace ui {

void frmMain::addStatisticsEntries(QMenu* deckMenu) {
    deckMenu->addSeparator()->setObjectName(QStringLiteral("mnuSepStatistik"));
    connect(addEntry(deckMenu, QStringLiteral("Statistik…"), "mnuStatistik"), &QAction::triggered, this,
            [this] { guarded(u"Statistik"_qs, [this] { funcStatistik(); }); });
}

void frmMain::funcStatistik() {
    if (!m_frmStatistik) {
        m_frmStatistik = new frmStatistik(this);
        // What the player works in stays clear as far as the screen allows.
        QList<QRect> grids;
        for (const QWidget* grid : {static_cast<QWidget*>(flxPool), static_cast<QWidget*>(flxDeck)})
            grids << QRect(grid->mapToGlobal(QPoint(0, 0)), grid->size());
        m_frmStatistik->placeFromSettings(grids);
    }
    if (!m_figures.withCharts) {
        // The notes were read without the chart figures; the same reading with them, for the same deck.
        auto conn = db::Database::OpenDatabase(sDatabasePath);
        m_figures = deck::deckFigures(*conn, cmbLeader->currentText(), cmbInquisitor->currentText(), flxDeck->Rows() - 1, true);
    }
    m_frmStatistik->showFigures(m_figures);
    m_frmStatistik->appear();
}

void frmMain::reopenStatistics() {
    // Open when the program last ended: open again, once the main window is there to own it.
    if (frmStatistik::openAtExit())
        whenFramed(this, [this] { guarded(u"Statistik"_qs, [this] { funcStatistik(); }); });
}

bool frmMain::statisticsShown() const { return m_frmStatistik && m_frmStatistik->isVisible(); }

} // namespace ui
