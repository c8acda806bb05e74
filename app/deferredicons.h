#pragma once

#include <QProxyStyle>

namespace ui {

// The program's style: the desktop's own, except that the extension arrow every menu bar and tool
// bar makes for itself is read only when first drawn. Reading it at once loads the image plugins
// before the main window's first picture, for a button that shows only on an overflowing bar.
class DeferredIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
};

} // namespace ui
