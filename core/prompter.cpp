#include "core/prompter.h"

#include "core/programdir.h"
#include "core/apperror.h"

#include <QtGlobal>

namespace core {

namespace {
Prompter* g_default = nullptr;
Prompter* g_override = nullptr;
} // namespace

Prompter& prompter() {
    Prompter* p = g_override ? g_override : g_default;
    Q_ASSERT_X(p, "prompter", "no prompter installed");
    return *p;
}

void prepareFileDialog(FileDialogState& state, const QString& title, const QString& extension, const QString& filterName,
                       unsigned flags) {
    state.flags = flags;
    state.dialogTitle = title;
    state.initDir = programDirectory();
    if (!state.fileName.endsWith(u'.' + extension, Qt::CaseInsensitive))
        state.fileName.clear();
    state.filter = filterName + QStringLiteral(" (*.") + extension + QStringLiteral(")|*.") + extension +
                   QStringLiteral("|Alle Dateien (*.*)|*.*");
}

void showError(const QString& title, const core::AppError& e) {
    prompter().message(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + e.description(), title, Icon::Critical,
                       Buttons::Ok);
}

void setPrompter(Prompter* p) { g_override = p; }
void setDefaultPrompter(Prompter* p) { g_default = p; }

} // namespace core
