// The card window with the real picture library and catalogue.
#include "core/windowplace.h"
#include "core/settings.h"
#include "db/database.h"
#include "cardview/frmshowcard.h"
#include "cardview/picturelibrary.h"
#include "tests/helpers/scriptedprompter.h"
#include "tests/helpers/testprogramdir.h"

#include <QLabel>
#include <QMenu>
#include <QPluginLoader>
#include <QtTest/QTest>

#include "cardres/dravennares.h"

class TstFrmShowCard : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<testing::ScriptedPrompter> m_prompter;
    std::unique_ptr<QWidget> m_owner;
    bool m_active = true;

    std::unique_ptr<cardview::frmShowCard> window() {
        return std::make_unique<cardview::frmShowCard>(m_owner.get(), [this] { return m_active; });
    }
    QImage reference(const char* id, const char* group) {
        cardview::PictureLibrary library;
        return library.GetPicture(QString::fromLatin1(id), QString::fromLatin1(group));
    }
    static QImage shown(cardview::frmShowCard& w) { return w.imgCard->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }
    static int twips(QWidget* w, int px) { return ui::pixelsToTwips(w, px); }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_prompter = std::make_unique<testing::ScriptedPrompter>();
        m_owner = std::make_unique<QWidget>();
        m_owner->show();
        m_active = true;
    }
    void cleanup() {
        m_owner.reset();
        m_prompter.reset();
        m_dir.reset();
    }

    void picturesAndTheBlankFront() {
        auto w = window();
        QCOMPARE(w->windowTitle(), QStringLiteral(" Kartenansicht"));
        w->showCard(QStringLiteral("BLANK"), QStringLiteral("KARTEN"));
        QVERIFY(w->isVisible());
        QVERIFY(w->imgCard->isVisible() && !w->txtCard->isVisible());
        const QImage blank = reference("BLANK", "BLANK").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown(*w), blank);
        w->showCard(QStringLiteral("D'Arvens Schwur"), QString());
        QCOMPARE(shown(*w), reference("05", "ORVANE").convertToFormat(QImage::Format_RGB32));
        // An inquisitor, looked up in its own table.
        w->showCard(QStringLiteral("Mordan der Bleiche"), QStringLiteral("INQUISITOR"));
        QCOMPARE(shown(*w), reference("411", "INQ").convertToFormat(QImage::Format_RGB32));
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        QCOMPARE(shown(*w), reference("00", "ORVANE").convertToFormat(QImage::Format_RGB32));
        {
            // ORVANE 33 has no picture.
            auto conn = db::Database::OpenDatabase(m_dir->databasePath());
            const QString name = conn->OpenRecordset(QStringLiteral("SELECT NAME FROM KARTEN WHERE NUMMER = 'ORVANE 33'")).Fields(0).toString();
            w->showCard(name, QString());
            QCOMPARE(shown(*w), blank);
        }
        QVERIFY(m_prompter->messages.empty());

        // The card shown already is not decoded again; another card, the same name from another
        // table, or the window closed in between are.
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        const qint64 harald = w->imgCard->pixmap().cacheKey();
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        QCOMPARE(w->imgCard->pixmap().cacheKey(), harald);
        w->showCard(QStringLiteral("Harald"), QString());
        QCOMPARE(shown(*w), blank);
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        QVERIFY(w->imgCard->pixmap().cacheKey() != harald);
        const qint64 again = w->imgCard->pixmap().cacheKey();
        w->close();
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        QVERIFY(w->isVisible());
        QVERIFY(w->imgCard->pixmap().cacheKey() != again);
    }

    void textModeAndItsPopup() {
        core::openSettings(QStringLiteral("frmShowCard"))->setValue(QStringLiteral("Type"), QStringLiteral("Text"));
        auto w = window();
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        QVERIFY(w->txtCard->isVisible() && !w->imgCard->isVisible());
        QVERIFY(w->txtCard->text().contains(QStringLiteral("(ORVANE 00)")));
        w->showCard(QStringLiteral("BLANK"), QStringLiteral("KARTEN"));
        QCOMPARE(w->txtCard->text(), QString());
        w->showCard(QStringLiteral("Nebelkrähe"), QString());
        const QString moons = db::Database::OpenDatabase(m_dir->databasePath())
                                  ->OpenRecordset(QStringLiteral("SELECT MONDE FROM KARTEN WHERE NUMMER = 'ORVANE 07'"))
                                  .Fields(0)
                                  .toString();
        QCOMPARE(w->txtCard->text(), QStringLiteral("CHARAKTER\nNebelkrähe\nFeuer: \nErde : \n\nSymbole: Gang: Nacht\n\nMonde: ") +
                                         moons + QStringLiteral("\n(ORVANE 07)"));
        QTest::mouseClick(w->txtCard, Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(w->mnuSubCard->isVisible());
        QVERIFY(w->mnuBild->isVisible());
        for (QAction* a : {w->mnuText, w->mnuTwiceSize, w->mnuNormSize, w->mnuHalfSize, w->mnuQuarterSize})
            QVERIFY(!a->isVisible());
        w->mnuBild->trigger();
        w->mnuSubCard->hide();
        QVERIFY(w->imgCard->isVisible());
        QCOMPARE(core::openSettings(QStringLiteral("frmShowCard"))->value(QStringLiteral("Type")).toString(), QStringLiteral("Pic"));
        QTest::mouseClick(w->imgCard, Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(!w->mnuBild->isVisible() && w->mnuText->isVisible() && w->mnuQuarterSize->isVisible());
        w->mnuSubCard->hide();
    }

    void sizesFollowTheHeight() {
        auto w = window();
        w->showCard(QStringLiteral("BLANK"), QStringLiteral("KARTEN"));
        // The stored height is the outer one; the size entries set the client area.
        QTRY_COMPARE(w->frameGeometry().height(), ui::twipsToPixels(w.get(), 6750));
        w->mnuQuarterSize->trigger();
        QCOMPARE(w->height(), ui::twipsToPixels(w.get(), 1687));
        QCOMPARE(w->width(), qRound(w->height() * 0.6));
        w->mnuTwiceSize->trigger();
        QCOMPARE(twips(w.get(), w->height()), 13500);
        QCOMPARE(twips(w.get(), w->width()), 8100);
        w->resize(w->width(), ui::twipsToPixels(w.get(), 900)); // dragged too small
        QCoreApplication::processEvents();
        QCOMPARE(twips(w.get(), w->height()), 1500);
        QCOMPARE(w->width(), qRound(w->height() * 0.6));
        w->resize(500, w->height()); // only the width: springs back
        QCoreApplication::processEvents();
        QCOMPARE(w->width(), qRound(w->height() * 0.6));
        QTest::mouseDClick(w->imgCard, Qt::LeftButton);
        QCOMPARE(twips(w.get(), w->height()), 6750);
        QCOMPARE(twips(w.get(), w->width()), 4050);
        QCOMPARE(w->imgCard->size(), w->size());
    }

    void modeAndPlacementSurviveARestart() {
        {
            auto w = window();
            w->showCard(QStringLiteral("BLANK"), QString());
            w->mnuText->trigger();
            w->mnuHalfSize->trigger();
            w->move(ui::twipsToPixels(w.get(), 3000), ui::twipsToPixels(w.get(), 1500));
            w->closeWindow();
        }
        auto w = window();
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        QVERIFY(w->txtCard->isVisible());
        QTRY_COMPARE(twips(w.get(), w->height()), 3375);
        QCOMPARE(twips(w.get(), w->x()), 3000);
    }

    void inactiveWindowShowsNothing() {
        m_active = false;
        auto w = window();
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        QVERIFY(!w->isVisible());
        m_active = true;
        w->mnuText->trigger(); // the remembered card is shown again
        QVERIFY(w->txtCard->text().contains(QStringLiteral("Harald")));
    }

    void missingLibraryFallsBackToText() {
        for (const QString& f : QDir(m_dir->path()).entryList({QStringLiteral("*.so")}))
            QFile::remove(m_dir->filePath(f));
        auto w = window();
        w->showCard(QStringLiteral("Harald"), QStringLiteral("ANFUEHRER"));
        w->showCard(QStringLiteral("Nebelkrähe"), QString());
        QCOMPARE(m_prompter->messages.size(), size_t(1));
        QVERIFY(w->txtCard->isVisible());
        QVERIFY(w->txtCard->text().contains(QStringLiteral("Nebelkrähe")));
    }
};

QTEST_MAIN(TstFrmShowCard)
#include "tst_frmshowcard.moc"
