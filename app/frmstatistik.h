#pragma once

#include "app/statisticswindow.h"
#include "deck/deckfigures.h"

#include <QColor>
#include <QList>
#include <QRect>
#include <QWidget>
#include <memory>

class QChart;
class QChartView;
class QGridLayout;

namespace ui {

// Colours of the charts for one desktop palette: texts in the palette's text colour on its base colour,
// bars dark on a light desktop and light on a dark one.
struct ChartColours {
    bool dark = false;
    QColor background;
    QColor text;
    QColor grid;
    QColor fire;
    QColor earth;
    QColor bars;     // moons, card types
    QColor over;     // a bar above its limit
    QColor main;     // the main faction's slice
    QColor others;   // the other factions' slice

    static ChartColours forPalette(const QPalette& palette);
};

// The deck's statistics as charts: strength values, moons against the foreign-moon limit, card types against the
// card limit, the main faction's share. Modeless, owned by the main window; it draws whatever figures it is given.
// Built into the statistics plugin (app/statisticsplugin.cpp); the main window knows it as a StatisticsWindow.
class frmStatistik : public QWidget, public StatisticsWindow {
    Q_OBJECT
public:
    explicit frmStatistik(QWidget* owner);
    ~frmStatistik() override;

    QWidget* widget() override { return this; }
    // Draws these figures (read with their chart figures) once the event loop comes round, only the charts
    // whose numbers changed, and only while the window is shown: many changes in one turn cost one drawing.
    void showFigures(const deck::DeckFigures& figures) override;
    // Puts the window where the settings store keeps it (section "frmStatistik"); the first time beside its
    // owner, clear of keepClear (screen rectangles) as far as the screen allows.
    void placeFromSettings(const QList<QRect>& keepClear = {}) override;
    // Shows it above its owner; the keyboard stays where it was.
    void appear() override;
    // Closed because the program ends: its place is kept, and that it was open.
    void closeWithOwner() override;

    QChartView* chvStaerke = nullptr;
    QChartView* chvMonde = nullptr;
    QChartView* chvKartenarten = nullptr;
    QChartView* chvHauptfraktion = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Charts;
    void redraw();
    void arrange();
    void raiseToolWindows();
    void writeSettings(bool open);

    std::unique_ptr<Charts> m_charts;
    QGridLayout* m_grid = nullptr;
    int m_columns = 0;
    deck::DeckFigures m_figures;
    bool m_redrawQueued = false;
    bool m_placed = false;
};

} // namespace ui
