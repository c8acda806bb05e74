// The main window: its controls and menus, and what the menu entries do.
#include "app/frmmain.h"

#include "app/columnwidths.h"
#include "core/errornumbers.h"
#include "core/programdir.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/windowplace.h"
#include "core/windowframe.h"
#include "db/compaction.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/queries.h"
#include "db/queryprogresswindow.h"
#include "deck/entrynames.h"
#include "db/flexgrid.h"
#include "app/firstpaint.h"
#include "app/frminfo.h"
#include "app/statisticswindow.h"
#include "app/guarded.h"
#include "app/deckfiles.h"
#include "app/decktools.h"
#include "app/menuentry.h"
#include "app/heldboxes.h"
#include "core/named.h"
#include "cardview/cardviewer.h"
#include "cardview/frmshowcard.h"
#include "deck/deckhistory.h"
#include "deck/deckmarking.h"
#include "deck/decksession.h"
#include "filter/filterfile.h"
#include "filter/frmfilter.h"
#include "filter/frmsortieren.h"
#include "filter/frmspezfilter.h"
#include "filter/quickfilter.h"
#include "filter/valuelists.h"

#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QTreeWidget>
#include <QSignalBlocker>

namespace ui {

namespace {

// Design size of the window (with frame) and minimum client size, in twips.
constexpr int kDesignWidth = 14895;
constexpr int kDesignHeight = 8325;
constexpr int kMinClientWidth = 8175;
constexpr int kMinClientHeight = 2910;

const QList<int> kColumnTwips = {800, 3350, 1400, 700, 650, 1400, 650, 1100, 400};

QFont boldLabelFont() {
    QFont f;
    f.setPointSizeF(8.25);
    f.setBold(true);
    return f;
}

} // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/dravenna-deckbuilder-%1.png").arg(size), QSize(size, size));
    return icon;
}

frmMain::frmMain(const QString& commandLine, cardview::CardViewer* cardViewer) : m_cardViewer(cardViewer) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dravenna Deck-Builder"));
    QFont windowFont = font();
    windowFont.setPointSizeF(8.25);
    setFont(windowFont);
    sDatabasePath = core::databasePath();
    m_filterLists = std::make_unique<filter::FilterValueLists>(sDatabasePath);
    m_deck = new deck::DeckSession(sDatabasePath, this);
    m_history = new deck::DeckHistory(*m_deck, this);
    connect(m_deck, &deck::DeckSession::changed, this,
            [this](const deck::DeckChange& change) { guarded(windowTitle(), [&] { paintDeck(change); }); });
    buildControls();
    buildMenus();
    addPlayerKeys();
    // Conditions from players and files may run long; the player sees them and may cancel.
    db::installQueryProgressWindow();
    setAcceptDrops(true);
    if (!m_cardViewer)
        m_cardViewer = new cardview::frmShowCard(this, [this] { return mnuKartenAnzeigen->isChecked(); });
    cmdcSaveLoad.defaultExt = QStringLiteral("drd");
    cmdcSaveLoad.filter = QStringLiteral("Dravenna-Decks (*.drd)|*.drd|Alle Dateien (*.*)|*.*");

    ORDER = db::kStartOrder;
    WHERE.clear();
    fillLeaderList();
    fillInquisitorList();
    connect(cmbLeader, &QComboBox::currentIndexChanged, this,
            [this](int index) { guarded(u"Anführer"_qs, [this, index] { onLeaderChosen(index); }); });
    connect(cmbInquisitor, &QComboBox::currentIndexChanged, this,
            [this](int index) { guarded(u"Inquisitor"_qs, [this, index] { onInquisitorChosen(index); }); });
    // The record sources of pool and deck.
    dtaPool.DatabaseName = sDatabasePath;
    SQLPOOL = db::sqlPool();
    dtaPool.RecordSource = SQLPOOL + ORDER;
    dtaDeck.DatabaseName = sDatabasePath;
    SQLDECK = db::sqlDeck();
    dtaDeck.RecordSource = SQLDECK + ORDER;
    setUpGrid(flxPool);
    setUpGrid(flxDeck);
    // A deck left behind goes; an empty deck is left as it is, so that a start costs no write to disk.
    {
        const QSignalBlocker quiet(m_deck);
        if (m_deck->hasCards())
            m_deck->clear();
    }
    placeFromSettings();
    // The card window as the player left it.
    const auto settings = core::openSettings(QStringLiteral("frmMain"));
    const QString show = settings->value(QStringLiteral("chkShow"), QStringLiteral("True")).toString();
    const bool showCards = show.compare(QStringLiteral("False"), Qt::CaseInsensitive) != 0 && show != u"0";
    mnuKartenAnzeigen->setChecked(showCards);
    if (showCards)
        showCard(QStringLiteral("BLANK"), QStringLiteral("KARTEN"));
    else if (m_cardViewer)
        m_cardViewer->closeWindow();
    funcSetQuickFilterCombo();
    reopenStatistics();

    // The record sources open once the window has loaded.
    dtaPool.Refresh();
    dtaDeck.Refresh();
    flxPool->setGridModel(&dtaPool.model());
    flxDeck->setGridModel(&dtaDeck.model());
    flxPool->setColumnWidthsTwips(kColumnTwips);
    flxDeck->setColumnWidthsTwips(kColumnTwips);
    restoreColumnWidths(*flxPool, *flxDeck);
    connect(flxPool, &FlexGrid::selectionMoved, this, [this] { showCard(flxPool->TextMatrix(flxPool->Row(), 1), {}); });
    connect(flxDeck, &FlexGrid::selectionMoved, this, [this] { showCard(flxDeck->TextMatrix(flxDeck->Row(), 1), {}); });
    connect(flxPool, &QAbstractItemView::clicked, this, [this] { showCard(flxPool->TextMatrix(flxPool->Row(), 1), {}); });
    connect(flxDeck, &QAbstractItemView::clicked, this, [this] { showCard(flxDeck->TextMatrix(flxDeck->Row(), 1), {}); });

    // A deck named on the command line.
    const QString deckPath = core::deckPathFromArgument(commandLine);
    if (!deckPath.isEmpty() && QFileInfo(deckPath).isFile()) {
        // Its box waits for the window: shown now, it would stand alone on an empty screen.
        HeldBoxes held;
        LoadDeckFile(deckPath);
        m_heldBoxes = std::move(held.boxes);
    }
    m_loaded = true;
    showPoolCount();
    AfterFirstPaint::run(flxPool->viewport(), [this] { scheduleIdleWork(); });
}

frmMain::~frmMain() = default;

QUndoStack* frmMain::undoStack() const { return m_history->stack(); }

void frmMain::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    client->installEventFilter(this);

    auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(twipsToPixels(this, left), twipsToPixels(this, top), twipsToPixels(this, width),
                       twipsToPixels(this, height));
    };
    flxPool = named(new FlexGrid(client), "flxPool");
    place(flxPool, 120, 120, 7215, 5895);
    cmbLeader = named(new QComboBox(client), "cmbLeader");
    place(cmbLeader, 7440, 120, 4695, 315);
    cmbInquisitor = named(new QComboBox(client), "cmbInquisitor");
    place(cmbInquisitor, 7440, 480, 4695, 315);
    frmLeader = named(new QWidget(client), "frmLeader");
    place(frmLeader, 12240, 120, 2415, 615);
    cmdShowLeader = named(new QPushButton(QStringLiteral("Anzeigen..."), frmLeader), "cmdShowLeader");
    place(cmdShowLeader, 0, 0, 975, 255);
    cmdStandard = named(new QPushButton(QStringLiteral("Standard-Deck"), frmLeader), "cmdStandard");
    place(cmdStandard, 1080, 0, 1335, 255);
    cmdShowInq = named(new QPushButton(QStringLiteral("Anzeigen..."), frmLeader), "cmdShowInq");
    place(cmdShowInq, 0, 360, 975, 255);
    flxDeck = named(new FlexGrid(client), "flxDeck");
    place(flxDeck, 7440, 840, 7215, 6495);
    lblAnzDeck = named(new QLabel(QStringLiteral("Anzahl Karten: 0"), client), "lblAnzDeck");
    place(lblAnzDeck, 7440, 7440, 2415, 255);
    frmLower = named(new QWidget(client), "frmLower");
    place(frmLower, 120, 6120, 7215, 1575);
    lblAnzPool = named(new QLabel(QStringLiteral("Anzahl Karten: 0"), frmLower), "lblAnzPool");
    place(lblAnzPool, 0, 0, 2415, 255);
    Label1 = named(new QLabel(QStringLiteral("Hinweise:"), frmLower), "Label1");
    place(Label1, 1800, 0, 975, 255);
    Frame1 = named(new QGroupBox(QStringLiteral("Quick-Name-Filter"), frmLower), "Frame1");
    place(Frame1, 0, 360, 2535, 615);
    txtQuickNameFilter = named(new QLineEdit(Frame1), "txtQuickNameFilter");
    place(txtQuickNameFilter, 120, 240, 2295, 285);
    Frame2 = named(new QGroupBox(QStringLiteral("Quick-Filter"), frmLower), "Frame2");
    place(Frame2, 0, 960, 2535, 615);
    cmbQuickFilter = named(new QComboBox(Frame2), "cmbQuickFilter");
    place(cmbQuickFilter, 120, 240, 2295, 315);
    tvwNotes = named(new QTreeWidget(frmLower), "tvwNotes");
    tvwNotes->setHeaderHidden(true);
    place(tvwNotes, 2640, 0, 4575, 1575);
    lblNotice = named(new QLabel(QStringLiteral("Doppelklick oder Enter fügt eine Karte dem Deck hinzu, Entf nimmt sie heraus."),
                                 client),
                      "lblNotice");
    place(lblNotice, 120, 7800, 14535, 255);

    for (QWidget* w : {static_cast<QWidget*>(lblAnzPool), static_cast<QWidget*>(lblAnzDeck), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(lblNotice), static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2)})
        w->setFont(boldLabelFont());
    // Children of the frames keep the window's regular font.
    QFont regular;
    regular.setPointSizeF(8.25);
    regular.setBold(false);
    txtQuickNameFilter->setFont(regular);
    cmbQuickFilter->setFont(regular);

    fitTexts();

    const QList<QWidget*> tabOrder = {flxPool, cmbLeader, flxDeck, txtQuickNameFilter, tvwNotes,
                                      cmdStandard, cmdShowLeader, cmbQuickFilter, cmbInquisitor, cmdShowInq};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    client->setMinimumSize(twipsToPixels(this, kMinClientWidth), twipsToPixels(this, kMinClientHeight));

    connect(cmdShowLeader, &QPushButton::clicked, this, [this] { guarded(u"Anzeigen"_qs, [this] { onShowLeader(); }); });
    connect(cmdShowInq, &QPushButton::clicked, this, [this] { guarded(u"Anzeigen"_qs, [this] { onShowInquisitor(); }); });
    connect(cmdStandard, &QPushButton::clicked, this, [this] { guarded(u"Standard-Deck"_qs, [this] { onStandardDeck(); }); });
    connect(cmbQuickFilter, &QComboBox::activated, this,
            [this](int index) { guarded(u"Quick-Filter"_qs, [this, index] { onQuickFilterChosen(index); }); });
    connect(txtQuickNameFilter, &QLineEdit::textChanged, this,
            [this](const QString& text) { guarded(u"Quick-Name-Filter"_qs, [this, &text] { onQuickNameFilter(text); }); });

    connect(flxPool, &FlexGrid::dataDoubleClicked, this, [this] { guarded(u"Karte hinzufügen"_qs, [this] { addCard(); }); });
    connect(flxPool, &FlexGrid::enterPressed, this, [this] { guarded(u"Karte hinzufügen"_qs, [this] { addCard(); }); });
    connect(flxPool, &FlexGrid::mouseReleased, this,
            [this](Qt::MouseButton button, int, QPoint) { bPoolRightButton = button == Qt::RightButton; });
    connect(flxPool, &FlexGrid::headerReleased, this, [this](Qt::MouseButton button, int column, QPoint pos) {
        guarded(u"Sortieren"_qs, [=, this] { onPoolHeader(button, column, pos); });
    });
    connect(flxDeck, &FlexGrid::mouseReleased, this, &frmMain::onDeckMouseReleased);
    connect(flxDeck, &FlexGrid::deleteReleased, this, [this] {
        if (flxDeck->Rows() > 1 && flxDeck->Row() > 0)
            guarded(u"Karten entfernen"_qs, [this] { funcDeleteCard(flxDeck->Row()); });
    });
}

void frmMain::buildMenus() {
    auto menu = [this](const QString& caption, const char* name) {
        return named(menuBar()->addMenu(caption), name);
    };
    auto run = [this](const QString& title, void (frmMain::*fn)()) {
        return [this, title, fn] { guarded(title, [this, fn] { (this->*fn)(); }); };
    };

    QMenu* datei = menu(QStringLiteral("Datei"), "mnuHDatei");
    m_files = new DeckFiles(this, *m_deck, *m_history, sDatabasePath, cmdcSaveLoad);
    m_files->addFileEntries(datei);
    datei->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    QAction* exitEntry = addEntry(datei, QStringLiteral("Beenden"), "mnuBeenden");
    connect(exitEntry, &QAction::triggered, this, &QWidget::close);
    m_tools = new DeckTools(this, *m_deck, *m_history, sDatabasePath, *m_files, [this](const QString& name) {
        if (!mnuKartenAnzeigen->isChecked())
            mnuKartenAnzeigen->trigger();
        showCard(name, QStringLiteral("KARTEN"));
    });
    // Behind the specified entries, just above "Beenden", which stays last.
    m_tools->addFileEntries(datei, exitEntry);
    mnuZuletzt = m_files->addRecentEntries(datei, exitEntry);
    connect(m_files, &DeckFiles::recentDecksChanged, m_tools, &DeckTools::listCompareChoices);

    m_files->addCardTableEntries(menu(QStringLiteral("CardTable"), "mnuCardTable"));

    QMenu* deckMenu = menu(QStringLiteral("Deck"), "mnuHDeck");
    connect(addEntry(deckMenu, QStringLiteral("Neues Deck"), "mnuNeuesDeck"), &QAction::triggered, this,
            run(u"Neues Deck"_qs, &frmMain::funcNewDeck));
    deckMenu->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));
    mnuKartenAnzeigen = addEntry(deckMenu, QStringLiteral("Karten Anzeigen"), "mnuKartenAnzeigen");
    mnuKartenAnzeigen->setCheckable(true);
    connect(mnuKartenAnzeigen, &QAction::triggered, this, run(u"Karten Anzeigen"_qs, &frmMain::toggleCardWindow));
    addUndoEntries(deckMenu);
    addStatisticsEntries(deckMenu);
    m_tools->addDeckEntries(deckMenu);
    // "Vergleichen mit…" offers the decks last used as well.
    m_files->refreshRecentMenu();

    QMenu* filterMenu = menu(QStringLiteral("Filter"), "mnuHFilter");
    connect(addEntry(filterMenu, QStringLiteral("Filter"), "mnuFilter"), &QAction::triggered, this,
            run(u"Filter"_qs, &frmMain::funcFilterDialog));
    connect(addEntry(filterMenu, QStringLiteral("Spezial-Filter"), "mnuSpezFilter"), &QAction::triggered, this,
            run(u"Spezial-Filter"_qs, &frmMain::funcSpecialFilterDialog));
    connect(addEntry(filterMenu, QStringLiteral("Kein Filter"), "mnuKeinFilter"), &QAction::triggered, this,
            run(u"Kein Filter"_qs, &frmMain::funcNoFilter));

    QMenu* sortMenu = menu(QStringLiteral("Sortieren"), "mnuHSortieren");
    connect(addEntry(sortMenu, QStringLiteral("Sortieren..."), "mnuSortieren"), &QAction::triggered, this,
            run(u"Sortieren"_qs, &frmMain::funcSortDialog));

    QMenu* info = menu(QStringLiteral("Info"), "mnuHInfo");
    connect(addEntry(info, QStringLiteral("Über den Deck-Builder"), "mnuUeber"), &QAction::triggered, this,
            run(u"Info"_qs, &frmMain::funcAbout));

    // Pop-up menus, never shown in the bar.
    mnuDeck = new QMenu(this);
    mnuDeck->setObjectName(QStringLiteral("mnuDeck"));
    connect(addEntry(mnuDeck, QStringLiteral("Karten entfernen"), "mnuDelete"), &QAction::triggered, this, [this] {
        if (flxDeck->Row() > 0)
            guarded(u"Karten entfernen"_qs, [this] { funcDeleteCard(flxDeck->Row()); });
    });
    mnuQuickFilter = new QMenu(this);
    mnuQuickFilter->setObjectName(QStringLiteral("mnuQuickFilter"));
    for (int i = 0; i < 10; ++i) {
        QAction* entry = mnuQuickFilter->addAction(QString());
        entry->setObjectName(QStringLiteral("mnuQFilter_%1").arg(i));
        connect(entry, &QAction::triggered, this, [this, i] { guarded(u"Quick-Filter"_qs, [this, i] { onQuickFilterValue(i); }); });
        mnuQFilter << entry;
    }
    mnuQuickFilter->addSeparator()->setObjectName(QStringLiteral("mnuSepQFilter"));
    mnuQKeinFilter = addEntry(mnuQuickFilter, QStringLiteral("Kein Filter"), "mnuQKeinFilter");
    connect(mnuQKeinFilter, &QAction::triggered, this, run(u"Kein Filter"_qs, &frmMain::funcNoFilter));
}

void frmMain::setUpGrid(FlexGrid* grid) {
    grid->setColumnWidthsTwips(kColumnTwips);
    grid->setRedraw(true);
}

void frmMain::fillLeaderList() {
    cmbLeader->clear();
    cmbLeader->addItems(m_deck->leaderEntries());
    cmbLeader->setCurrentIndex(-1);
}

void frmMain::fillInquisitorList() {
    cmbInquisitor->clear();
    cmbInquisitor->addItems(m_deck->inquisitorEntries());
    cmbInquisitor->setCurrentIndex(-1);
}

void frmMain::placeFromSettings() {
    const auto s = core::openSettings(QStringLiteral("frmMain"));
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    const float screenW = static_cast<float>(pixelsToTwips(this, screen.width()));
    const float screenH = static_cast<float>(pixelsToTwips(this, screen.height()));
    const float left = storedNumber(*s, QStringLiteral("Left"), (screenW - kDesignWidth) / 2);
    const float top = storedNumber(*s, QStringLiteral("Top"), (screenH - kDesignHeight) / 2);
    const float height = storedNumber(*s, QStringLiteral("Height"), kDesignHeight);
    const float width = storedNumber(*s, QStringLiteral("Width"), kDesignWidth);
    // Edges and size are the outer ones, frame included; those of a maximised window are its normal place.
    if (!m_normalPlace)
        m_normalPlace = new NormalPlace(this);
    m_normalPlace->restore(outerFromTwips(this, left, top, width, height), s->value(QStringLiteral("Maximized")).toString() == u"True");
}

void frmMain::writeSettings() {
    const auto s = core::openSettings(QStringLiteral("frmMain"));
    storeOuterPlace(*s, this, m_normalPlace->outer());
    s->setValue(QStringLiteral("Maximized"), isMaximized() ? QStringLiteral("True") : QStringLiteral("False"));
    s->setValue(QStringLiteral("chkShow"), mnuKartenAnzeigen->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    s->sync();
}

void frmMain::fitTexts() {
    auto px = [this](int twips) { return twipsToPixels(this, twips); };
    // The desktop's fonts are wider than the designed ones: buttons grow to their captions, the leader frame
    // with them (to the left, the lists give way), and "Hinweise:" goes above the notes when it no longer fits
    // between the pool count and the tree.
    const int showWidth = std::max({px(975), fittedWidth(cmdShowLeader), fittedWidth(cmdShowInq)});
    const int standardWidth = qMax(px(1335), fittedWidth(cmdStandard));
    const int gap = px(1080) - px(975);
    cmdShowLeader->resize(showWidth, cmdShowLeader->height());
    cmdShowInq->resize(showWidth, cmdShowInq->height());
    cmdStandard->setGeometry(showWidth + gap, 0, standardWidth, cmdStandard->height());
    frmLeader->resize(showWidth + gap + standardWidth, frmLeader->height());
    m_leaderFrameExtra = frmLeader->width() - px(2415);

    const QFontMetrics bold(lblAnzPool->font());
    const int largestCount = bold.horizontalAdvance(QStringLiteral("Anzahl Karten: 100000"));
    const int notesWidth = qMax(px(975), bold.horizontalAdvance(Label1->text()) + 2);
    Label1->resize(notesWidth, Label1->height());
    const int between = px(120);
    if (largestCount + between > Label1->x() || Label1->x() + notesWidth > tvwNotes->x()) {
        Label1->move(tvwNotes->x(), 0);
        const int top = Label1->height() + px(45);
        tvwNotes->setGeometry(tvwNotes->x(), top, tvwNotes->width(), frmLower->height() - top);
    }
    lblAnzPool->resize(qMax(lblAnzPool->width(), qMin(largestCount + 2, Frame1->width())), lblAnzPool->height());
    lblAnzDeck->resize(qMax(lblAnzDeck->width(), largestCount + 2), lblAnzDeck->height());
}

int frmMain::fittedWidth(const QPushButton* button) const {
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    const QStyle* st = button->style();
    return button->fontMetrics().horizontalAdvance(button->text()) + st->pixelMetric(QStyle::PM_ButtonMargin, &opt, button) +
           2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, button) + 2;
}

void frmMain::layoutControls() {
    if (isMinimized())
        return;
    QWidget* client = centralWidget();
    auto tw = [this](int px) { return pixelsToTwips(this, px); };
    auto px = [this](int twips) { return twipsToPixels(this, twips); };
    const int H = qMax(tw(client->height()), kMinClientHeight);
    flxPool->resize(flxPool->width(), px(H - 2160));
    flxDeck->resize(flxDeck->width(), px(H - 1560));
    frmLower->move(frmLower->x(), px(H - 1935));
    lblAnzDeck->move(lblAnzDeck->x(), px(H - 605));
    lblNotice->move(lblNotice->x(), px(H - 255));

    const int W = qMax(tw(client->width()), kMinClientWidth);
    const int half = (W - 345) / 2;
    const int right = (W + 105) / 2;
    flxPool->resize(px(half), flxPool->height());
    flxDeck->setGeometry(px(right), flxDeck->y(), px(half), flxDeck->height());
    lblAnzDeck->move(px(right), lblAnzDeck->y());
    cmbLeader->setGeometry(px(right), cmbLeader->y(), px(right - 2745) - m_leaderFrameExtra, cmbLeader->height());
    cmbInquisitor->setGeometry(px(right), cmbInquisitor->y(), px(right - 2745) - m_leaderFrameExtra, cmbInquisitor->height());
    frmLeader->move(px(W - 2535) - m_leaderFrameExtra, frmLeader->y());
    lblNotice->resize(px(W - 240), lblNotice->height());
    tvwNotes->resize(px(half - 2640), tvwNotes->height());
    frmLower->resize(px(half), frmLower->height());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        layoutControls();
    if (watched == txtQuickNameFilter && event->type() == QEvent::KeyPress && nameBoxKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_loaded)
        showPoolCount();
    if (event->type() == QEvent::Show && !m_heldBoxes.empty())
        QTimer::singleShot(0, this, &frmMain::showHeldBoxes);
    return QMainWindow::event(event);
}

void frmMain::showCard(const QString& sKartenname, const QString& sTable) {
    // Closing the record sources moves the grids' selection; that must not bring the card window back.
    if (m_cardViewer && !m_closing)
        guarded(QStringLiteral(" Kartenansicht"), [&] { m_cardViewer->showCard(sKartenname, sTable); });
}

void frmMain::toggleCardWindow() {
    // The action has already flipped its mark when this runs.
    if (!mnuKartenAnzeigen->isChecked()) {
        if (m_cardViewer)
            m_cardViewer->closeWindow();
    } else {
        showCard(QStringLiteral("BLANK"), QStringLiteral("KARTEN"));
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    try {
        {
            if (m_deck->hasCards() &&
                core::prompter().message(QStringLiteral("Soll der Dravenna Deck-Builder wirklich beendet werden?"),
                                         QStringLiteral("Dravenna Deck-Builder beenden"), core::Icon::Question,
                                         core::Buttons::YesNo) == core::Answer::No) {
                event->ignore();
                return;
            }
        }
        m_closing = true;
        storeColumnWidths(*flxPool, *flxDeck);
        if (!isMinimized())
            writeSettings();
        if (m_cardViewer)
            m_cardViewer->closeWindow();
        if (m_frmStatistik)
            m_frmStatistik->closeWithOwner();
        const QSignalBlocker quiet(m_deck);
        m_deck->clear();
    } catch (const db::DbError& e) {
        showError(u"Beenden"_qs, e);
    }
    dtaPool.Close();
    dtaDeck.Close();
    m_deckNumbers.reset();
    m_filterLists.reset();
    QString why;
    if (!db::compactInPlace(sDatabasePath, &why))
        qWarning("Die Kartendatenbank wurde nicht komprimiert: %s", qPrintable(why));
    event->accept();
}

void frmMain::funcSetQuickFilterCombo() {
    cmbQuickFilter->clear();
    const QStringList names = filter::quickFilterNames(core::filterDirectories());
    if (names.isEmpty()) {
        cmbQuickFilter->setEnabled(false);
        return;
    }
    cmbQuickFilter->setEnabled(true);
    cmbQuickFilter->addItem(QString());
    cmbQuickFilter->addItems(names);
    cmbQuickFilter->setCurrentIndex(-1);
}

void frmMain::onQuickFilterChosen(int index) {
    const QString entry = cmbQuickFilter->itemText(index);
    const QString previous = WHERE;
    if (entry.isEmpty()) {
        WHERE.clear();
    } else {
        const auto line = filter::readFilterLine(filter::quickFilterPath(core::filterDirectories(), entry));
        if (!line)
            throw db::DbError(core::errors::kFileNotFound, QStringLiteral("Datei nicht gefunden: %1.drfilter").arg(entry));
        WHERE = *line;
        // The special filter saves its condition without a trailing blank; the order text needs one.
        if (!WHERE.isEmpty() && !WHERE.endsWith(u' '))
            WHERE += u' ';
    }
    try {
        poolRefreshWithCount();
    } catch (const db::DbError&) {
        // The pool still shows the earlier filter's cards; the filter in force stays the one they show.
        WHERE = previous;
        throw;
    }
}

void frmMain::funcNoFilter() {
    WHERE.clear();
    poolRefreshWithCount();
}

void frmMain::onQuickNameFilter(const QString& text) {
    // The name narrows only this query; WHERE stays what the filters set.
    poolRefreshWithCount(text);
}

void frmMain::funcAbout() {
    frmInfo about(this);
    about.exec();
}

void frmMain::funcFilterDialog() {
    ui::showKept(m_frmFilter, [this] {
        return std::make_unique<filter::frmFilter>(this, WHERE, [this] { funcSetQuickFilterCombo(); }, m_filterLists.get());
    });
    poolRefreshWithCount();
}

void frmMain::funcSpecialFilterDialog() {
    ui::showKept(m_frmSpezFilter, [this] {
        return std::make_unique<filter::frmSpezFilter>(this, WHERE, [this] { funcSetQuickFilterCombo(); });
    });
    poolRefreshWithCount();
}

void frmMain::funcSortDialog() {
    ui::showKept(m_frmSortieren, [this] { return std::make_unique<filter::frmSortieren>(this, ORDER); });
    requeryPoolAndDeck();
}

// The deck's files answer for these; others reach them through the window.
void frmMain::funcSave() { m_files->funcSave(); }
void frmMain::funcLoad() { m_files->funcLoad(); }
void frmMain::funcLoadFile(const QString& path) { m_files->funcLoadFile(path); }
void frmMain::funcImportCardTable() { m_files->funcImportCardTable(); }
void frmMain::LoadDeckFile(const QString& path) { m_files->LoadDeckFile(path); }
bool frmMain::funcDeckIncomplete() { return m_files->funcDeckIncomplete(); }
QString frmMain::funcFileDialog(const QString& mode, const QString& title, const QString& extension,
                                const QString& filterName, unsigned flags) {
    return m_files->funcFileDialog(mode, title, extension, filterName, flags);
}

} // namespace ui
