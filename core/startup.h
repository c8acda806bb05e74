#pragma once

#include <QList>
#include <QString>
#include <QUrl>

namespace core {

// The deck path in the program's argument: surrounding double quotes removed when present,
// an unquoted path taken as it stands. Empty when there is none.
QString deckPathFromArgument(const QString& argument);

// The deck file among files dropped on the main window: the first local file ending in ".drd"
// (any case); empty when there is none.
QString droppedDeckFile(const QList<QUrl>& urls);

// "Version " + major + "." + minor with at least two digits.
QString versionText(int major, int minor);

} // namespace core
