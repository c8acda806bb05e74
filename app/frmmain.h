#pragma once

#include "app/heldboxes.h"
#include "core/prompter.h"
#include "db/datacontrol.h"
#include "deck/deckfigures.h"

#include <QMainWindow>
#include <QVector>
#include <memory>
#include <vector>
#include <optional>

class QAction;
class QIcon;
class QKeyEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QTreeWidget;
class QUndoStack;

namespace db {
class Database;
}

namespace cardview {
class CardViewer;
}
namespace filter {
class FilterValueLists;
class frmFilter;
class frmSortieren;
class frmSpezFilter;
}

namespace deck {
struct DeckChange;
class DeckHistory;
class InDeckNumbers;
class DeckSession;
}

namespace ui {

class FlexGrid;
class StatisticsWindow;
class DeckFiles;
class DeckTools;
class NormalPlace;

// The program's icon, for every window of it (the desktop's copy is the SVG in the hicolor theme).
QIcon programIcon();

// The program's main window: pool and deck grids, leader and inquisitor choice, the notes.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up steps; throws db::DbError when the card database cannot be used.
    explicit frmMain(const QString& commandLine = QString(), cardview::CardViewer* cardViewer = nullptr);
    ~frmMain() override;

    // Query members read and set by the dialogs.
    QString SQLPOOL;
    QString SQLDECK;
    QString WHERE;
    QString ORDER;
    QString sDatabasePath;

    db::DataControl dtaPool;
    db::DataControl dtaDeck;

    void CalculateDeck();
    int DeckAbgleichen();
    void funcSetQuickFilterCombo();
    void funcSave();
    void funcLoad();
    // "Deck Laden" with the file already chosen.
    void funcLoadFile(const QString& path);
    void funcImportCardTable();
    void LoadDeckFile(const QString& path);
    bool funcDeckIncomplete();
    QString funcFileDialog(const QString& mode, const QString& title, const QString& extension, const QString& filterName,
                           unsigned flags);

    // Controls other parts read or change.
    FlexGrid* flxPool = nullptr;
    FlexGrid* flxDeck = nullptr;
    QComboBox* cmbLeader = nullptr;
    QComboBox* cmbInquisitor = nullptr;
    QWidget* frmLeader = nullptr;
    QPushButton* cmdShowLeader = nullptr;
    QPushButton* cmdStandard = nullptr;
    QPushButton* cmdShowInq = nullptr;
    QLabel* lblAnzDeck = nullptr;
    QWidget* frmLower = nullptr;
    QLabel* lblAnzPool = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtQuickNameFilter = nullptr;
    QGroupBox* Frame2 = nullptr;
    QComboBox* cmbQuickFilter = nullptr;
    QTreeWidget* tvwNotes = nullptr;
    QLabel* lblNotice = nullptr;
    core::FileDialogState cmdcSaveLoad;

    QAction* mnuKartenAnzeigen = nullptr;
    QMenu* mnuDeck = nullptr;
    QMenu* mnuQuickFilter = nullptr;
    QVector<QAction*> mnuQFilter;
    QAction* mnuQKeinFilter = nullptr;
    // The statistics window ("Statistik…"), once it has been opened. Its class lives in the plugin,
    // so the program itself never names it (a sanitizer build would link its type information).
    QWidget* statisticsWidget() const;
    // What the last evaluation read; the notes and the statistics window show these figures.
    const deck::DeckFigures& deckFigures() const { return m_figures; }

    // "Zuletzt geöffnet" at the end of "Datei": the deck files last loaded or saved.
    QMenu* mnuZuletzt = nullptr;
    QAction* mnuRueckgaengig = nullptr;
    QAction* mnuWiederholen = nullptr;

    // The deck being edited, and its steps for "Rückgängig" and "Wiederholen".
    deck::DeckSession& deckSession() const { return *m_deck; }
    QUndoStack* undoStack() const;

    bool bPoolRightButton = false;

    // A later start's deck path or a dropped deck file: the window comes to the front and, when the
    // path names a file, loads it as "Deck Laden" would (discard question first), once no dialog
    // is open. An empty path only brings the window to the front.
    void takeHandOver(const QString& deckPath, bool toFront = true);
    // Boxes of the start-up deck still wait for the window to be up.
    bool holdsBoxes() const { return !m_heldBoxes.empty(); }

    // Places the controls from the client size (twips); public for tests of the layout rules.
    void layoutControls();
    QWidget* clientArea() const { return centralWidget(); }

Q_SIGNALS:
    // A handed-over or dropped deck path has been dealt with.
    void handOverDone();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Sizes and places the captioned controls so that their texts fit the fonts they are drawn in.
    void fitTexts();
    int fittedWidth(const QPushButton* button) const;
    void buildMenus();
    void setUpGrid(FlexGrid* grid);
    void fillLeaderList();
    void fillInquisitorList();
    void placeFromSettings();
    void writeSettings();

    void showCard(const QString& sKartenname, const QString& sTable);
    void toggleCardWindow();
    // The pool under the filter in force, narrowed to names containing the typed text, marked against the deck.
    void requeryPool(const QString& typedName);
    void requeryPoolAndDeck();
    // Lists, grids, pool marking, notes and statistics follow what the deck reports.
    void paintDeck(const deck::DeckChange& change);
    void poolRefreshWithCount();
    // requeryPool, then the count of its cards.
    void poolRefreshWithCount(const QString& typedName);
    void showPoolCount();
    void onQuickNameFilter(const QString& text);
    // What a keystroke or a dialog would otherwise wait for, read while the program is idle.
    void scheduleIdleWork();
    void idleWork();
    // True, and the work tried again later, while a modal window is up.
    bool waitForModal(QTimer* work);
    QTimer* m_idleWork = nullptr;
    // The filter dialog's lists, read again only after the file changed, and then once the player
    // has paused: a burst of changes costs one reading.
    std::unique_ptr<filter::FilterValueLists> m_filterLists;
    QTimer* m_quietWork = nullptr;
    // What the pool's marking compares with, read again only after the file changed.
    std::unique_ptr<deck::InDeckNumbers> m_deckNumbers;
    deck::InDeckNumbers& deckNumbers();

    // Grid behaviour.
    void onPoolHeader(Qt::MouseButton button, int column, QPoint globalPos);
    void onDeckMouseReleased(Qt::MouseButton button, int row, QPoint globalPos);
    void funcQuickFilterMenu(const QString& sql, const QString& column, QPoint globalPos);
    void onQuickFilterValue(int index);
    void funcNoFilter();
    void addCard();
    void funcDeleteCard(int row);
    void funcMarkPoolRow();
    void funcUnmarkPoolCard(const QString& number);
    // The pool row (from 1) of the first card with exactly this number; 0 when the pool has none.
    int poolRowOfNumber(const QString& number);
    void funcRefreshKeepTop(db::DataControl& source, FlexGrid* grid);

    // Leader and inquisitor.
    void onLeaderChosen(int index);
    void onInquisitorChosen(int index);
    void onShowLeader();
    void onShowInquisitor();
    void onStandardDeck();
    void funcNewDeck();

    // Menu entries that open the filter, sort and exchange dialogs.
    void funcFilterDialog();
    void funcSpecialFilterDialog();
    void funcSortDialog();
    void funcAbout();
    void onQuickFilterChosen(int index);

    // Shortcuts, the name box's keys, accessible names and the headers' tool tips.
    void addPlayerKeys();
    // Down in the name box goes into the pool's first row; true when the key was used.
    bool nameBoxKey(QKeyEvent* event);

    void addUndoEntries(QMenu* menu);
    deck::DeckSession* m_deck = nullptr;
    deck::DeckHistory* m_history = nullptr;

    cardview::CardViewer* m_cardViewer;
    // The dialogs stay loaded after "OK" so that they show the player's settings again.
    std::unique_ptr<filter::frmFilter> m_frmFilter;
    std::unique_ptr<filter::frmSpezFilter> m_frmSpezFilter;
    std::unique_ptr<filter::frmSortieren> m_frmSortieren;
    // Statistics window.
    void addStatisticsEntries(QMenu* deckMenu);
    void funcStatistik();
    void reopenStatistics();
    bool statisticsShown() const;
    StatisticsWindow* m_frmStatistik = nullptr; // from the statistics plugin, loaded on first use
    deck::DeckFigures m_figures;

    NormalPlace* m_normalPlace = nullptr;
    // Deck files, deck list, CardTable exchange and the decks last used.
    DeckFiles* m_files = nullptr;
    // Import from text, comparison, opening hand, print and PDF.
    DeckTools* m_tools = nullptr;

private:
    bool m_loaded = false;
    // Boxes of the start-up deck, shown over the window once it is up.
    std::vector<HeldBoxes::Box> m_heldBoxes;
    int m_heldWaits = 0;
    void showHeldBoxes();
    int m_leaderFrameExtra = 0; // pixels the leader frame is wider than designed
    bool m_closing = false;
    QStringList m_handedOver;
    void loadHandedOver();
};

} // namespace ui
