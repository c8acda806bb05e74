#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace cardview {
class PictureLibrary;
struct SheetContent;
struct SheetOptions;
}

namespace deck {
class DeckHistory;
class DeckSession;
}

namespace ui {

class frmStarthand;

// The deck tools beside the deck editor: import from text, comparison with another deck, the opening
// hand, print and PDF. They work on the deck's owner; what they need of the main window comes as hooks.
class DeckTools : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Whether the deck being edited may be replaced (the player was asked where it has changes).
        std::function<bool(const QString& title)> mayDiscardDeck;
        // True where the deck may not be printed yet (the player was told why).
        std::function<bool()> deckIncomplete;
        // The file dialog of the main window: mode "Open" or "Save", title, extension, filter name, flags.
        std::function<QString(const QString&, const QString&, const QString&, const QString&, unsigned)> fileDialog;
        // Shows a card in the card window, opening it where it is closed.
        std::function<void(const QString& name)> showCard;
    };

    DeckTools(QWidget* window, deck::DeckSession& deck, deck::DeckHistory& history, QString databasePath, Hooks hooks);
    ~DeckTools() override;

    // Entries behind the specified ones: the Deck menu's at its end, the Datei menu's just above exitEntry.
    void addDeckEntries(QMenu* deckMenu);
    void addFileEntries(QMenu* datei, QAction* exitEntry);
    // "Vergleichen mit…" offers these decks after its file dialog entry.
    void listCompareChoices(const QStringList& paths, const QStringList& captions);
    // "Vergleichen mit…" with this file chosen.
    void compareWithFile(const QString& path);

private:
    void importText();
    void compareWithChosenFile();
    void showStarthand();
    void print();
    void savePdf();
    std::optional<cardview::SheetOptions> askSheetOptions(const QString& title);
    cardview::PictureLibrary& pictures();
    // What the sheets show of the deck being edited, read on a connection closed again at once.
    cardview::SheetContent sheetContent();

    QWidget* m_window;
    deck::DeckSession& m_deck;
    deck::DeckHistory& m_history;
    QString m_databasePath;
    Hooks m_hooks;
    QMenu* m_compareMenu = nullptr;
    std::unique_ptr<cardview::PictureLibrary> m_pictures;
    frmStarthand* m_starthand = nullptr;
    bool m_starthandDue = false;
};

} // namespace ui
