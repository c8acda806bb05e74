#pragma once

#include "app/frmmain.h"
#include "deck/deckstep.h"

namespace ui {

// Records one step of the player while it lives: the deck as it was when the step began and as it
// is when the step ends go onto the undo stack as one entry (nothing when nothing changed, also
// when the step ended in a failure after changing part of the deck). Inside another recording,
// or while a step is taken back or done again, it records nothing.
class frmMain::DeckRecorder {
public:
    enum class Scope {
        Choice, // leader or inquisitor only
        Card,   // the rows of one card name
        Deck,   // every row of DECK
    };

    // Reads the deck before anything changes; throws db::DbError when it cannot.
    DeckRecorder(frmMain& window, const QString& text, Scope scope, const QString& cardName = QString());
    ~DeckRecorder();
    DeckRecorder(const DeckRecorder&) = delete;
    DeckRecorder& operator=(const DeckRecorder&) = delete;

    // What the entry is called when the step turned out to be something else.
    void setText(const QString& text) { m_text = text; }

private:
    deck::DeckRows read() const;

    frmMain& m_window;
    QString m_text;
    Scope m_scope;
    QString m_cardName;
    bool m_active = false;
    deck::DeckRows m_before;
};

} // namespace ui
