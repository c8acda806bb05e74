#pragma once

#include <QRect>

class QSettings;
class QWidget;

namespace ui {

// Twips (1440 an inch) to pixels of this widget's screen and back.
int twipsToPixels(const QWidget* w, int twips);
int pixelsToTwips(const QWidget* w, int pixels);

// A window's outer place (frame included) as its settings section keeps it: Left, Top, Width and Height in
// twips, each written as a number in text.

// The stored number under key, or fallback when it is missing or no number.
float storedNumber(QSettings& s, const QString& key, float fallback);
// The outer rectangle in pixels of a place given in twips.
QRect outerFromTwips(const QWidget* window, float left, float top, float width, float height);
// Writes the window's outer place; a window whose width follows from its height keeps no width.
enum class StoredSize { WidthAndHeight, HeightOnly };
void storeOuterPlace(QSettings& s, const QWidget* window, StoredSize size = StoredSize::WidthAndHeight);
// Writes this outer place (pixels of the window's screen) as the window's.
void storeOuterPlace(QSettings& s, const QWidget* window, const QRect& outer, StoredSize size = StoredSize::WidthAndHeight);

} // namespace ui
