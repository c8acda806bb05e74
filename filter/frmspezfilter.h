#pragma once

#include "filter/filterdialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace filter {

// A typed condition for the pool, tested against the catalogue before it is accepted.
class frmSpezFilter : public FilterDialog {
    Q_OBJECT
public:
    frmSpezFilter(QWidget* owner, QString& where, std::function<void()> quickFiltersChanged);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPlainTextEdit* txtFilter = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdNoFilter = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyCondition();
    void load();
};

} // namespace filter
