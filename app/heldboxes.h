#pragma once

#include "core/prompter.h"

#include <vector>

namespace ui {

// Keeps the OK boxes of a step that runs before its window is on screen, to be shown over the window
// once it is; questions and file dialogs cannot wait and go straight to the prompter outside.
class HeldBoxes : public core::Prompter {
public:
    struct Box {
        QString text;
        QString title;
        core::Icon icon;
    };

    HeldBoxes() : m_outer(core::prompter()) { core::setPrompter(this); }
    ~HeldBoxes() override { core::setPrompter(&m_outer); }
    HeldBoxes(const HeldBoxes&) = delete;
    HeldBoxes& operator=(const HeldBoxes&) = delete;

    core::Answer message(const QString& text, const QString& title, core::Icon icon, core::Buttons buttons) override {
        if (buttons != core::Buttons::Ok)
            return m_outer.message(text, title, icon, buttons);
        boxes.push_back({text, title, icon});
        return core::Answer::Ok;
    }
    bool fileDialog(core::FileDialogState& state, bool save) override { return m_outer.fileDialog(state, save); }

    std::vector<Box> boxes;

private:
    core::Prompter& m_outer;
};

} // namespace ui
