#pragma once

#include <QString>
#include <QVector>

namespace dravennares {

struct PictureKey {
    QString group;
    QString id;
};

// Every entry of the picture store, in a fixed order.
QVector<PictureKey> pictureKeys();

} // namespace dravennares
