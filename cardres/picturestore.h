#pragma once

#include "cardres/dravennares.h"

#include <QObject>

// Class Main of DravennaRes: hands out the embedded card pictures.
class Main : public QObject, public _Main {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID DRAVENNARES_MAIN_IID FILE "dravennares.json")
    Q_INTERFACES(_Main)
public:
    QImage GetPicture(const QVariant& Nummer, const QString& Fraktion) override;
};
