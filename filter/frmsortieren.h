#pragma once

#include "core/keptdialog.h"

#include <QVector>

class QComboBox;
class QGroupBox;
class QPushButton;

namespace filter {

// Up to five sort criteria for pool and deck; "OK" writes the order text.
class frmSortieren : public ui::KeptDialog {
    Q_OBJECT
public:
    frmSortieren(QWidget* owner, QString& order);

    QVector<QGroupBox*> Frame1;
    QVector<QComboBox*> cmbKriterium;
    QVector<QComboBox*> cmbRichtung;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;

private:
    QString& m_order;
};

} // namespace filter
