// The small window that asks which sheets go on paper.
#include "cardview/frmdruckoptionen.h"

#include "core/settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace cardview {

namespace {
const QString kSection = QStringLiteral("frmDruckoptionen");
}

frmDruckoptionen::frmDruckoptionen(QWidget* owner, const QString& title) : QDialog(owner) {
    setObjectName(QStringLiteral("frmDruckoptionen"));
    setWindowTitle(title);
    const auto s = core::openSettings(kSection);
    chkDeckList = new QCheckBox(QStringLiteral("Deckliste mit Hinweisen"), this);
    chkDeckList->setObjectName(QStringLiteral("chkDeckList"));
    chkDeckList->setChecked(s->value(QStringLiteral("DeckList"), true).toBool());
    chkProxies = new QCheckBox(QStringLiteral("Kartenbilder (63 × 88 mm, 9 je A4-Seite)"), this);
    chkProxies->setObjectName(QStringLiteral("chkProxies"));
    chkProxies->setChecked(s->value(QStringLiteral("Proxies"), true).toBool());
    chkCutMarks = new QCheckBox(QStringLiteral("Schnittmarken"), this);
    chkCutMarks->setObjectName(QStringLiteral("chkCutMarks"));
    chkCutMarks->setChecked(s->value(QStringLiteral("CutMarks"), true).toBool());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* go = buttons->addButton(QStringLiteral("Weiter"), QDialogButtonBox::AcceptRole);
    go->setObjectName(QStringLiteral("cmdWeiter"));
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto update = [this, go] {
        chkCutMarks->setEnabled(chkProxies->isChecked());
        go->setEnabled(chkDeckList->isChecked() || chkProxies->isChecked());
    };
    connect(chkDeckList, &QCheckBox::toggled, this, update);
    connect(chkProxies, &QCheckBox::toggled, this, update);
    update();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkDeckList);
    layout->addWidget(chkProxies);
    layout->addWidget(chkCutMarks);
    layout->addWidget(buttons);
}

SheetOptions frmDruckoptionen::options() const {
    return {chkDeckList->isChecked(), chkProxies->isChecked(), chkCutMarks->isChecked()};
}

void frmDruckoptionen::store() const {
    const auto s = core::openSettings(kSection);
    s->setValue(QStringLiteral("DeckList"), chkDeckList->isChecked());
    s->setValue(QStringLiteral("Proxies"), chkProxies->isChecked());
    s->setValue(QStringLiteral("CutMarks"), chkCutMarks->isChecked());
}

} // namespace cardview
