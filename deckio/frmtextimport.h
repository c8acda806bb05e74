#pragma once

#include "deckio/textimport.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace deckio {

// "Aus Text importieren": a text box, a preview that marks every line as recognised, ambiguous or
// unknown, and the deck it would make. Accepted with "Übernehmen"; what to take is deck().
class frmTextImport : public QDialog {
    Q_OBJECT
public:
    // The text box starts with the clipboard's text when it holds any.
    frmTextImport(QWidget* owner, const QString& databasePath);
    ~frmTextImport() override;

    void setText(const QString& text);
    // Reads the text again now (otherwise a moment after the last key).
    void refresh();
    // The player's choice for an ambiguous line, as its box in the preview offers it (candidate -1: none).
    void choose(int lineIndex, int candidate);

    const ImportedDeck& deck() const { return m_deck; }

    QPlainTextEdit* txtText = nullptr;
    QTreeWidget* lstLines = nullptr;
    QLabel* lblSummary = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void showLines();
    void showSummary();

    QString m_databasePath;
    std::unique_ptr<CardNames> m_names;
    ImportedDeck m_deck;
    QTimer* m_delay = nullptr;
};

} // namespace deckio
