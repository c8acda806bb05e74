// The plugin's entry class: hands out the embedded card pictures.
#include "cardres/picturestore.h"

#include <QFile>

namespace {

// Only letters and digits name an entry, so no text can reach outside the picture store.
bool isKey(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    return true;
}

} // namespace

QImage Main::GetPicture(const QVariant& Nummer, const QString& Fraktion) {
    // A number would name a numeric entry; the store has only text ids.
    if (Nummer.typeId() != QMetaType::QString)
        return QImage();
    const QString group = Fraktion.toUpper();
    const QString id = Nummer.toString().toUpper();
    if (!isKey(group) || !isKey(id))
        return QImage();
    QFile entry(QStringLiteral(":/dravennares/%1/%2.jpg").arg(group, id));
    if (!entry.open(QIODevice::ReadOnly))
        return QImage();
    // Decoded from memory; nothing is written to disk.
    return QImage::fromData(entry.readAll(), "JPEG");
}
