#pragma once

#include "deck/deckfigures.h"

#include <QList>
#include <QRect>
#include <QtPlugin>

class QWidget;

namespace ui {

// The settings section of the statistics window.
inline constexpr const char* kStatisticsSection = "frmStatistik";

// The statistics window as the main window uses it. Its charts come from a plugin of the program
// folder loaded on first use (see statisticsloader.h), so that a start links no chart library.
class StatisticsWindow {
public:
    virtual ~StatisticsWindow() = default;
    virtual QWidget* widget() = 0;
    // Draws these figures (read with their chart figures) once the event loop comes round.
    virtual void showFigures(const deck::DeckFigures& figures) = 0;
    // Puts the window where the settings store keeps it; the first time beside its owner, clear of
    // keepClear (screen rectangles) as far as the screen allows.
    virtual void placeFromSettings(const QList<QRect>& keepClear) = 0;
    // Shows it above its owner; the keyboard stays where it was.
    virtual void appear() = 0;
    // Closed because the program ends: its place is kept, and that it was open.
    virtual void closeWithOwner() = 0;
};

// What the plugin's root object offers: a statistics window owned by owner.
class StatisticsPlugin {
public:
    virtual ~StatisticsPlugin() = default;
    virtual StatisticsWindow* create(QWidget* owner) = 0;
};

} // namespace ui

#define DRAVENNA_STATISTICS_IID "de.dravenna.deckbuilder.StatisticsPlugin/1"
Q_DECLARE_INTERFACE(ui::StatisticsPlugin, DRAVENNA_STATISTICS_IID)
