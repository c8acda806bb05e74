#pragma once

#include <QString>

class QFileDevice;

namespace core {

// The German text for a system error number (errno) that a file operation can meet; an error
// without one of its own is named by its number.
QString systemErrorText(int error);

// Why a QFile, QSaveFile or other file device failed, as systemErrorText says it; Qt's own English
// text otherwise only names the system's.
QString fileErrorText(const QFileDevice& file);

} // namespace core
