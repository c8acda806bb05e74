// The about box: title, version and a notice.
#include "app/frminfo.h"

#include "core/startup.h"
#include "core/windowplace.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace ui {

namespace {
QPixmap logo(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(120, 24, 32));
    p.setPen(QPen(QColor(212, 175, 55), 3));
    p.drawEllipse(4, 4, size - 8, size - 8);
    p.setPen(QColor(212, 175, 55));
    QFont f;
    f.setBold(true);
    f.setPixelSize(size / 2);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("D"));
    return pm;
}
} // namespace

frmInfo::frmInfo(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(this, 4935), twipsToPixels(this, 4575));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(logo(64));
    picture->setGeometry(16, 16, 64, 64);

    auto* title = new QLabel(QStringLiteral("Dravenna Deck-Builder"), this);
    title->setObjectName(QStringLiteral("Label3"));
    QFont titleFont;
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setGeometry(96, 24, 220, 24);

    lblVersion = new QLabel(QStringLiteral("Version"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    QFont bold;
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    lblVersion->setFont(bold);
    lblVersion->setGeometry(96, 54, 220, 18);
    lblVersion->setText(core::versionText(DRAVENNA_VERSION_MAJOR, DRAVENNA_VERSION_MINOR));

    auto* frame = new QGroupBox(QStringLiteral("Hinweis"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(16, 96, width() - 32, 110);
    auto* label1 = new QLabel(QStringLiteral("Ein Hilfsprogramm für Spieler des Kartenspiels Dravenna."), frame);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    label1->setGeometry(10, 22, frame->width() - 20, 36);
    auto* label2 = new QLabel(QStringLiteral("Kartennamen, Bilder und Texte gehören ihren Urhebern."), frame);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setWordWrap(true);
    label2->setGeometry(10, 62, frame->width() - 20, 36);
    auto* label4 = new QLabel(QStringLiteral("Decks werden als .drd-Dateien gespeichert."), this);
    label4->setObjectName(QStringLiteral("Label4"));
    label4->setGeometry(16, 216, width() - 32, 18);
    auto* label5 = new QLabel(QStringLiteral("Kein Netzwerk, keine Telemetrie."), this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setGeometry(16, 236, width() - 32, 18);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdClose"));
    ok->setGeometry(width() - 100, height() - 40, 84, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace ui
