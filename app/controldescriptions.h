#pragma once

namespace ui {

class frmMain;

// Accessible names for every control of the main window, and header tips where a player cannot
// guess what a column holds or what a right click does.
void describeControls(frmMain& window);

} // namespace ui
