// Message boxes and file dialogs, answered by the player or by a session script.
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
    state.initDir = userFilesDirectory();
    if (!state.fileName.endsWith(u'.' + extension, Qt::CaseInsensitive))
        state.fileName.clear();
    state.filter = filterName + QStringLiteral(" (*.") + extension + QStringLiteral(")|*.") + extension +
                   QStringLiteral("|Alle Dateien (*.*)|*.*");
}

QString dialogExtension(const FileDialogState& state) {
    const QString first = state.filter.section(u'|', 1, 1).section(u';', 0, 0).trimmed();
    if (first.startsWith(QStringLiteral("*.")) && first.size() > 2 && !first.mid(2).contains(u'*') &&
        !first.mid(2).contains(u'?'))
        return first.mid(2);
    return state.defaultExt;
}

QString readableDescription(const core::AppError& e) {
    constexpr qsizetype kReadable = 300;
    const QString& text = e.description();
    if (text.size() <= kReadable)
        return text;
    qsizetype cut = kReadable;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QStringLiteral(" …");
}

void showError(const QString& title, const core::AppError& e) {
    prompter().message(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + readableDescription(e), title, Icon::Critical,
                       Buttons::Ok);
}

void setPrompter(Prompter* p) { g_override = p; }
void setDefaultPrompter(Prompter* p) { g_default = p; }

} // namespace core
