#pragma once

#include "cardview/cardviewer.h"

#include <QPair>
#include <QVector>

namespace testing {

// Stands in the card window's place and remembers what the main window asked of it.
class RecordingViewer : public cardview::CardViewer {
public:
    void showCard(const QString& sKartenname, const QString& sTable) override { shown.append({sKartenname, sTable}); }
    void closeWindow() override { ++closed; }

    QPair<QString, QString> last() const { return shown.isEmpty() ? QPair<QString, QString>() : shown.last(); }

    QVector<QPair<QString, QString>> shown;
    int closed = 0;
};

} // namespace testing
