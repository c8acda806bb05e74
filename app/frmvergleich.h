#pragma once

#include "deck/deckcomparison.h"

#include <QDialog>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace ui {

// "Deck vergleichen": the cards only in this deck, in both and only in the other, and the differences in
// card count, foreign moons, factions and card types. A card double-clicked is asked for by name.
class frmVergleich : public QDialog {
    Q_OBJECT
public:
    frmVergleich(QWidget* owner, const deck::DeckComparison& comparison, const QString& otherName);

    QTreeWidget* lstOnlyHere = nullptr;
    QTreeWidget* lstBoth = nullptr;
    QTreeWidget* lstOnlyThere = nullptr;
    QTreeWidget* lstDifferences = nullptr;
    QLabel* lblResult = nullptr;

Q_SIGNALS:
    void cardChosen(const QString& cardName);

private:
    QTreeWidget* cardList(const QString& name, const std::vector<deck::ComparedCard>& cards);
};

} // namespace ui
