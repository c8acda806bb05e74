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

class DeckFiles;
class frmStarthand;

// The deck tools beside the deck editor: import from text, comparison with another deck, the opening
// hand, print and PDF. They work on the deck's owner and choose files as the deck's files do.
class DeckTools : public QObject {
    Q_OBJECT
public:
    // showCard shows a card in the card window, opening it where it is closed.
    DeckTools(QWidget* window, deck::DeckSession& deck, deck::DeckHistory& history, QString databasePath, DeckFiles& files,
              std::function<void(const QString& name)> showCard);
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
    DeckFiles& m_files;
    std::function<void(const QString&)> m_showCard;
    QMenu* m_compareMenu = nullptr;
    std::unique_ptr<cardview::PictureLibrary> m_pictures;
    frmStarthand* m_starthand = nullptr;
    bool m_starthandDue = false;
};

} // namespace ui
