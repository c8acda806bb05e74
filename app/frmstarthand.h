#pragma once

#include "deck/handodds.h"

#include <QDialog>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace cardview {
class PictureLibrary;
}

namespace ui {

// "Starthand": a sample hand of N cards with a seed that repeats it, and the exact odds of holding at
// least k cards of each faction, card type and moon value in the first N. Shown beside the main window.
class frmStarthand : public QDialog {
    Q_OBJECT
public:
    // Pictures come from the library when it is there; without it each card shows its name.
    frmStarthand(QWidget* owner, const QString& databasePath, cardview::PictureLibrary* library);

    // Reads the deck again and draws the hand of the same seed: after every change of the deck.
    void reloadDeck();
    // Draws again with a new seed ("Neue Hand").
    void newHand();

    quint64 seed() const;
    const std::vector<deck::HandCard>& hand() const { return m_hand; }

    QSpinBox* spnHandSize = nullptr;
    QLineEdit* txtSeed = nullptr;
    QPushButton* cmdNewHand = nullptr;
    QTableWidget* tblOdds = nullptr;
    QWidget* fraHand = nullptr;

private:
    void draw();
    void showOdds();

    QString m_databasePath;
    cardview::PictureLibrary* m_library;
    std::vector<deck::HandCard> m_cards;
    std::vector<deck::HandCard> m_hand;
    QHBoxLayout* m_handLayout = nullptr;
};

} // namespace ui
