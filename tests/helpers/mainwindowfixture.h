#pragma once

#include "db/flexgrid.h"
#include "app/frmmain.h"
#include "tests/helpers/recordingviewer.h"
#include "tests/helpers/scriptedprompter.h"
#include "tests/helpers/testprogramdir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace testing {

// A real main window on a fresh program folder, with scripted prompts and a recording card window.
struct MainWindowFixture {
    TestProgramDir dir;
    ScriptedPrompter prompter;
    RecordingViewer viewer;
    std::unique_ptr<ui::frmMain> window;

    void start(const QString& commandLine = QString());
    // Closes the window as the frame's close box would; true when it closed.
    bool close();

    int poolRows() const { return window->flxPool->Rows() - 1; }
    int deckRows() const { return window->flxDeck->Rows() - 1; }
    void chooseLeader(const QString& name);    // the entry whose name is exactly this
    void chooseInquisitor(const QString& name);
    int poolRowOf(const QString& cardName) const; // 0 when not in the pool
    void doubleClickPoolRow(int row);
    void clickPoolHeader(int column, Qt::MouseButton button = Qt::LeftButton);
    int deckCountInDatabase() const;
    void trigger(const char* action); // a menu entry, by its object name
    void addByNumber(const QStringList& numbers); // double-clicks the pool rows of these cards

    // Triggers the menu entry and runs act on the modal dialog it opens; false when none opened.
    // A dialog that act leaves open is closed with its close box so that the test never hangs.
    template <typename Dialog>
    bool withDialog(const char* entry, const std::function<void(Dialog&)>& act) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            act(*dialog);
            if (dialog->isVisible())
                dialog->close();
        });
        trigger(entry);
        return seen;
    }
    QStringList deckNames() const;
};

} // namespace testing
