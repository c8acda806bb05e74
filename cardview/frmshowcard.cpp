// The card window: one card as its picture or its text, beside or above the main window.
#include "cardview/frmshowcard.h"

#include "core/programdir.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "core/placement.h"
#include "core/windowframe.h"
#include "db/database.h"
#include "cardview/cardtext.h"
#include "core/windowplace.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <utility>

namespace cardview {

namespace {
constexpr int kMinClientHeight = 1500;
constexpr int kNormalHeight = 6750;
const QString kSection = QStringLiteral("frmShowCard");

// The card's row; the result holds its values, so the connection may close at once.
db::Recordset cardRecord(const QString& name, const QString& table) {
    return db::Database::OpenDatabase(core::databasePath())->OpenRecordset(cardQuery(name, table));
}
// Runs then once the owner window has been framed (its place is known) and painted: reading and
// decoding a card before would hold up the owner's first picture.
class OwnerUp : public QObject {
public:
    static void wait(QWidget* owner, std::function<void()> then) { new OwnerUp(owner, std::move(then)); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // After this paint has been flushed.
            QTimer::singleShot(0, this, [this] { proceed(); });
        }
        return false;
    }

private:
    OwnerUp(QWidget* owner, std::function<void()> then) : QObject(owner), m_then(std::move(then)) {
        owner->installEventFilter(this);
        ui::whenFramed(owner, [self = QPointer<OwnerUp>(this)] {
            if (self) {
                self->m_framed = true;
                self->proceed();
            }
        });
    }
    void proceed() {
        if (!m_framed || !m_painted || !m_then)
            return;
        std::exchange(m_then, nullptr)();
        deleteLater();
    }
    std::function<void()> m_then;
    bool m_framed = false;
    bool m_painted = false;
};

} // namespace

frmShowCard::frmShowCard(QWidget* owner, std::function<bool()> isActive)
    : QWidget(owner, Qt::Tool), m_isActive(std::move(isActive)) {
    setObjectName(QStringLiteral("frmShowCard"));
    setWindowTitle(QStringLiteral(" Kartenansicht"));
    setAttribute(Qt::WA_ShowWithoutActivating);

    imgCard = new QLabel(this);
    imgCard->setObjectName(QStringLiteral("imgCard"));
    imgCard->setScaledContents(true);
    txtCard = new QLabel(this);
    txtCard->setObjectName(QStringLiteral("txtCard"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(8.25);
    txtCard->setFont(mono);
    txtCard->setWordWrap(true);
    txtCard->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtCard->setTextFormat(Qt::PlainText);
    imgCard->installEventFilter(this);
    txtCard->installEventFilter(this);

    mnuSubCard = new QMenu(this);
    mnuSubCard->setObjectName(QStringLiteral("mnuSubCard"));
    mnuBild = mnuSubCard->addAction(QStringLiteral("Bild anzeigen"));
    mnuText = mnuSubCard->addAction(QStringLiteral("Text anzeigen"));
    mnuSep = mnuSubCard->addSeparator();
    mnuTwiceSize = mnuSubCard->addAction(QStringLiteral("Doppelte Größe"));
    mnuNormSize = mnuSubCard->addAction(QStringLiteral("Normale Größe"));
    mnuHalfSize = mnuSubCard->addAction(QStringLiteral("1/2 Größe"));
    mnuQuarterSize = mnuSubCard->addAction(QStringLiteral("1/4 Größe"));
    connect(mnuBild, &QAction::triggered, this, [this] {
        core::openSettings(kSection)->setValue(QStringLiteral("Type"), QStringLiteral("Pic"));
        setMode(true);
        showPicture(m_name, m_table);
    });
    connect(mnuText, &QAction::triggered, this, [this] {
        core::openSettings(kSection)->setValue(QStringLiteral("Type"), QStringLiteral("Text"));
        setMode(false);
        showText(m_name, m_table);
    });
    connect(mnuTwiceSize, &QAction::triggered, this, [this] { setClientHeightTwips(13500); });
    connect(mnuNormSize, &QAction::triggered, this, [this] { setClientHeightTwips(kNormalHeight); });
    connect(mnuHalfSize, &QAction::triggered, this, [this] { setClientHeightTwips(3375); });
    connect(mnuQuarterSize, &QAction::triggered, this, [this] { setClientHeightTwips(1687); });

    // The floor holds for the player's dragging and for the window manager alike.
    const int floor = ui::twipsToPixels(this, kMinClientHeight);
    setMinimumSize(qRound(floor * 0.6), floor);

    // Loading: placement and mode from the settings. The stored height is the outer one, frame included.
    const auto s = core::openSettings(kSection);
    const int height = ui::twipsToPixels(this, qRound(ui::storedNumber(*s, QStringLiteral("Height"), kNormalHeight)));
    const QSize outer(qRound(height * 0.6), height);
    bool hasLeft = false, hasTop = false;
    const float left = s->value(QStringLiteral("Left")).toString().toFloat(&hasLeft);
    const float top = s->value(QStringLiteral("Top")).toString().toFloat(&hasTop);
    if (hasLeft && hasTop) {
        const QPoint at(ui::twipsToPixels(this, qRound(left)), ui::twipsToPixels(this, qRound(top)));
        ui::placeOuter(this, QRect(at, outer), [this](QSize client) { setClientHeight(client.height()); });
    } else {
        // Never placed: beside the owner, once the owner is on screen.
        m_firstOuter = outer;
        setClientHeight(height);
    }
    setMode(storedType() == u"Pic");
}

QString frmShowCard::storedType() const {
    return core::openSettings(kSection)->value(QStringLiteral("Type"), QStringLiteral("Pic")).toString();
}

void frmShowCard::setMode(bool picture) {
    imgCard->setVisible(picture);
    txtCard->setVisible(!picture);
}

void frmShowCard::showCard(const QString& sKartenname, const QString& sTable) {
    m_name = sKartenname;
    m_table = sTable;
    const bool picture = storedType() == u"Pic";
    // A re-query of the pool often lands on the card shown already: no second decoding of its picture.
    if (isVisible() && m_drawn == drawnKey(picture, sKartenname, sTable))
        return;
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && (!owner->isVisible() || m_waitingForOwner) && m_isActive()) {
        // Nothing of it can be seen before its owner is: the card is read and drawn once the owner is up
        // (the last one asked for meanwhile, such as the row the keyboard lands on when the owner is activated).
        appear();
        return;
    }
    if (!picture)
        showText(sKartenname, sTable);
    else
        showPicture(sKartenname, sTable);
}

QString frmShowCard::drawnKey(bool picture, const QString& name, const QString& table) {
    return (picture ? QStringLiteral("P\n") : QStringLiteral("T\n")) + tableOf(table) + u'\n' + name;
}

QString frmShowCard::tableOf(const QString& sTable) { return sTable.isEmpty() ? QStringLiteral("KARTEN") : sTable; }

void frmShowCard::appear() {
    if (isVisible())
        return;
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && (!owner->isVisible() || m_waitingForOwner)) {
        // Mapped before its owner, the window manager would not know whose tool window it is and stack it below.
        if (!m_waitingForOwner) {
            m_waitingForOwner = true;
            OwnerUp::wait(owner, [self = QPointer<frmShowCard>(this)] {
                if (!self)
                    return;
                self->m_waitingForOwner = false;
                if (self->m_firstOuter.isValid())
                    self->placeBesideOwner();
                if (self->m_isActive() && !self->isVisible())
                    self->showCard(self->m_name, self->m_table);
            });
        }
        return;
    }
    if (owner && m_firstOuter.isValid())
        placeBesideOwner();
    // The control that had the keyboard gets it back: the player goes on with the arrow keys.
    QPointer<QWidget> hadFocus = owner ? owner->focusWidget() : nullptr;
    show();
    m_shownOnce = true;
    if (owner && owner->isVisible()) {
        owner->activateWindow();
        if (hadFocus)
            hadFocus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void frmShowCard::placeBesideOwner() {
    QWidget* owner = parentWidget()->window();
    // Clear of the lists and grids the player works in, as far as the screen allows.
    QList<QRect> keepClear;
    for (const QAbstractItemView* view : owner->findChildren<QAbstractItemView*>())
        if (view->isVisible() && view->window() == owner)
            keepClear << QRect(view->mapToGlobal(QPoint(0, 0)), view->size());
    const QScreen* screen = owner->screen() ? owner->screen() : this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect outer = core::placedBeside(owner->frameGeometry(), m_firstOuter, m_firstOuter, area, keepClear);
    m_firstOuter = QSize();
    ui::placeOuter(this, outer, [this](QSize client) { setClientHeight(client.height()); });
}

void frmShowCard::showPicture(const QString& sKartenname, const QString& sTable) {
    if (!m_isActive())
        return;
    if (!m_library.ensureLoaded()) {
        // Without the picture library the text still tells the player everything.
        if (!m_libraryReported) {
            m_libraryReported = true;
            core::prompter().message(m_library.error(), QStringLiteral(" Kartenansicht"), core::Icon::Exclamation,
                                     core::Buttons::Ok);
        }
        setMode(false);
        showText(sKartenname, sTable);
        return;
    }
    // Read first: a failing look-up leaves a hidden window hidden.
    const db::Recordset rs = cardRecord(sKartenname, tableOf(sTable));
    QImage picture;
    if (!rs.Eof()) {
        const PictureRef ref = pictureRef(rs.Fields(QStringLiteral("Nummer")).toString());
        picture = m_library.GetPicture(ref.id, ref.group);
    }
    if (picture.isNull())
        picture = m_library.GetPicture(QStringLiteral("BLANK"), QStringLiteral("BLANK"));
    appear();
    setMode(true);
    imgCard->setPixmap(QPixmap::fromImage(picture));
    m_drawn = drawnKey(true, sKartenname, sTable);
}

void frmShowCard::showText(const QString& sKartenname, const QString& sTable) {
    if (!m_isActive())
        return;
    const db::Recordset rs = cardRecord(sKartenname, tableOf(sTable));
    appear();
    m_drawn = drawnKey(false, sKartenname, sTable);
    if (rs.Eof()) {
        txtCard->clear();
        return;
    }
    m_drawn.clear();
    const CardFields fields = [&rs](const char* column) -> QVariant {
        const QString name = QString::fromUtf8(column);
        return rs.labels().contains(name, Qt::CaseInsensitive) ? rs.Fields(name) : QVariant();
    };
    QString text = cardText(fields);
    // The label breaks lines at line feeds.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtCard->setText(text);
    m_drawn = drawnKey(false, sKartenname, sTable);
}

void frmShowCard::closeWindow() { close(); }

void frmShowCard::setClientHeightTwips(int twips) { setClientHeight(ui::twipsToPixels(this, twips)); }

void frmShowCard::setClientHeight(int pixels) {
    const int h = qMax(pixels, ui::twipsToPixels(this, kMinClientHeight));
    resize(qRound(h * 0.6), h);
}

void frmShowCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Picture and text cover whatever the client area is now, also while a correction below is under way.
    imgCard->setGeometry(rect());
    txtCard->setGeometry(rect());
    const int h = qMax(height(), ui::twipsToPixels(this, kMinClientHeight));
    const int w = qRound(h * 0.6);
    if (h != height() || w != width())
        resize(w, h);
}

void frmShowCard::storePlacement() {
    // Its width follows from the height: the section keeps no width.
    ui::storeOuterPlace(*core::openSettings(kSection), this, ui::StoredSize::HeightOnly);
}

void frmShowCard::closeEvent(QCloseEvent* event) {
    if (m_shownOnce)
        storePlacement();
    QWidget::closeEvent(event);
}

bool frmShowCard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imgCard || watched == txtCard) {
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            const bool text = storedType() == u"Text";
            mnuBild->setVisible(text);
            for (QAction* a : {mnuText, mnuSep, mnuTwiceSize, mnuNormSize, mnuHalfSize, mnuQuarterSize})
                a->setVisible(!text);
            mnuSubCard->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick && watched == imgCard) {
            setClientHeightTwips(kNormalHeight);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cardview
