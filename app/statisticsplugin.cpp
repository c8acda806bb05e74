// The statistics window's plugin: the charts and the one entry point the main window looks up.
#include "app/frmstatistik.h"
#include "app/statisticswindow.h"

#include <QObject>

namespace ui {

class StatisticsPluginRoot : public QObject, public StatisticsPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID DRAVENNA_STATISTICS_IID)
    Q_INTERFACES(ui::StatisticsPlugin)
public:
    StatisticsWindow* create(QWidget* owner) override { return new frmStatistik(owner); }
};

} // namespace ui

#include "statisticsplugin.moc"
