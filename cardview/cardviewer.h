#pragma once

#include <QString>

namespace cardview {

// What the main window asks of the card window.
class CardViewer {
public:
    virtual ~CardViewer() = default;
    // sTable empty means "KARTEN".
    virtual void showCard(const QString& sKartenname, const QString& sTable) = 0;
    virtual void closeWindow() = 0;
};

} // namespace cardview
