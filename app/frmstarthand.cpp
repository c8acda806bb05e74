// The opening-hand window: a repeatable sample hand and the table of exact odds.
#include "app/frmstarthand.h"

#include "cardview/cardtext.h"
#include "cardview/picturelibrary.h"
#include "db/database.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ui {

namespace {
constexpr int kPictureWidth = 96;
constexpr int kColumns = 4;
} // namespace

frmStarthand::frmStarthand(QWidget* owner, const QString& databasePath, cardview::PictureLibrary* library)
    : QDialog(owner), m_databasePath(databasePath), m_library(library) {
    setObjectName(QStringLiteral("frmStarthand"));
    setWindowTitle(QStringLiteral("Starthand"));
    resize(820, 640);

    spnHandSize = new QSpinBox(this);
    spnHandSize->setObjectName(QStringLiteral("spnHandSize"));
    spnHandSize->setRange(1, 30);
    spnHandSize->setValue(7);
    txtSeed = new QLineEdit(this);
    txtSeed->setObjectName(QStringLiteral("txtSeed"));
    txtSeed->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,19}")), txtSeed));
    txtSeed->setText(QString::number(QRandomGenerator::global()->bounded(1000000u)));
    txtSeed->setToolTip(QStringLiteral("Dieselbe Zahl gibt bei gleichem Deck dieselbe Hand."));
    cmdNewHand = new QPushButton(QStringLiteral("Neue Hand"), this);
    cmdNewHand->setObjectName(QStringLiteral("cmdNewHand"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Karten auf der Hand:"), this));
    controls->addWidget(spnHandSize);
    controls->addSpacing(16);
    controls->addWidget(new QLabel(QStringLiteral("Startwert:"), this));
    controls->addWidget(txtSeed);
    controls->addWidget(cmdNewHand);
    controls->addStretch(1);

    fraHand = new QWidget(this);
    fraHand->setObjectName(QStringLiteral("fraHand"));
    m_handLayout = new QHBoxLayout(fraHand);
    m_handLayout->setContentsMargins(4, 4, 4, 4);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(fraHand);
    scroll->setWidgetResizable(true);
    scroll->setMinimumHeight(kPictureWidth * 88 / 63 + 60);

    tblOdds = new QTableWidget(this);
    tblOdds->setObjectName(QStringLiteral("tblOdds"));
    tblOdds->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblOdds->verticalHeader()->setVisible(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fenster schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(scroll);
    layout->addWidget(new QLabel(QStringLiteral("Wahrscheinlichkeit, mindestens k solcher Karten auf der Hand zu halten "
                                                "(exakt, Ziehen ohne Zurücklegen):"),
                                 this));
    layout->addWidget(tblOdds, 1);
    layout->addWidget(buttons);

    connect(spnHandSize, &QSpinBox::valueChanged, this, [this] {
        draw();
        showOdds();
    });
    connect(txtSeed, &QLineEdit::editingFinished, this, &frmStarthand::draw);
    connect(cmdNewHand, &QPushButton::clicked, this, &frmStarthand::newHand);
    reloadDeck();
}

quint64 frmStarthand::seed() const { return txtSeed->text().toULongLong(); }

void frmStarthand::reloadDeck() {
    auto conn = db::Database::OpenDatabase(m_databasePath);
    m_cards = deck::handCards(*conn);
    draw();
    showOdds();
}

void frmStarthand::newHand() {
    txtSeed->setText(QString::number(QRandomGenerator::global()->bounded(1000000u)));
    draw();
}

void frmStarthand::draw() {
    m_hand = deck::sampleHand(m_cards, spnHandSize->value(), seed());
    while (QLayoutItem* item = m_handLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const bool pictures = m_library && m_library->ensureLoaded();
    for (const deck::HandCard& card : m_hand) {
        auto* cell = new QWidget(fraHand);
        auto* column = new QVBoxLayout(cell);
        column->setContentsMargins(0, 0, 0, 0);
        auto* picture = new QLabel(cell);
        picture->setFixedSize(kPictureWidth, kPictureWidth * 88 / 63);
        picture->setAlignment(Qt::AlignCenter);
        QImage image;
        if (pictures) {
            const cardview::PictureRef ref = cardview::pictureRef(card.number);
            image = m_library->GetPicture(ref.id, ref.group);
        }
        if (image.isNull()) {
            picture->setFrameShape(QFrame::Box);
            picture->setWordWrap(true);
            picture->setText(card.name);
        } else {
            picture->setPixmap(QPixmap::fromImage(image.scaled(picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
        picture->setToolTip(card.name + QStringLiteral(" (") + card.number + u')');
        auto* name = new QLabel(card.name, cell);
        name->setWordWrap(true);
        name->setFixedWidth(kPictureWidth);
        column->addWidget(picture);
        column->addWidget(name, 0, Qt::AlignTop);
        m_handLayout->addWidget(cell);
    }
    if (m_hand.empty())
        m_handLayout->addWidget(new QLabel(QStringLiteral("Das Deck ist leer."), fraHand));
    m_handLayout->addStretch(1);
}

void frmStarthand::showOdds() {
    const deck::OddsTable table = deck::oddsTable(m_cards, spnHandSize->value(), kColumns);
    QStringList headings{QStringLiteral("Merkmal"), QStringLiteral("Im Deck")};
    for (int k = 1; k <= table.columns; ++k)
        headings << QStringLiteral("mind. %1").arg(k);
    tblOdds->clear();
    tblOdds->setColumnCount(int(headings.size()));
    tblOdds->setHorizontalHeaderLabels(headings);
    tblOdds->setRowCount(int(table.rows.size()));
    for (int r = 0; r < int(table.rows.size()); ++r) {
        const deck::OddsRow& row = table.rows[size_t(r)];
        tblOdds->setItem(r, 0, new QTableWidgetItem(row.label));
        auto* count = new QTableWidgetItem(QString::number(row.inDeck));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tblOdds->setItem(r, 1, count);
        for (int k = 0; k < int(row.atLeast.size()); ++k) {
            auto* cell = new QTableWidgetItem(deck::percentText(row.atLeast[size_t(k)]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblOdds->setItem(r, 2 + k, cell);
        }
    }
    tblOdds->resizeColumnsToContents();
    tblOdds->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
}

} // namespace ui
