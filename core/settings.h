#pragma once

#include <QSettings>
#include <memory>

namespace core {

inline constexpr const char* kSettingsName = "DravennaDeckBuilder";

// The per-user settings store, opened on one window's section.
std::unique_ptr<QSettings> openSettings(const QString& section);

} // namespace core
