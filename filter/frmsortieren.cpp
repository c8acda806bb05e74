// The sort dialog.
#include "filter/frmsortieren.h"

#include "filter/sortcriteria.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace filter {

frmSortieren::frmSortieren(QWidget* owner, QString& order) : KeptDialog(owner), m_order(order) {
    setObjectName(QStringLiteral("frmSortieren"));
    setWindowTitle(QStringLiteral("Sortier-Reihenfolge"));
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 5; ++i) {
        auto* frame = new QGroupBox(QStringLiteral("%1. Kriterium").arg(i + 1), this);
        frame->setObjectName(QStringLiteral("Frame1_%1").arg(i));
        auto* row = new QHBoxLayout(frame);
        auto* criterion = new QComboBox(frame);
        criterion->setObjectName(QStringLiteral("cmbKriterium_%1").arg(i));
        criterion->addItems(sortEntries());
        criterion->setCurrentIndex(-1);
        criterion->setMinimumWidth(160);
        auto* direction = new QComboBox(frame);
        direction->setObjectName(QStringLiteral("cmbRichtung_%1").arg(i));
        direction->addItems({QStringLiteral("aufsteigend"), QStringLiteral("absteigend")});
        row->addWidget(criterion, 3);
        row->addWidget(direction, 2);
        layout->addWidget(frame);
        Frame1 << frame;
        cmbKriterium << criterion;
        cmbRichtung << direction;
    }
    auto* buttons = new QHBoxLayout;
    cmdCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);

    connect(cmdCancel, &QPushButton::clicked, this, &frmSortieren::reject);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        QVector<SortCriterion> criteria;
        for (int i = 0; i < 5; ++i) {
            // An entry shown empty sets nothing, whatever its position.
            const int entry = cmbKriterium[i]->currentText().isEmpty() ? 0 : cmbKriterium[i]->currentIndex();
            criteria.append({entry, cmbRichtung[i]->currentText() == u"aufsteigend"});
        }
        m_order = buildOrder(criteria);
        keep();
    });
}

} // namespace filter
