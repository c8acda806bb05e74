#pragma once

#include <QString>

namespace core {

// The deck path in the program's argument: surrounding double quotes removed when present,
// an unquoted path taken as it stands. Empty when there is none.
QString deckPathFromArgument(const QString& argument);

// "Version " + major + "." + minor with at least two digits.
QString versionText(int major, int minor);

} // namespace core
