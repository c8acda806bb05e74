#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace deckio {

// Shows a deck list; its text can be edited and copied to the clipboard.
class frmDecklist : public QDialog {
    Q_OBJECT
public:
    explicit frmDecklist(QWidget* owner);
    // Puts the text into the box; showing is the caller's (exec for the modal window).
    void setDecklist(const QString& sDeckliste);
    void ShowDecklist(const QString& sDeckliste);

    QPlainTextEdit* txtDecklist = nullptr;
    QPushButton* cmdClipboard = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace deckio
