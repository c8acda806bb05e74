// The window that shows the deck list and copies it.
#include "deckio/frmdecklist.h"

#include "core/windowplace.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>

namespace deckio {

frmDecklist::frmDecklist(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmDecklist"));
    setWindowTitle(QStringLiteral("Deckliste"));
    auto px = [this](int twips) { return ui::twipsToPixels(this, twips); };
    resize(px(5895), px(6855));

    txtDecklist = new QPlainTextEdit(this);
    txtDecklist->setObjectName(QStringLiteral("txtDecklist"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(8.25);
    txtDecklist->setFont(mono);
    txtDecklist->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtDecklist->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDecklist->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDecklist->setGeometry(px(120), px(120), px(5655), px(6135));
    // Tab moves on to the buttons, as everywhere else in the program.
    txtDecklist->setTabChangesFocus(true);

    cmdClipboard = new QPushButton(QStringLiteral("In Zwischenablage kopieren"), this);
    cmdClipboard->setObjectName(QStringLiteral("cmdClipboard"));
    cmdClipboard->setGeometry(px(120), px(6360), px(2775), px(375));
    cmdClose = new QPushButton(QStringLiteral("Fenster schließen"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(px(3000), px(6360), px(2775), px(375));
    setTabOrder(txtDecklist, cmdClipboard);
    setTabOrder(cmdClipboard, cmdClose);

    connect(cmdClipboard, &QPushButton::clicked, this, [this] {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(txtDecklist->toPlainText());
    });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmDecklist::setDecklist(const QString& sDeckliste) {
    // The box shows lines; CR LF pairs become its line breaks.
    QString shown = sDeckliste;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtDecklist->setPlainText(shown);
}

void frmDecklist::ShowDecklist(const QString& sDeckliste) {
    setDecklist(sDeckliste);
    exec();
}

} // namespace deckio
