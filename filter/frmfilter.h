#pragma once

#include "filter/filterbuilder.h"
#include "filter/filterdialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace filter {

class FilterValueLists;

// Restricts the pool by card attributes; "OK" sets the filter text, "Speichern" keeps it as a file.
class frmFilter : public FilterDialog {
    Q_OBJECT
public:
    // The value lists come from lists when given (kept between openings), else from the file.
    frmFilter(QWidget* owner, QString& where, std::function<void()> quickFiltersChanged, FilterValueLists* lists = nullptr);

    FilterChoices choices() const;

    QLabel* lblTitle = nullptr;
    QComboBox* cmbKartenArt = nullptr;
    QComboBox* cmbFraktion = nullptr;
    QComboBox* cmbStF = nullptr;
    QComboBox* cmbStE = nullptr;
    QComboBox* cmbMonde = nullptr;
    QComboBox* cmbGang = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtFertigkeiten = nullptr;
    QCheckBox* chkFrei = nullptr;
    QCheckBox* chkPaar = nullptr;
    QCheckBox* chkGeschuetzt = nullptr;
    QCheckBox* chkWiederAufnehmen = nullptr;
    QCheckBox* chkStopp = nullptr;
    QCheckBox* chkErsetzen = nullptr;
    QCheckBox* chkAbgewehrtFeuer = nullptr;
    QCheckBox* chkAbgewehrtErde = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdNoFilter = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillLists(FilterValueLists* lists);
    void save();
};

} // namespace filter
