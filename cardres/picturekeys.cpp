// The keys of the picture store, in their fixed order.
#include "cardres/picturekeys.h"

namespace dravennares {

QVector<PictureKey> pictureKeys() {
    QVector<PictureKey> keys;
    for (const char* faction : {"ORVANE", "SIVAR", "QUENTA", "BRAMEL", "TOLVEN", "GARSK", "UMBREL", "KORVAL"})
        for (int i = 0; i <= 32; ++i)
            keys.append({QString::fromLatin1(faction), QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))});
    auto range = [&keys](const char* group, int from, int to) {
        for (int i = from; i <= to; ++i)
            keys.append({QString::fromLatin1(group), QString::number(i)});
    };
    range("MUTANT", 101, 110);
    range("ACH", 201, 203);
    range("INTER", 401, 407);
    range("INQ", 411, 414);
    for (int id : {500, 600, 700, 800})
        keys.append({QStringLiteral("EMIS"), QString::number(id)});
    range("ZINNET", 501, 508);
    range("INFL", 601, 608);
    range("PROMO", 901, 903);
    keys.append({QStringLiteral("BLANK"), QStringLiteral("BLANK")});
    return keys;
}

} // namespace dravennares
