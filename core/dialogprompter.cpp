#include "core/dialogprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace ui {

namespace {
QMessageBox::Icon boxIcon(core::Icon icon) {
    switch (icon) {
    case core::Icon::Critical:
        return QMessageBox::Critical;
    case core::Icon::Question:
        return QMessageBox::Question;
    case core::Icon::Exclamation:
        return QMessageBox::Warning;
    case core::Icon::Information:
        return QMessageBox::Information;
    case core::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QStringList nameFilters(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        // "Textdatei (*.txt)" already names its pattern; Qt must not get it twice.
        const QString named = QStringLiteral("(%1)").arg(patterns);
        filters << (parts[i].trimmed().endsWith(named) ? parts[i] : QStringLiteral("%1 %2").arg(parts[i], named));
    }
    return filters;
}

core::Answer DialogPrompter::message(const QString& text, const QString& title, core::Icon icon,
                                     core::Buttons buttons) {
    QMessageBox box(boxIcon(icon), title, text,
                    buttons == core::Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    const int result = box.exec();
    if (buttons == core::Buttons::Ok)
        return core::Answer::Ok;
    return result == QMessageBox::Yes ? core::Answer::Yes : core::Answer::No;
}

bool DialogPrompter::fileDialog(core::FileDialogState& state, bool save) {
    namespace f = core::dialogflags;
    QFileDialog dialog(QApplication::activeWindow(), state.dialogTitle, state.initDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode((state.flags & f::FileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QFileDialog::Options options;
    if (!(state.flags & f::OverwritePrompt))
        options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);
    const QStringList filters = nameFilters(state.filter);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(core::dialogExtension(state));
    if (state.filterIndex >= 1 && state.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[state.filterIndex - 1]);
    if (!state.fileName.isEmpty())
        dialog.selectFile(state.fileName);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        const QString chosen = dialog.selectedFiles().constFirst();
        const QFileInfo info(chosen);
        if ((state.flags & f::PathMustExist) && !info.absoluteDir().exists())
            continue;
        if (save && (state.flags & f::NoReadOnlyReturn) && info.exists() && !info.isWritable()) {
            QMessageBox::warning(&dialog, state.dialogTitle,
                                 QStringLiteral("Die Datei %1 ist schreibgeschützt.").arg(chosen));
            continue;
        }
        state.fileName = chosen;
        state.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        return true;
    }
}

} // namespace ui
