#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace filter {

// The first line of a filter file (Windows-1252); a line ends at CR or CR LF, a lone LF stays.
std::optional<QString> readFilterLine(const QString& path);

// Display names of the filter files in dir ("*.drfilter", not hidden), in directory order.
QStringList quickFilterNames(const QString& dir);

} // namespace filter
