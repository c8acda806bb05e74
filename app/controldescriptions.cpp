// Accessible names and header tips of the main window's controls.
#include "app/controldescriptions.h"

#include "app/frmmain.h"
#include "db/flexgrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace ui {

void describeControls(frmMain& window) {
    const auto name = [](QWidget* widget, const char* text) { widget->setAccessibleName(QString::fromUtf8(text)); };
    name(window.flxPool, "Kartenpool");
    name(window.flxDeck, "Deck");
    name(window.cmbLeader, "Anführer");
    name(window.cmbInquisitor, "Inquisitor");
    name(window.cmdShowLeader, "Anführer anzeigen");
    name(window.cmdShowInq, "Inquisitor anzeigen");
    name(window.cmdStandard, "Standard-Deck");
    name(window.txtQuickNameFilter, "Quick-Name-Filter");
    name(window.cmbQuickFilter, "Quick-Filter");
    name(window.tvwNotes, "Hinweise");
    name(window.lblAnzPool, "Anzahl Karten im Pool");
    name(window.lblAnzDeck, "Anzahl Karten im Deck");

    const QString strength = QStringLiteral("Stärke Feuer\\Erde: „2\\6“ heißt Feuer 2 und Erde 6.\n"
                                            "Eine Zahl in eckigen Klammern ist abgewehrt: „[1]\\0“ heißt Feuer 1 abgewehrt, Erde 0.\n"
                                            "Ein Klick sortiert nacheinander nach Feuer und Erde, auf- und absteigend.");
    const QString byValue = QStringLiteral("Klick: sortieren.\nRechtsklick: nur Karten mit einem Wert dieser Spalte zeigen.");
    for (FlexGrid* grid : {window.flxPool, window.flxDeck})
        grid->setHeaderToolTip(3, strength);
    for (int column : {0, 2, 4})
        window.flxPool->setHeaderToolTip(column, byValue);
}

} // namespace ui
