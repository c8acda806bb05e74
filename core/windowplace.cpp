// Window geometry in twips: conversion to pixels and back, a window's stored outer place.
#include "core/windowplace.h"

#include <QSettings>
#include <QWidget>

namespace ui {

int twipsToPixels(const QWidget* w, int twips) { return qRound(twips * w->logicalDpiX() / 1440.0); }
int pixelsToTwips(const QWidget* w, int pixels) { return qRound(pixels * 1440.0 / w->logicalDpiX()); }

float storedNumber(QSettings& s, const QString& key, float fallback) {
    bool ok = false;
    const float v = s.value(key).toString().toFloat(&ok);
    return ok ? v : fallback;
}

QRect outerFromTwips(const QWidget* window, float left, float top, float width, float height) {
    return QRect(twipsToPixels(window, qRound(left)), twipsToPixels(window, qRound(top)), twipsToPixels(window, qRound(width)),
                 twipsToPixels(window, qRound(height)));
}

void storeOuterPlace(QSettings& s, const QWidget* window, StoredSize size) { storeOuterPlace(s, window, window->frameGeometry(), size); }

void storeOuterPlace(QSettings& s, const QWidget* window, const QRect& outer, StoredSize size) {
    const auto twips = [window](int pixels) { return QString::number(static_cast<float>(pixelsToTwips(window, pixels))); };
    s.setValue(QStringLiteral("Left"), twips(outer.x()));
    s.setValue(QStringLiteral("Top"), twips(outer.y()));
    s.setValue(QStringLiteral("Height"), twips(outer.height()));
    if (size == StoredSize::WidthAndHeight)
        s.setValue(QStringLiteral("Width"), twips(outer.width()));
}

} // namespace ui
