// Message boxes and file dialogs recorded and answered from a script.
#include "tests/helpers/scriptedprompter.h"

#include <QtTest/QTest>

namespace testing {

ScriptedPrompter::ScriptedPrompter() { core::setPrompter(this); }
ScriptedPrompter::~ScriptedPrompter() { core::setPrompter(nullptr); }

core::Answer ScriptedPrompter::message(const QString& text, const QString& title, core::Icon icon,
                                       core::Buttons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (buttons == core::Buttons::Ok)
        return core::Answer::Ok;
    if (m_answers.empty()) {
        qWarning("unscripted question: %s", qPrintable(text));
        return core::Answer::No;
    }
    const core::Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

bool ScriptedPrompter::fileDialog(core::FileDialogState& state, bool save) {
    dialogs.push_back({state, save});
    if (m_paths.empty())
        return false;
    const QString path = m_paths.front();
    m_paths.pop_front();
    if (path.isEmpty())
        return false;
    state.fileName = path;
    return true;
}

} // namespace testing
