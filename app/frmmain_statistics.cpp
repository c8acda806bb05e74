// The main window's statistics window: "Statistik…" at the end of the "Deck" menu.
#include "app/firstpaint.h"
#include "app/frmmain.h"
#include "app/frmstatistik.h"
#include "app/guarded.h"
#include "app/statisticsloader.h"
#include "core/prompter.h"
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
        QString why;
        m_frmStatistik = createStatisticsWindow(this, &why);
        if (!m_frmStatistik) {
            core::prompter().message(why, QStringLiteral("Statistik"), core::Icon::Critical, core::Buttons::Ok);
            return;
        }
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
    // Open when the program last ended: open again, once the main window is there to own it and has
    // shown its first picture, which neither the plugin's loading nor the charts hold up.
    if (statisticsOpenAtExit())
        AfterFirstPaint::run(flxPool->viewport(), [this] {
            whenFramed(this, [this] { guarded(u"Statistik"_qs, [this] { funcStatistik(); }); });
        });
}

bool frmMain::statisticsShown() const { return m_frmStatistik && m_frmStatistik->widget()->isVisible(); }

QWidget* frmMain::statisticsWidget() const { return m_frmStatistik ? m_frmStatistik->widget() : nullptr; }

} // namespace ui
