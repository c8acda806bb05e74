// The main window for keyboard and screen-reader users: shortcuts, the name box's keys, names, tool tips, column widths.
#include "app/frmmain.h"

#include "app/guarded.h"
#include "core/settings.h"
#include "db/flexgrid.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace ui {

namespace {

const QString kColumnSection = QStringLiteral("Spalten");

// Designed widths unless the store holds one sensible width per column (twips, as text).
QList<int> storedWidths(const QString& key, const QList<int>& designed) {
    const QStringList parts = core::openSettings(kColumnSection)->value(key).toString().split(u',');
    if (parts.size() != designed.size())
        return designed;
    QList<int> widths;
    for (const QString& part : parts) {
        bool ok = false;
        const int twips = part.trimmed().toInt(&ok);
        if (!ok || twips < 60 || twips > 30000)
            return designed;
        widths << twips;
    }
    return widths;
}

QString widthsText(const QList<int>& twips) {
    QStringList parts;
    for (int t : twips)
        parts << QString::number(t);
    return parts.join(u',');
}

} // namespace

void frmMain::addPlayerKeys() {
    const QList<std::pair<const char*, const char*>> shortcuts = {
        {"mnuNeuesDeck", "Ctrl+N"}, {"mnuLaden", "Ctrl+O"}, {"mnuSpeichern", "Ctrl+S"}, {"mnuBeenden", "Ctrl+Q"}, {"mnuUeber", "F1"}};
    for (const auto& [name, keys] : shortcuts)
        if (auto* entry = findChild<QAction*>(QString::fromLatin1(name)))
            entry->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    auto focusKey = [this](const char* keys, QWidget* target) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        connect(action, &QAction::triggered, target, [target] {
            target->setFocus(Qt::ShortcutFocusReason);
            if (auto* box = qobject_cast<QLineEdit*>(target))
                box->selectAll();
        });
        addAction(action);
    };
    focusKey("Ctrl+F", txtQuickNameFilter);
    focusKey("Ctrl+L", cmbQuickFilter);
    // Found by name, added with Enter; Down goes on into the pool.
    txtQuickNameFilter->installEventFilter(this);
    connect(txtQuickNameFilter, &QLineEdit::returnPressed, this, [this] {
        if (flxPool->Row() > 0)
            guarded(u"Karte hinzufügen"_qs, [this] { addCard(); });
    });

    const auto name = [](QWidget* widget, const char* text) { widget->setAccessibleName(QString::fromUtf8(text)); };
    name(flxPool, "Kartenpool");
    name(flxDeck, "Deck");
    name(cmbLeader, "Anführer");
    name(cmbInquisitor, "Inquisitor");
    name(cmdShowLeader, "Anführer anzeigen");
    name(cmdShowInq, "Inquisitor anzeigen");
    name(cmdStandard, "Standard-Deck");
    name(txtQuickNameFilter, "Quick-Name-Filter");
    name(cmbQuickFilter, "Quick-Filter");
    name(tvwNotes, "Hinweise");
    name(lblAnzPool, "Anzahl Karten im Pool");
    name(lblAnzDeck, "Anzahl Karten im Deck");

    const QString strength = QStringLiteral("Stärke Feuer\\Erde: „2\\6“ heißt Feuer 2 und Erde 6.\n"
                                            "Eine Zahl in eckigen Klammern ist abgewehrt: „[1]\\0“ heißt Feuer 1 abgewehrt, Erde 0.\n"
                                            "Ein Klick sortiert nacheinander nach Feuer und Erde, auf- und absteigend.");
    const QString byValue = QStringLiteral("Klick: sortieren.\nRechtsklick: nur Karten mit einem Wert dieser Spalte zeigen.");
    for (FlexGrid* grid : {flxPool, flxDeck})
        grid->setHeaderToolTip(3, strength);
    for (int column : {0, 2, 4})
        flxPool->setHeaderToolTip(column, byValue);
}

bool frmMain::nameBoxKey(QKeyEvent* event) {
    if (event->key() != Qt::Key_Down || event->modifiers() != Qt::NoModifier || flxPool->Rows() < 2)
        return false;
    flxPool->setFocus(Qt::TabFocusReason);
    flxPool->setRow(1);
    return true;
}

void frmMain::restoreColumnWidths() {
    flxPool->setColumnWidthsTwips(storedWidths(QStringLiteral("flxPool"), flxPool->columnWidthsTwips()));
    flxDeck->setColumnWidthsTwips(storedWidths(QStringLiteral("flxDeck"), flxDeck->columnWidthsTwips()));
}

void frmMain::storeColumnWidths() {
    const auto s = core::openSettings(kColumnSection);
    s->setValue(QStringLiteral("flxPool"), widthsText(flxPool->columnWidthsTwips()));
    s->setValue(QStringLiteral("flxDeck"), widthsText(flxDeck->columnWidthsTwips()));
}

} // namespace ui
