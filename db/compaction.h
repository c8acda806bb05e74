#pragma once

#include <QString>
#include <functional>

namespace db {

// The steps of compacting in place, named so that a test can make any of them fail.
enum class CompactStep { Vacuum, Flush, Rename };

// Compacts the database at path through path + ".temp": VACUUM INTO the temporary file, flush it to
// disk, rename it over the database. The database file is never missing and never half written.
// Returns false (and leaves the old file) when any step fails; message receives the reason.
bool compactInPlace(const QString& path, QString* message = nullptr,
                    const std::function<bool(CompactStep)>& failAt = {});

} // namespace db
