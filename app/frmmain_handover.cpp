// The main window's decks from outside: handed over by a later start, dropped on it, or named on the
// command line with boxes that wait for the window.
#include "app/frmmain.h"
#include "app/deckfiles.h"
#include "core/startup.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QWindow>
#include <utility>

namespace ui {

void frmMain::takeHandOver(const QString& deckPath, bool toFront) {
    if (toFront) {
        if (isMinimized())
            showNormal();
        show();
        raise();
        activateWindow();
    }
    m_handedOver << deckPath;
    QTimer::singleShot(0, this, &frmMain::loadHandedOver);
}

void frmMain::loadHandedOver() {
    // A question must not pop up over a dialog the player is working in; the deck waits for it.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, &frmMain::loadHandedOver);
        return;
    }
    while (!m_handedOver.isEmpty()) {
        const QString path = m_handedOver.takeFirst();
        // A path that names no file is passed over without a message, as at start-up.
        if (!path.isEmpty() && QFileInfo(path).isFile())
            funcLoadFile(path);
        Q_EMIT handOverDone();
    }
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !core::droppedDeckFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = core::droppedDeckFile(event->mimeData()->urls());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Loaded after the drop has finished: the source program is not kept waiting on a question.
    takeHandOver(path, false);
}

void frmMain::showHeldBoxes() {
    // Once the window manager has the window on screen and active, so that the box is its own; a desktop
    // that never activates it gets the box after a while all the same.
    if (m_heldBoxes.empty() || m_closing)
        return;
    const bool up = windowHandle() && windowHandle()->isExposed() && isActiveWindow();
    if (!up && ++m_heldWaits < 60) {
        QTimer::singleShot(50, this, &frmMain::showHeldBoxes);
        return;
    }
    for (const HeldBoxes::Box& box : std::exchange(m_heldBoxes, {}))
        core::prompter().message(box.text, box.title, box.icon, core::Buttons::Ok);
}

} // namespace ui
