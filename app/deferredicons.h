#pragma once

#include <QProxyStyle>

namespace ui {

// The program's style: the desktop's own, except that the extension arrow every menu bar and tool
// bar makes for itself is read only when first drawn. Reading it at once loads the image plugins
// before the main window's first picture, for a button that shows only on an overflowing bar.
// Under Fusion, the picture its group boxes are framed with is read without them (readGroupBoxFrame).
class DeferredIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
    void polish(QApplication* application) override;
    using QProxyStyle::polish;
};

// Fusion frames a group box with a picture from Qt's resources, read through QPixmap's file cache.
// That first read asks every image plugin whether it claims the file, which loads them all inside
// the first paint. This reads it with the built-in decoder alone and puts it where that cache looks;
// were the cache's key ever different, Qt would read the file itself as before.
QPixmap readGroupBoxFrame();

} // namespace ui
