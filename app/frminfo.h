#pragma once

#include <QDialog>

class QLabel;

namespace ui {

// The about box: title, version and a notice.
class frmInfo : public QDialog {
    Q_OBJECT
public:
    explicit frmInfo(QWidget* owner);
    QLabel* lblVersion = nullptr;
};

} // namespace ui
