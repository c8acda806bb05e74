#pragma once

#include "core/prompter.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace filter {

// The first line of a filter file (Windows-1252); a line ends at CR or CR LF, a lone LF stays.
// Nothing when the file cannot be read.
std::optional<QString> readFilterLine(const QString& path);

// Display names of the filter files in dir ("*.drfilter", not hidden, no subfolders), by name.
QStringList quickFilterNames(const QString& dir);
// The same over several folders, each name once; a name found in more than one folder is the
// first folder's.
QStringList quickFilterNames(const QStringList& dirs);
// The filter file a quick-filter name stands for: the first folder's that holds it (the first
// folder's path when none does).
QString quickFilterPath(const QStringList& dirs, const QString& name);

// Readies a file dialog for filter files: title, flags, the program folder, the filter list and
// the default extension.
void prepareFilterDialog(core::FileDialogState& dialog, const QString& title, unsigned flags);

// Asks the player where to save, writes line as the file's only line and reports the outcome.
// afterSave runs once the file is on disk, before the success message.
void saveFilterFile(core::FileDialogState& dialog, const QString& line, const std::function<void()>& afterSave);

// The condition of a filter text: everything after its leading "WHERE ".
// Throws db::DbError when the text is too short to hold one.
QString conditionOf(const QString& filterText);

} // namespace filter
