// Every caption of every window fits its control in the font it is drawn in, and no text runs into another
// control. Runs on a real X server, with the fonts the desktop has.
#include "core/windowplace.h"
#include "cardview/frmshowcard.h"
#include "db/database.h"
#include "db/flexgrid.h"
#include "app/frminfo.h"
#include "app/frmmain.h"
#include "app/frmstatistik.h"
#include "core/dialogprompter.h"
#include "deckio/frmcardtabledata.h"
#include "deckio/frmdecklist.h"
#include "filter/frmfilter.h"
#include "filter/frmsortieren.h"
#include "filter/frmspezfilter.h"
#include "tests/helpers/scriptedprompter.h"
#include "tests/helpers/testprogramdir.h"
#include "tests/helpers/statistikwindow.h"

#include <QAbstractScrollArea>
#include <QChartView>
#include <QFile>
#include <QTextDocument>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>

namespace {

constexpr int kWait = 20000;

// Controls whose inner parts (view ports, scroll bars, line edits of combo boxes) are theirs, not the window's.
bool isCompound(const QWidget* w) {
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w);
}

bool isControl(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w))
        return !label->text().isEmpty() || !label->pixmap().isNull();
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QGroupBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           isCompound(w);
}

// Where a control draws its text, in its own coordinates, and the room it needs for it; nothing for other controls.
struct TextPlace {
    QString text;
    QRect drawn;  // what the text covers
    QRect room;   // what the control offers it
};

std::optional<TextPlace> textPlace(QWidget* w) {
    QStyle* style = w->style();
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty())
            return std::nullopt;
        const int m = label->margin();
        const QRect room = label->contentsRect().adjusted(m, m, -m, -m);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return TextPlace{label->text(), fm.boundingRect(room, flags, label->text()), room};
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        if (box->title().isEmpty())
            return std::nullopt;
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.text = box->title();
        opt.lineWidth = 1;
        opt.textAlignment = box->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        opt.features = box->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
        const QRect label = style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
        const int height = qMax(label.height(), fm.height());
        const QRect drawn(label.left(), label.top(), fm.horizontalAdvance(box->title()), height);
        // The caption keeps the same distance from the right edge of the frame as from its left edge.
        return TextPlace{box->title(), drawn, QRect(label.left(), label.top(), box->width() - 2 * label.left(), height)};
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        auto* button = static_cast<QAbstractButton*>(w);
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const bool radio = qobject_cast<QRadioButton*>(w);
        const QRect contents = style->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &opt, button);
        const QRect drawn(contents.left(), (button->height() - fm.height()) / 2, fm.horizontalAdvance(button->text()), fm.height());
        return TextPlace{button->text(), drawn, contents.intersected(button->rect())};
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (button->text().isEmpty())
            return std::nullopt;
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &opt, button) +
                           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, button);
        const int need = fm.horizontalAdvance(button->text()) + margin;
        const QRect drawn((button->width() - need) / 2, (button->height() - fm.height()) / 2, need, fm.height());
        return TextPlace{button->text(), drawn, button->rect()};
    }
    return std::nullopt;
}

QRect inRoot(QWidget* root, QWidget* w, QRect r) { return QRect(w == root ? r.topLeft() : w->mapTo(root, r.topLeft()), r.size()); }

bool isAncestor(const QWidget* ancestor, const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (p == ancestor)
            return true;
    return false;
}

// Every fault of one window (or its client area) as it is on screen now.
QStringList faults(QWidget* window) {
    auto inWindow = [window](QWidget* w, QRect r) { return inRoot(window, w, r); };
    QList<QWidget*> controls;
    const auto all = window->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!w->isVisibleTo(window) || !isControl(w))
            continue;
        bool inner = false;
        for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
            inner = inner || isCompound(p);
        if (!inner)
            controls << w;
    }
    QStringList out;
    auto name = [](QWidget* w) {
        return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    };
    for (QWidget* w : controls) {
        const auto place = textPlace(w);
        if (!place)
            continue;
        if (!place->room.contains(place->drawn))
            out << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6 at %7,%8")
                       .arg(name(w), place->text)
                       .arg(place->drawn.width())
                       .arg(place->drawn.height())
                       .arg(place->room.width())
                       .arg(place->room.height())
                       .arg(place->room.x())
                       .arg(place->room.y());
        // The text may not run outside its window's client area either.
        if (!window->rect().contains(inWindow(w, place->drawn)))
            out << QStringLiteral("%1 \"%2\" runs out of the window").arg(name(w), place->text);
        const QRect text = inWindow(w, place->drawn);
        for (QWidget* other : controls) {
            if (other == w || isAncestor(other, w))
                continue;
            const auto otherPlace = textPlace(other);
            const QRect covers = otherPlace && qobject_cast<QLabel*>(other) ? inWindow(other, otherPlace->drawn)
                                                                          : inWindow(other, other->rect());
            if (text.intersects(covers))
                out << QStringLiteral("%1 \"%2\" runs into %3").arg(name(w), place->text, name(other));
        }
    }
    return out;
}

// Every text a chart draws as an item of its scene (titles, axis labels, legend): none cut short with an ellipsis,
// none outside the view, none over another.
QStringList chartFaults(QChartView* view) {
    QStringList out;
    QList<QPair<QString, QRectF>> texts;
    const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
    const auto items = view->scene()->items();
    for (QGraphicsItem* item : items) {
        if (!item->isVisible())
            continue;
        QString text;
        if (auto* rich = dynamic_cast<QGraphicsTextItem*>(item))
            text = rich->toPlainText();
        else if (auto* plain = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            text = plain->text();
        if (text.isEmpty())
            continue;
        // The text's own box, without the margin a text item keeps around it.
        QRectF box = item->sceneBoundingRect();
        if (auto* rich = dynamic_cast<QGraphicsTextItem*>(item)) {
            const qreal m = rich->document()->documentMargin();
            box.adjust(m, m, -m, -m);
        }
        const QString where = view->objectName() + QStringLiteral(" \"") + text + u'"';
        if (text.endsWith(QStringLiteral("...")) || text.endsWith(QChar(0x2026)))
            out << where + QStringLiteral(" is cut short");
        if (!shown.contains(box))
            out << where + QStringLiteral(" runs out of the chart");
        for (const auto& [other, otherBox] : texts)
            if (box.intersects(otherBox))
                out << where + QStringLiteral(" runs into \"") + other + u'"';
        texts << qMakePair(text, box);
    }
    return out;
}

void showAndWait(QWidget* w) {
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w, kWait));
    QCoreApplication::processEvents();
}

void resizeClient(ui::frmMain* w, int widthTwips, int heightTwips) {
    const QSize extra = w->size() - w->clientArea()->size();
    w->resize(QSize(ui::twipsToPixels(w, widthTwips), ui::twipsToPixels(w, heightTwips)) + extra);
    QTRY_COMPARE_WITH_TIMEOUT(w->clientArea()->size(),
                              QSize(ui::twipsToPixels(w, widthTwips), ui::twipsToPixels(w, heightTwips)), kWait);
    QCoreApplication::processEvents();
}

} // namespace

class TstTextFits : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<testing::ScriptedPrompter> m_prompter;
    std::unique_ptr<ui::frmMain> m_main;

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_prompter = std::make_unique<testing::ScriptedPrompter>();
        m_main = std::make_unique<ui::frmMain>();
        showAndWait(m_main.get());
    }
    void cleanup() {
        m_main->close();
        m_main.reset();
        m_prompter.reset();
        m_dir.reset();
    }

    void mainWindowAtDesignAndMinimumSize_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("count");
        QTest::newRow("design, catalogue") << 14775 << 8055 << QStringLiteral("292");
        QTest::newRow("design, 100000") << 14775 << 8055 << QStringLiteral("100000");
        QTest::newRow("minimum, 9999") << 8175 << 2910 << QStringLiteral("9999");
        QTest::newRow("minimum, 100000") << 8175 << 2910 << QStringLiteral("100000");
    }
    void mainWindowAtDesignAndMinimumSize() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, count);
        resizeClient(m_main.get(), width, height);
        m_main->lblAnzPool->setText(QStringLiteral("Anzahl Karten: ") + count);
        m_main->lblAnzDeck->setText(QStringLiteral("Anzahl Karten: ") + count);
        QCoreApplication::processEvents();
        const QStringList found = faults(m_main->clientArea());
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    void cardWindowText() {
        auto* card = m_main->findChild<cardview::frmShowCard*>();
        QVERIFY(card);
        QTRY_VERIFY_WITH_TIMEOUT(card->isVisible(), kWait);
        card->mnuText->trigger();
        card->mnuNormSize->trigger();
        // The card with the longest text of the catalogue.
        const QString name = db::Database::OpenDatabase(m_dir->databasePath())
                                 ->OpenRecordset(QStringLiteral("SELECT NAME FROM KARTEN ORDER BY LEN(SONDER) DESC"))
                                 .Fields(0)
                                 .toString();
        card->showCard(name, QString());
        QTRY_COMPARE_WITH_TIMEOUT(card->txtCard->geometry(), card->rect(), kWait);
        QVERIFY(!card->txtCard->text().isEmpty());
        const QStringList found = faults(card);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    void statisticsWindow_data() {
        // The smallest size of each arrangement of the charts, and the window as designed.
        QTest::addColumn<QSize>("size");
        QTest::newRow("as designed") << QSize();
        QTest::newRow("one column") << QSize(278, 784);
        QTest::newRow("two by two") << QSize(556, 396);
        QTest::newRow("one row") << QSize(1104, 198);
    }
    void statisticsWindow() {
        QFETCH(QSize, size);
        // A deck with cards of every faction and card type, over both limits: the longest captions the charts get.
        const QString path = m_dir->filePath(QStringLiteral("alle.drd"));
        {
            auto conn = db::Database::OpenDatabase(m_dir->databasePath());
            QByteArray text = "ORVANE 00\r\nINQ 412\r\n";
            for (auto rs = conn->OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN WHERE NUMMER LIKE '* 0#'")); !rs.Eof();
                 rs.MoveNext())
                text += rs.Fields(0).toString().toLatin1() + "\r\n";
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        }
        m_main->LoadDeckFile(path);
        QVERIFY(m_main->flxDeck->Rows() > 40);
        m_main->findChild<QAction*>(QStringLiteral("mnuStatistik"))->trigger();
        ui::frmStatistik* w = testing::statistikWindow(*m_main);
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w, kWait));
        if (size.isValid()) {
            w->resize(size);
            QTRY_COMPARE_WITH_TIMEOUT(w->size(), size, kWait);
        }
        QCoreApplication::processEvents();
        QStringList found;
        for (QChartView* view : {w->chvStaerke, w->chvMonde, w->chvKartenarten, w->chvHauptfraktion})
            found << chartFaults(view);
        w->close();
        m_prompter->answer(core::Answer::Yes);
        m_main->findChild<QAction*>(QStringLiteral("mnuNeuesDeck"))->trigger();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    // The window manager draws a box's title in its theme's font (openbox here: sans, 8 points, bold) between the
    // window's icon and its buttons; the box is wide enough for all of it, whatever its text.
    void boxTitlesAreShownWhole() {
        ui::DialogPrompter boxes;
        QFont titleFont(QStringLiteral("Sans"), 8);
        titleFont.setBold(true);
        const QFontMetrics fm(titleFont);
        QStringList found;
        for (const QString& title : {QStringLiteral("Dravenna-Deck erfolgreich gespeichert"), QStringLiteral("Dravenna-Deckliste erfolgreich gespeichert"),
                                     QStringLiteral("CardTable-Datei erfolgreich gespeichert")}) {
            QTimer::singleShot(0, [&] {
                QWidget* box = nullptr;
                const bool framed = QTest::qWaitFor(
                    [&] {
                        box = QApplication::activeModalWidget();
                        return box && box->isVisible() && box->frameGeometry() != box->geometry();
                    },
                    kWait);
                if (framed) {
                    QTest::qWait(200);
                    // Icon, iconify and close buttons as wide as the title bar is high, and the label's own padding.
                    const int bar = box->geometry().top() - box->frameGeometry().top();
                    const int needed = fm.horizontalAdvance(title) + 3 * bar + 16;
                    if (box->frameGeometry().width() < needed)
                        found << QStringLiteral("\"%1\": %2 px wide, its title needs %3").arg(title).arg(box->frameGeometry().width()).arg(needed);
                }
                if (box)
                    box->close();
            });
            boxes.message(QStringLiteral("Gespeichert."), title, core::Icon::Information, core::Buttons::Ok);
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    void everyDialog() {
        QString where;
        QString order = m_main->ORDER;
        std::vector<std::unique_ptr<QWidget>> dialogs;
        dialogs.push_back(std::make_unique<filter::frmFilter>(m_main.get(), where, [] {}));
        dialogs.push_back(std::make_unique<filter::frmSpezFilter>(m_main.get(), where, [] {}));
        dialogs.push_back(std::make_unique<filter::frmSortieren>(m_main.get(), order));
        auto list = std::make_unique<deckio::frmDecklist>(m_main.get());
        list->setDecklist(QStringLiteral("Anführer: Harald\r\nAnzahl Karten: 1"));
        dialogs.push_back(std::move(list));
        dialogs.push_back(std::make_unique<deckio::frmCardTableData>(m_main.get()));
        dialogs.push_back(std::make_unique<ui::frmInfo>(m_main.get()));
        QStringList found;
        for (auto& d : dialogs) {
            showAndWait(d.get());
            for (const QString& f : faults(d.get()))
                found << d->objectName() + QStringLiteral(": ") + f;
            d->hide();
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

QTEST_MAIN(TstTextFits)
#include "tst_textfits.moc"
