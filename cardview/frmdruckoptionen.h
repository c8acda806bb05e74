#pragma once

#include "cardview/decksheets.h"

#include <QDialog>

class QCheckBox;

namespace cardview {

// Which sheets to print and whether with cut marks; the choice is kept for the next time.
class frmDruckoptionen : public QDialog {
    Q_OBJECT
public:
    frmDruckoptionen(QWidget* owner, const QString& title);
    SheetOptions options() const;
    // Keeps the choice; called when the player goes on.
    void store() const;

    QCheckBox* chkDeckList = nullptr;
    QCheckBox* chkProxies = nullptr;
    QCheckBox* chkCutMarks = nullptr;
};

} // namespace cardview
