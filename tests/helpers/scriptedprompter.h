#pragma once

#include "core/prompter.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace testing {

// Records every message box and file dialog and answers them from a script.
class ScriptedPrompter : public core::Prompter {
public:
    struct Message {
        QString text;
        QString title;
        core::Icon icon;
        core::Buttons buttons;
    };
    struct Dialog {
        core::FileDialogState state; // as the program handed it over
        bool save;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    core::Answer message(const QString& text, const QString& title, core::Icon icon,
                         core::Buttons buttons) override;
    bool fileDialog(core::FileDialogState& state, bool save) override;

    // Answers for the next questions (Yes/No boxes); OK boxes need none.
    void answer(core::Answer a) { m_answers.push_back(a); }
    // The next file dialog returns this path, or is cancelled for an empty text.
    void choose(const QString& path) { m_paths.push_back(path); }

    std::vector<Message> messages;
    std::vector<Dialog> dialogs;

private:
    std::deque<core::Answer> m_answers;
    std::deque<QString> m_paths;
};

} // namespace testing
