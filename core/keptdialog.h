#pragma once

#include <QDialog>
#include <memory>

namespace ui {

// A modal dialog that "OK" only hides, so that it shows the player's settings again next time;
// every other way of closing it (its own cancel button, the close box, Esc) lets the owner unload it.
class KeptDialog : public QDialog {
public:
    using QDialog::QDialog;

    bool unloadRequested() const { return m_unload; }
    void reject() override {
        m_unload = true;
        QDialog::reject();
    }

protected:
    void keep() {
        m_unload = false;
        accept();
    }

private:
    bool m_unload = false;
};

// Shows the kept dialog modally, making it first when there is none, and unloads it afterwards
// when it asked for that.
template <typename Dialog, typename Make>
void showKept(std::unique_ptr<Dialog>& dialog, Make make) {
    if (!dialog)
        dialog = make();
    dialog->exec();
    if (dialog->unloadRequested())
        dialog.reset();
}

} // namespace ui
