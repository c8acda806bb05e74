#pragma once

#include <QString>

namespace core {

// The folder the program runs from: the executable's, unless a test has pointed it elsewhere.
QString programDirectory();
void setProgramDirectory(const QString& path);

// The card database in the program folder.
QString databasePath();

// dir joined with name, with one separator between them whether or not dir ends with one.
QString joinPath(const QString& dir, const QString& name);

} // namespace core
