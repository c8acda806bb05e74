// Filter files: the first line read, the quick-filter list, saving from a dialog.
#include "filter/filterfile.h"

#include "core/errornumbers.h"
#include "core/programdir.h"
#include "core/textfile.h"
#include "db/dberror.h"
#include "db/jettranslator.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace filter {

std::optional<QString> readFilterLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Only as much as a condition may hold: a longer first line is refused when it is translated,
    // and a huge file costs no time to read.
    const QByteArray bytes = file.read(db::kMaxJetSqlLength + 1);
    const qsizetype cr = bytes.indexOf('\r');
    return core::decodeText(cr < 0 ? bytes : bytes.left(cr));
}

QStringList quickFilterNames(const QString& dir) {
    QStringList names;
    // Alphabetical, as a player finds them in a file manager; the file system's own order is arbitrary.
    // Only the exact extension: a listed name is opened as name + ".drfilter", and "X.DRFILTER" is not that file.
    const QFileInfoList files = QDir(dir).entryInfoList({QStringLiteral("*.drfilter")}, QDir::Files | QDir::CaseSensitive,
                                                        QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo& info : files)
        names << info.completeBaseName();
    return names;
}

QStringList quickFilterNames(const QStringList& dirs) {
    if (dirs.size() == 1)
        return quickFilterNames(dirs.front());
    QStringList names;
    for (const QString& dir : dirs)
        names << quickFilterNames(dir);
    names.removeDuplicates();
    // One alphabetical list, whichever folder a file lies in.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return names;
}

QString quickFilterPath(const QStringList& dirs, const QString& name) {
    const QString file = name + QStringLiteral(".drfilter");
    for (const QString& dir : dirs)
        if (QFileInfo(QDir(dir), file).isFile())
            return core::joinPath(dir, file);
    return core::joinPath(dirs.value(0), file);
}

void prepareFilterDialog(core::FileDialogState& dialog, const QString& title, unsigned flags) {
    const QString extension = QStringLiteral("drfilter");
    core::prepareFileDialog(dialog, title, extension, QStringLiteral("Dravenna-Filter"), flags);
    dialog.defaultExt = extension;
}

void saveFilterFile(core::FileDialogState& dialog, const QString& line, const std::function<void()>& afterSave) {
    const QString title = QStringLiteral("Dravenna-Filter speichern");
    try {
        prepareFilterDialog(dialog, title,
                            core::dialogflags::OverwritePrompt | core::dialogflags::PathMustExist |
                                core::dialogflags::NoReadOnlyReturn);
        if (!core::prompter().fileDialog(dialog, true))
            return;
        const QString path = dialog.fileName;
        // A multi-line condition keeps its line breaks as the file's CR LF.
        QString text = line;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
        if (const QString why = core::writeFileAtomically(path, core::encodeLines({text})); !why.isEmpty())
            core::throwFileError(path, why);
        afterSave();
        core::prompter().message(QStringLiteral("Der Dravenna-Filter wurde gespeichert unter:\r\n") + path,
                                 QStringLiteral("Dravenna-Filter erfolgreich gespeichert"), core::Icon::Information,
                                 core::Buttons::Ok);
    } catch (const db::DbError& e) {
        core::showError(title, e);
    }
}

QString conditionOf(const QString& filterText) {
    if (filterText.size() < 6)
        throw db::DbError(core::errors::kInvalidArgument, QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument: '%1' ist keine Filter-Bedingung.")
                                 .arg(filterText));
    return filterText.mid(6);
}

} // namespace filter
