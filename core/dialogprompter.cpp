// The message boxes and file dialogs a player sees, behind the program's prompting seam.
#include "core/dialogprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

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
// Wide enough that the window manager shows the whole title: its text in the desktop's font, bold as title bars
// draw it, beside the title bar's icon and buttons.
void fitTitle(QMessageBox& box) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    const int needed = fm.horizontalAdvance(box.windowTitle()) + 5 * fm.height() + 24;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    // QMessageBox sizes itself from its layout; a spacer across it is the way to widen it.
    grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1, grid->columnCount());
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
    fitTitle(box);
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
