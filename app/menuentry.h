#pragma once

#include "core/named.h"

#include <QAction>
#include <QMenu>

namespace ui {

// A new menu entry under the object name that tests and screen readers find it by.
inline QAction* addEntry(QMenu* menu, const QString& caption, const char* name) {
    return named(menu->addAction(caption), name);
}

} // namespace ui
