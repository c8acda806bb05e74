// The window that sets two decks side by side.
#include "app/frmvergleich.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ui {

frmVergleich::frmVergleich(QWidget* owner, const deck::DeckComparison& c, const QString& otherName) : QDialog(owner) {
    setObjectName(QStringLiteral("frmVergleich"));
    setWindowTitle(QStringLiteral("Deck vergleichen mit ") + otherName);
    resize(900, 620);

    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    QString result = c.equal() ? QStringLiteral("Die beiden Decks sind gleich.")
                               : QStringLiteral("Die Decks unterscheiden sich: %1 Karten nur in diesem, %2 in beiden, %3 nur in %4.")
                                     .arg(c.onlyHere.size())
                                     .arg(c.inBoth.size())
                                     .arg(c.onlyThere.size())
                                     .arg(otherName);
    if (!c.there.unknownNumbers.isEmpty())
        result += QStringLiteral("\nUnbekannte Kartennummern in %1: %2").arg(otherName, c.there.unknownNumbers.join(QStringLiteral(", ")));
    lblResult->setText(result);

    lstOnlyHere = cardList(QStringLiteral("lstOnlyHere"), c.onlyHere);
    lstBoth = cardList(QStringLiteral("lstBoth"), c.inBoth);
    lstOnlyThere = cardList(QStringLiteral("lstOnlyThere"), c.onlyThere);

    lstDifferences = new QTreeWidget(this);
    lstDifferences->setObjectName(QStringLiteral("lstDifferences"));
    lstDifferences->setRootIsDecorated(false);
    lstDifferences->setHeaderLabels({QString(), QStringLiteral("Dieses Deck"), otherName});
    for (const deck::DifferenceRow& row : deck::differenceRows(c)) {
        auto* item = new QTreeWidgetItem(lstDifferences, {row.label, row.here, row.there});
        if (row.differs())
            for (int col = 0; col < 3; ++col) {
                QFont f = item->font(col);
                f.setBold(true);
                item->setFont(col, f);
            }
    }
    lstDifferences->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* grid = new QGridLayout;
    const QString headings[] = {QStringLiteral("Nur in diesem Deck (%1)").arg(c.onlyHere.size()),
                                QStringLiteral("In beiden (%1)").arg(c.inBoth.size()),
                                QStringLiteral("Nur in %1 (%2)").arg(otherName).arg(c.onlyThere.size())};
    QTreeWidget* lists[] = {lstOnlyHere, lstBoth, lstOnlyThere};
    for (int i = 0; i < 3; ++i) {
        auto* heading = new QLabel(headings[i], this);
        heading->setWordWrap(true);
        grid->addWidget(heading, 0, i);
        grid->addWidget(lists[i], 1, i);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fenster schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblResult);
    layout->addLayout(grid, 3);
    layout->addWidget(new QLabel(QStringLiteral("Unterschiede:"), this));
    layout->addWidget(lstDifferences, 2);
    layout->addWidget(buttons);
}

QTreeWidget* frmVergleich::cardList(const QString& name, const std::vector<deck::ComparedCard>& cards) {
    auto* list = new QTreeWidget(this);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Nummer"), QStringLiteral("Name")});
    for (const deck::ComparedCard& card : cards)
        new QTreeWidgetItem(list, {card.number, card.name});
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { Q_EMIT cardChosen(item->text(1)); });
    return list;
}

} // namespace ui
