#pragma once

#include "core/prompter.h"

class QWidget;

namespace ui {

// The production prompter: real message boxes and file dialogs, owned by the active window.
class DialogPrompter : public core::Prompter {
public:
    core::Answer message(const QString& text, const QString& title, core::Icon icon,
                         core::Buttons buttons) override;
    bool fileDialog(core::FileDialogState& state, bool save) override;
};

// "Desc|*.a;*.b|Desc2|*.c" as Qt name filters.
QStringList nameFilters(const QString& windowsFilter);

} // namespace ui
