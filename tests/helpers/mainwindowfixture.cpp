// A real main window on a fresh program folder.
#include "tests/helpers/mainwindowfixture.h"

#include "db/database.h"
#include "deck/entrynames.h"

#include <QHeaderView>
#include <QtTest/QTest>

namespace testing {

void MainWindowFixture::start(const QString& commandLine) {
    window = std::make_unique<ui::frmMain>(commandLine, &viewer);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // The start-up deck's box comes once the window is up.
    QTRY_VERIFY_WITH_TIMEOUT(!window->holdsBoxes(), 10000);
}

bool MainWindowFixture::close() {
    const bool closed = window->close();
    if (closed)
        window.reset();
    return closed;
}

static int entryIndex(QComboBox* box, const QString& name) {
    for (int i = 0; i < box->count(); ++i)
        if (deck::nameBeforeLastParen(box->itemText(i)) == name)
            return i;
    return -1;
}

void MainWindowFixture::chooseLeader(const QString& name) {
    const int i = entryIndex(window->cmbLeader, name);
    QVERIFY2(i >= 0, qPrintable(name));
    window->cmbLeader->setCurrentIndex(i);
}

void MainWindowFixture::chooseInquisitor(const QString& name) {
    const int i = name == u"-" ? window->cmbInquisitor->findText(deck::kNoInquisitor) : entryIndex(window->cmbInquisitor, name);
    QVERIFY2(i >= 0, qPrintable(name));
    window->cmbInquisitor->setCurrentIndex(i);
}

int MainWindowFixture::poolRowOf(const QString& cardName) const {
    for (int r = 1; r < window->flxPool->Rows(); ++r)
        if (window->flxPool->TextMatrix(r, 1) == cardName)
            return r;
    return 0;
}

void MainWindowFixture::doubleClickPoolRow(int row) {
    ui::FlexGrid* grid = window->flxPool;
    grid->setRow(row);
    const QRect rect = grid->visualRect(grid->gridModel()->index(row - 1, 1));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

void MainWindowFixture::clickPoolHeader(int column, Qt::MouseButton button) {
    QHeaderView* header = window->flxPool->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), button, {}, QPoint(x, header->height() / 2));
}

int MainWindowFixture::deckCountInDatabase() const {
    auto conn = db::Database::OpenDatabase(dir.databasePath());
    return conn->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt();
}

QStringList MainWindowFixture::deckNames() const {
    QStringList names;
    for (int r = 1; r < window->flxDeck->Rows(); ++r)
        names << window->flxDeck->TextMatrix(r, 1);
    return names;
}

void MainWindowFixture::trigger(const char* action) {
    QAction* entry = window->findChild<QAction*>(QString::fromLatin1(action));
    QVERIFY2(entry, action);
    entry->trigger();
}

void MainWindowFixture::addByNumber(const QStringList& numbers) {
    for (const QString& n : numbers)
        for (int r = 1; r < window->flxPool->Rows(); ++r)
            if (window->flxPool->TextMatrix(r, 7) == n)
                doubleClickPoolRow(r);
}

} // namespace testing
