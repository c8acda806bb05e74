#include "cardview/frmshowcard.h"

#include "core/programdir.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "db/database.h"
#include "db/flexgrid.h"
#include "cardview/cardtext.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

namespace cardview {

namespace {
constexpr int kMinClientHeight = 1500;
constexpr int kNormalHeight = 6750;
const QString kSection = QStringLiteral("frmShowCard");

// The card's row; the result holds its values, so the connection may close at once.
db::Recordset cardRecord(const QString& name, const QString& table) {
    return db::Database::OpenDatabase(core::databasePath())->OpenRecordset(cardQuery(name, table));
}
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

    // Loading: placement and mode from the settings.
    const auto s = core::openSettings(kSection);
    const int height = ui::twipsToPixels(this, s->value(QStringLiteral("Height"), kNormalHeight).toInt());
    resize(qRound(height * 0.6), height);
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    const int left = s->contains(QStringLiteral("Left")) ? ui::twipsToPixels(this, s->value(QStringLiteral("Left")).toInt())
                                                          : (screenRect.width() - width()) / 2;
    const int top = s->contains(QStringLiteral("Top")) ? ui::twipsToPixels(this, s->value(QStringLiteral("Top")).toInt())
                                                        : (screenRect.height() - height) / 2;
    move(left, top);
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
    if (storedType() != u"Pic")
        showText(sKartenname, sTable);
    else
        showPicture(sKartenname, sTable);
}

bool frmShowCard::commonStart(const QString& sTable, QString& table) {
    if (!m_isActive())
        return false;
    table = sTable.isEmpty() ? QStringLiteral("KARTEN") : sTable;
    if (!isVisible()) {
        show();
        m_shownOnce = true;
        if (parentWidget() && parentWidget()->isVisible()) {
            parentWidget()->activateWindow();
            parentWidget()->setFocus();
        }
    }
    return true;
}

void frmShowCard::showPicture(const QString& sKartenname, const QString& sTable) {
    QString table;
    if (!commonStart(sTable, table))
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
    const db::Recordset rs = cardRecord(sKartenname, table);
    QImage picture;
    if (!rs.Eof()) {
        const PictureRef ref = pictureRef(rs.Fields(QStringLiteral("Nummer")).toString());
        picture = m_library.GetPicture(ref.id, ref.group);
    }
    if (picture.isNull())
        picture = m_library.GetPicture(QStringLiteral("BLANK"), QStringLiteral("BLANK"));
    setMode(true);
    imgCard->setPixmap(QPixmap::fromImage(picture));
}

void frmShowCard::showText(const QString& sKartenname, const QString& sTable) {
    QString table;
    if (!commonStart(sTable, table))
        return;
    const db::Recordset rs = cardRecord(sKartenname, table);
    if (rs.Eof()) {
        txtCard->clear();
        return;
    }
    const CardFields fields = [&rs](const char* column) -> QVariant {
        const QString name = QString::fromUtf8(column);
        return rs.labels().contains(name, Qt::CaseInsensitive) ? rs.Fields(name) : QVariant();
    };
    QString text = cardText(fields);
    // The label breaks lines at line feeds.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtCard->setText(text);
}

void frmShowCard::closeWindow() { close(); }

void frmShowCard::setClientHeightTwips(int twips) {
    const int h = ui::twipsToPixels(this, twips);
    resize(qRound(h * 0.6), h);
}

void frmShowCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int floor = ui::twipsToPixels(this, kMinClientHeight);
    const int h = qMax(height(), floor);
    const int w = qRound(h * 0.6);
    if (h != height() || w != width()) {
        resize(w, h);
        return;
    }
    imgCard->setGeometry(0, 0, w, h);
    txtCard->setGeometry(0, 0, w, h);
}

void frmShowCard::storePlacement() {
    const auto s = core::openSettings(kSection);
    s->setValue(QStringLiteral("Left"), QString::number(ui::pixelsToTwips(this, x())));
    s->setValue(QStringLiteral("Top"), QString::number(ui::pixelsToTwips(this, y())));
    s->setValue(QStringLiteral("Height"), QString::number(ui::pixelsToTwips(this, height())));
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
