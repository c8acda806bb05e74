#pragma once

#include "deck/deckfigures.h"

#include <QColor>
#include <QWidget>

class QChart;
class QChartView;

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
class frmStatistik : public QWidget {
    Q_OBJECT
public:
    explicit frmStatistik(QWidget* owner);

    // Draws these figures (read with their chart figures).
    void showFigures(const deck::DeckFigures& figures);
    // Puts the window where the settings store keeps it (section "frmStatistik"), or in the middle of the screen.
    void placeFromSettings();

    QChartView* chvStaerke = nullptr;
    QChartView* chvMonde = nullptr;
    QChartView* chvKartenarten = nullptr;
    QChartView* chvHauptfraktion = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void redraw();
    void writeSettings();

    deck::DeckFigures m_figures;
    bool m_placed = false;
};

} // namespace ui
