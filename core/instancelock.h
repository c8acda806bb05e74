#pragma once

#include <QLockFile>
#include <memory>

namespace core {

// Claims the card database for this process; null when another running program owns it.
std::unique_ptr<QLockFile> claimDatabase(const QString& databasePath);

} // namespace core
