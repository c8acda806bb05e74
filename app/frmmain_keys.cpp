// The main window for keyboard and screen-reader users: shortcuts, the name box's keys, names, tool tips.
#include "app/frmmain.h"

#include "app/controldescriptions.h"
#include "app/guarded.h"
#include "db/flexgrid.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace ui {

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

    describeControls(*this);
}

bool frmMain::nameBoxKey(QKeyEvent* event) {
    if (event->key() != Qt::Key_Down || event->modifiers() != Qt::NoModifier || flxPool->Rows() < 2)
        return false;
    flxPool->setFocus(Qt::TabFocusReason);
    flxPool->setRow(1);
    return true;
}

} // namespace ui
