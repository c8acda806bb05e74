#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QByteArray;
class QMenu;
class QWidget;

namespace core {
struct FileDialogState;
}

namespace deck {
class DeckHistory;
class DeckSession;
}

namespace ui {

// The deck's files: the program's deck files, the deck list, the exchange with CardTable and the
// decks last used. Each step works on the deck's owner and reports its own failures in a box.
class DeckFiles : public QObject {
    Q_OBJECT
public:
    DeckFiles(QWidget* window, deck::DeckSession& deck, deck::DeckHistory& history, QString databasePath,
              core::FileDialogState& dialog);

    // The specified entries of "Datei" and of "CardTable".
    void addFileEntries(QMenu* datei);
    void addCardTableEntries(QMenu* cardTable);
    // "Zuletzt geöffnet", just above exitEntry.
    QMenu* addRecentEntries(QMenu* datei, QAction* exitEntry);
    // Lists the decks last used again, and reports them.
    void refreshRecentMenu();

    // True where the deck may not be saved, listed or exported yet; the player was told why.
    bool funcDeckIncomplete();
    // The open ("Open") or save ("Save") dialog; the chosen path, empty when nothing was chosen.
    QString funcFileDialog(const QString& mode, const QString& title, const QString& extension,
                           const QString& filterName, unsigned flags);
    // Asks before a new deck replaces the cards of the deck; false when the player says No.
    bool mayDiscardDeck(const QString& title);
    // Asks for a file name and writes the bytes there whole or not at all, then says where; the path,
    // empty when the player chose none. Throws db::DbError when the file cannot be written.
    QString saveChosenFile(const QString& title, const QString& extension, const QString& filterName,
                           const std::function<QByteArray()>& bytes, const QString& doneText, const QString& doneTitle);

    void funcSave();
    void funcLoad();
    // "Deck Laden" with the file already chosen.
    void funcLoadFile(const QString& path);
    // Reads the file into the deck, which the caller has agreed to replace.
    void LoadDeckFile(const QString& path);
    void funcSaveDeckList();
    void funcShowDeckList();
    void funcExportCardTable();
    void funcImportCardTable();

Q_SIGNALS:
    // The decks last used, newest first, with the captions the menu shows.
    void recentDecksChanged(const QStringList& paths, const QStringList& captions);

private:
    // Asks the discard question, then for a file, which load reads into the deck; when the player
    // agreed but chose no file, the deck is discarded all the same.
    void replaceFromChosenFile(const QString& question, const QString& title, const QString& extension,
                               const QString& filterName, void (DeckFiles::*load)(const QString&));
    // The deck list of the current deck; empty when the deck may not be listed (the player was told).
    QString deckListText();
    // Appends the CardTable deck file's content; true when there is none to write (the player was told).
    bool BuildCardTableDeck(QByteArray& text);
    void ImportCardTableFile(const QString& path);
    void rememberDeckFile(const QString& path);
    // "Deck Laden" with this file chosen; a file that has gone is taken off the list instead.
    void openRecentDeck(const QString& path);

    QWidget* m_window;
    deck::DeckSession& m_deck;
    deck::DeckHistory& m_history;
    QString m_databasePath;
    core::FileDialogState& m_dialog;
    QMenu* m_recent = nullptr;
};

} // namespace ui
