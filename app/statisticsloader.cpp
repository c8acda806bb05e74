// Loading the statistics window's plugin from the program folder on first use.
#include "app/statisticsloader.h"

#include "app/statisticswindow.h"
#include "core/programdir.h"
#include "core/settings.h"

#include <QPluginLoader>
#include <memory>

namespace ui {

StatisticsWindow* createStatisticsWindow(QWidget* owner, QString* error) {
    // The library stays loaded until the process ends: its windows may live as long. A program folder
    // set anew (tests do) has its own file.
    static std::unique_ptr<QPluginLoader> loader;
    const QString path = core::joinPath(core::programDirectory(), QString::fromLatin1(kStatisticsPluginFile));
    if (!loader || loader->fileName() != path)
        loader = std::make_unique<QPluginLoader>(path);
    auto* plugin = qobject_cast<StatisticsPlugin*>(loader->instance());
    if (!plugin) {
        *error = QStringLiteral("Das Statistikfenster kann nicht geladen werden: %1").arg(loader->errorString());
        loader.reset(); // tried again next time, as the file may be back by then
        return nullptr;
    }
    return plugin->create(owner);
}

bool statisticsOpenAtExit() {
    return core::openSettings(QString::fromLatin1(kStatisticsSection))->value(QStringLiteral("Open")).toString() == u"True";
}

} // namespace ui
