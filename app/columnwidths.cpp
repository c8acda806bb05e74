// The grids' column widths kept from one start to the next.
#include "app/columnwidths.h"

#include "core/settings.h"
#include "db/flexgrid.h"

namespace ui {

namespace {

const QString kColumnSection = QStringLiteral("Spalten");

// Designed widths unless the store holds one sensible width per column (twips, as text).
QList<int> storedWidths(const QString& key, const QList<int>& designed) {
    const QStringList parts = core::openSettings(kColumnSection)->value(key).toString().split(u',');
    if (parts.size() != designed.size())
        return designed;
    QList<int> widths;
    for (const QString& part : parts) {
        bool ok = false;
        const int twips = part.trimmed().toInt(&ok);
        if (!ok || twips < 60 || twips > 30000)
            return designed;
        widths << twips;
    }
    return widths;
}

QString widthsText(const QList<int>& twips) {
    QStringList parts;
    for (int t : twips)
        parts << QString::number(t);
    return parts.join(u',');
}

} // namespace

void restoreColumnWidths(FlexGrid& pool, FlexGrid& deck) {
    pool.setColumnWidthsTwips(storedWidths(QStringLiteral("flxPool"), pool.columnWidthsTwips()));
    deck.setColumnWidthsTwips(storedWidths(QStringLiteral("flxDeck"), deck.columnWidthsTwips()));
}

void storeColumnWidths(const FlexGrid& pool, const FlexGrid& deck) {
    const auto s = core::openSettings(kColumnSection);
    s->setValue(QStringLiteral("flxPool"), widthsText(pool.columnWidthsTwips()));
    s->setValue(QStringLiteral("flxDeck"), widthsText(deck.columnWidthsTwips()));
}

} // namespace ui
