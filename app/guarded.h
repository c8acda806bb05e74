#pragma once

#include "core/prompter.h"
#include "db/dberror.h"

#include <QString>

namespace ui {

using core::showError;

inline void showInfo(const QString& text, const QString& title) {
    core::prompter().message(text, title, core::Icon::Information, core::Buttons::Ok);
}

// Runs one user action; a database failure stops it with a message instead of ending the program.
template <typename Fn>
void guarded(const QString& title, Fn&& fn) {
    try {
        fn();
    } catch (const db::DbError& e) {
        showError(title, e);
    }
}

} // namespace ui
