#pragma once

#include <QString>

class QWidget;

namespace ui {

class StatisticsWindow;

// The plugin's file in the program folder.
inline constexpr const char* kStatisticsPluginFile = "libDravennaStatistik.so";

// A new statistics window owned by owner, from the plugin, which is loaded the first time; null with
// *error set (German, for the player) when the plugin is missing or does not load.
StatisticsWindow* createStatisticsWindow(QWidget* owner, QString* error);

// The statistics window was open when the program last ended.
bool statisticsOpenAtExit();

} // namespace ui
