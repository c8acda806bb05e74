// The main window's entries for the deck's history: "Rückgängig" and "Wiederholen".
#include "app/frmmain.h"
#include "core/named.h"
#include "deck/deckhistory.h"

#include <QMenu>

namespace ui {

void frmMain::addUndoEntries(QMenu* menu) {
    menu->addSeparator()->setObjectName(QStringLiteral("mnuSepUndo"));
    mnuRueckgaengig = named(m_history->createUndoAction(menu), "mnuRueckgaengig");
    mnuRueckgaengig->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    // The deck's keys work in whichever of the program's windows the player is.
    mnuRueckgaengig->setShortcutContext(Qt::ApplicationShortcut);
    mnuWiederholen = named(m_history->createRedoAction(menu), "mnuWiederholen");
    mnuWiederholen->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    mnuWiederholen->setShortcutContext(Qt::ApplicationShortcut);
    menu->addAction(mnuRueckgaengig);
    menu->addAction(mnuWiederholen);
    connect(m_history, &deck::DeckHistory::replayFailed, this, [](bool back, const core::AppError& e) {
        core::prompter().message(QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + core::readableDescription(e) +
                                     (back ? QStringLiteral("\r\n\r\nDer Schritt wurde nicht rückgängig gemacht, das Deck ist "
                                                            "unverändert.")
                                           : QStringLiteral("\r\n\r\nDer Schritt wurde nicht wiederholt, das Deck ist "
                                                            "unverändert.")),
                                 back ? QStringLiteral("Rückgängig") : QStringLiteral("Wiederholen"), core::Icon::Critical,
                                 core::Buttons::Ok);
    });
}

} // namespace ui
