#pragma once

#include "app/frmmain.h"
#include "app/frmstatistik.h"

namespace testing {

// The main window's statistics window as its own class, which the tests link and the program does not.
inline ui::frmStatistik* statistikWindow(const ui::frmMain& window) {
    return static_cast<ui::frmStatistik*>(window.statisticsWidget());
}

} // namespace testing
