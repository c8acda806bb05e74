// The per-user settings store, opened on one window's section.
#include "core/settings.h"

namespace core {

std::unique_ptr<QSettings> openSettings(const QString& section) {
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QString::fromLatin1(kSettingsName));
    settings->beginGroup(section);
    return settings;
}

} // namespace core
