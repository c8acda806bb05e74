// The filter dialog.
#include "filter/frmfilter.h"

#include "core/programdir.h"
#include "db/database.h"
#include "core/named.h"
#include "filter/valuelists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>
#include <optional>

namespace filter {

namespace {

template <typename Control>
Control* framed(QGridLayout* grid, QWidget* parent, const QString& caption, const char* name, int row, int column,
                int columnSpan = 1) {
    auto* frame = new QGroupBox(caption, parent);
    auto* inner = new QVBoxLayout(frame);
    auto* control = ui::named(new Control(frame), name);
    inner->addWidget(control);
    grid->addWidget(frame, row, column, 1, columnSpan);
    return control;
}

QCheckBox* box(QWidget* parent, const QString& caption, const char* name) {
    return ui::named(new QCheckBox(caption, parent), name);
}

} // namespace

frmFilter::frmFilter(QWidget* owner, QString& ownerWhere, std::function<void()> quickFiltersChanged, FilterValueLists* lists)
    : FilterDialog(owner, ownerWhere, std::move(quickFiltersChanged)) {
    setObjectName(QStringLiteral("frmFilter"));
    setWindowTitle(QStringLiteral("Filter"));
    auto* grid = new QGridLayout(this);

    lblTitle = new QLabel(QStringLiteral("Filter-Einstellungen"), this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(9.75);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    grid->addWidget(lblTitle, 0, 0, 1, 3);

    cmbKartenArt = framed<QComboBox>(grid, this, QStringLiteral("Karten-Art"), "cmbKartenArt", 1, 0);
    cmbStF = framed<QComboBox>(grid, this, QStringLiteral("St. Feuer"), "cmbStF", 1, 1);
    chkAbgewehrtFeuer = box(this, QStringLiteral("Abgewehrt"), "chkAbgewehrtFeuer");
    grid->addWidget(chkAbgewehrtFeuer, 1, 2);
    cmbFraktion = framed<QComboBox>(grid, this, QStringLiteral("Fraktion"), "cmbFraktion", 2, 0);
    cmbStE = framed<QComboBox>(grid, this, QStringLiteral("St. Erde"), "cmbStE", 2, 1);
    chkAbgewehrtErde = box(this, QStringLiteral("Abgewehrt"), "chkAbgewehrtErde");
    grid->addWidget(chkAbgewehrtErde, 2, 2);
    txtName = framed<QLineEdit>(grid, this, QStringLiteral("Name"), "txtName", 3, 0);
    cmbMonde = framed<QComboBox>(grid, this, QStringLiteral("Monde"), "cmbMonde", 3, 1);
    txtFertigkeiten = framed<QLineEdit>(grid, this, QStringLiteral("Sonderfunktion"), "txtFertigkeiten", 4, 0);
    cmbGang = framed<QComboBox>(grid, this, QStringLiteral("Gang"), "cmbGang", 4, 1, 2);

    auto* ticks = new QGridLayout;
    chkGeschuetzt = box(this, QStringLiteral("Geschützt"), "chkGeschützt");
    chkStopp = box(this, QStringLiteral("Stopp"), "chkStopp");
    chkWiederAufnehmen = box(this, QStringLiteral("Wieder Aufnehmen"), "chkWiederAufnehmen");
    chkFrei = box(this, QStringLiteral("Frei"), "chkFrei");
    chkPaar = box(this, QStringLiteral("Paar"), "chkPaar");
    chkErsetzen = box(this, QStringLiteral("Ersetzen"), "chkErsetzen");
    ticks->addWidget(chkGeschuetzt, 0, 0);
    ticks->addWidget(chkStopp, 1, 0);
    ticks->addWidget(chkWiederAufnehmen, 2, 0);
    ticks->addWidget(chkFrei, 0, 1);
    ticks->addWidget(chkPaar, 1, 1);
    ticks->addWidget(chkErsetzen, 2, 1);
    grid->addLayout(ticks, 5, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    cmdSave = ui::named(new QPushButton(QStringLiteral("Speichern"), this), "cmdSave");
    cmdNoFilter = ui::named(new QPushButton(QStringLiteral("Kein Filter"), this), "cmdNoFilter");
    cmdOK = ui::named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setDefault(true);
    for (QPushButton* b : {cmdSave, cmdNoFilter, cmdOK})
        buttons->addWidget(b);
    grid->addLayout(buttons, 6, 0, 1, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);

    for (QComboBox* list : {cmbKartenArt, cmbFraktion, cmbStF, cmbStE, cmbMonde, cmbGang})
        list->setMinimumContentsLength(list == cmbKartenArt || list == cmbFraktion ? 18 : 6);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        where() = funcBuildFilter(choices());
        keep();
    });
    connect(cmdNoFilter, &QPushButton::clicked, this, [this] {
        where().clear();
        reject();
    });
    connect(cmdSave, &QPushButton::clicked, this, &frmFilter::save);

    fillLists(lists);
}

void frmFilter::fillLists(FilterValueLists* kept) {
    QComboBox* const boxes[] = {cmbKartenArt, cmbFraktion, cmbGang, cmbStF, cmbStE, cmbMonde};
    std::optional<FilterValueLists> read;
    if (!kept)
        kept = &read.emplace(core::databasePath());
    const QList<QStringList>& lists = kept->lists();
    for (size_t i = 0; i < std::size(boxes); ++i) {
        boxes[i]->addItems(lists[static_cast<qsizetype>(i)]);
        boxes[i]->setCurrentIndex(0);
    }
}

FilterChoices frmFilter::choices() const {
    FilterChoices c;
    c.kartenArt = cmbKartenArt->currentText();
    c.fraktion = cmbFraktion->currentText();
    c.stFeuer = cmbStF->currentText();
    c.stErde = cmbStE->currentText();
    c.monde = cmbMonde->currentText();
    c.name = txtName->text();
    c.fertigkeiten = txtFertigkeiten->text();
    c.gang = cmbGang->currentText();
    c.frei = chkFrei->isChecked();
    c.paar = chkPaar->isChecked();
    c.geschuetzt = chkGeschuetzt->isChecked();
    c.wiederAufnehmen = chkWiederAufnehmen->isChecked();
    c.stopp = chkStopp->isChecked();
    c.ersetzen = chkErsetzen->isChecked();
    c.abgewehrtFeuer = chkAbgewehrtFeuer->isChecked();
    c.abgewehrtErde = chkAbgewehrtErde->isChecked();
    return c;
}

void frmFilter::showEvent(QShowEvent* event) {
    // Opening the dialog starts from an unfiltered pool; only "OK" sets a filter again.
    where().clear();
    KeptDialog::showEvent(event);
}

void frmFilter::save() {
    const QString text = funcBuildFilter(choices());
    if (text.isEmpty()) {
        core::prompter().message(QStringLiteral("Es ist kein Filter eingestellt."), QStringLiteral("Dravenna Filter speichern"),
                                 core::Icon::Information, core::Buttons::Ok);
        return;
    }
    saveFilterLine(text);
}

} // namespace filter
