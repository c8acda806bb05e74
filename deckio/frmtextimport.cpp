// The window that reads a deck from pasted text and shows, line by line, what it found.
#include "deckio/frmtextimport.h"

#include "db/database.h"
#include "db/dberror.h"
#include "deck/deckcomparison.h"
#include "deck/entrynames.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace deckio {

namespace {

QString kindText(NamedCard::Kind kind) {
    switch (kind) {
    case NamedCard::Kind::Leader:
        return QStringLiteral("Anführer");
    case NamedCard::Kind::Inquisitor:
        return QStringLiteral("Inquisitor");
    case NamedCard::Kind::Card:
        break;
    }
    return QStringLiteral("Karte");
}

QString cardText(const NamedCard& c) {
    return QStringLiteral("%1: %2 (%3)").arg(kindText(c.kind), c.name, c.number);
}

} // namespace

frmTextImport::frmTextImport(QWidget* owner, const QString& databasePath) : QDialog(owner), m_databasePath(databasePath) {
    setObjectName(QStringLiteral("frmTextImport"));
    setWindowTitle(QStringLiteral("Deck aus Text importieren"));
    resize(760, 560);
    {
        auto conn = db::Database::OpenDatabase(databasePath);
        m_names = std::make_unique<CardNames>(*conn);
    }

    auto* hint = new QLabel(QStringLiteral("Deckliste, Deckdatei, CardTable-Deck oder eine Karte je Zeile "
                                           "(Name oder Nummer, mit oder ohne Anzahl):"),
                            this);
    hint->setWordWrap(true);
    txtText = new QPlainTextEdit(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtText->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtText->setTabChangesFocus(true);

    lstLines = new QTreeWidget(this);
    lstLines->setObjectName(QStringLiteral("lstLines"));
    lstLines->setRootIsDecorated(false);
    lstLines->setHeaderLabels({QStringLiteral("Zeile"), QStringLiteral("Text"), QStringLiteral("Erkannt als")});
    lstLines->header()->setSectionResizeMode(QHeaderView::Interactive);
    lstLines->setColumnWidth(0, 50);
    lstLines->setColumnWidth(1, 260);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(txtText);
    split->addWidget(lstLines);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    lblSummary->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(this);
    cmdApply = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdCancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(split, 1);
    layout->addWidget(lblSummary);
    layout->addWidget(buttons);

    // Read again a moment after the last key, not at every one.
    m_delay = new QTimer(this);
    m_delay->setSingleShot(true);
    m_delay->setInterval(250);
    connect(m_delay, &QTimer::timeout, this, &frmTextImport::refresh);
    connect(txtText, &QPlainTextEdit::textChanged, m_delay, qOverload<>(&QTimer::start));

    const QString clip = QGuiApplication::clipboard()->text();
    if (!clip.trimmed().isEmpty())
        setText(clip);
    else
        refresh();
}

frmTextImport::~frmTextImport() = default;

void frmTextImport::setText(const QString& text) {
    txtText->setPlainText(text);
    refresh();
}

void frmTextImport::refresh() {
    m_delay->stop();
    m_deck = readDeckText(txtText->toPlainText(), *m_names);
    showLines();
    showSummary();
}

void frmTextImport::choose(int lineIndex, int candidate) {
    chooseCandidate(m_deck, lineIndex, candidate);
    showLines();
    showSummary();
}

void frmTextImport::showLines() {
    lstLines->clear();
    for (int i = 0; i < int(m_deck.lines.size()); ++i) {
        const ImportLine& line = m_deck.lines[size_t(i)];
        if (line.status == ImportLine::Status::Ignored && line.text.trimmed().isEmpty())
            continue;
        auto* item = new QTreeWidgetItem(lstLines, {QString::number(line.lineNumber), line.text.trimmed(), QString()});
        item->setData(0, Qt::UserRole, i);
        QString result;
        QColor colour = Qt::darkGreen;
        switch (line.status) {
        case ImportLine::Status::Ignored:
            result = QStringLiteral("übergangen");
            colour = Qt::gray;
            break;
        case ImportLine::Status::Unknown:
            result = QStringLiteral("Unbekannt – wird nicht übernommen");
            colour = Qt::red;
            break;
        case ImportLine::Status::Ambiguous:
        case ImportLine::Status::Recognised:
            result = line.card() ? cardText(*line.card()) : QString();
            if (line.count > 1)
                result += QStringLiteral(" – %1× genannt, das Deck nimmt sie einmal").arg(line.count);
            if (line.repeated)
                result += QStringLiteral(" – schon genannt");
            if (line.count > 1 || line.repeated)
                colour = QColor(0xB0, 0x60, 0x00);
            break;
        }
        for (int c = 0; c < 3; ++c)
            item->setForeground(c, colour);
        if (line.status == ImportLine::Status::Ambiguous) {
            // The player chooses; until then the line takes nothing.
            auto* box = new QComboBox(lstLines);
            box->setObjectName(QStringLiteral("cmbChoice_%1").arg(i));
            box->addItem(QStringLiteral("Mehrdeutig – bitte wählen …"));
            for (const NamedCard& c : line.candidates)
                box->addItem(cardText(c));
            box->setCurrentIndex(line.chosen + 1);
            lstLines->setItemWidget(item, 2, box);
            connect(box, &QComboBox::activated, this, [this, i](int index) {
                // Rebuilding the list deletes this box: not while its own signal runs.
                QTimer::singleShot(0, this, [this, i, index] { choose(i, index - 1); });
            });
        } else {
            item->setText(2, result);
        }
    }
}

void frmTextImport::showSummary() {
    deck::DeckNumbers numbers{m_deck.leaderNumber, m_deck.inquisitorNumber, m_deck.cardNumbers};
    QStringList lines;
    try {
        const deck::ComparedDeck found = deck::evaluateDeckNumbers(m_databasePath, numbers);
        lines << QStringLiteral("Anführer: ") +
                     (found.leaderEntry.isEmpty() ? QStringLiteral("(keiner genannt – bleibt wie gewählt)") : found.leaderEntry);
        lines << QStringLiteral("Inquisitor: ") +
                     (found.inquisitorEntry.isEmpty() ? QStringLiteral("(keiner)") : found.inquisitorEntry);
        const deck::DeckFigures& f = found.figures;
        QString limits = QStringLiteral("Karten: %1").arg(f.deckCards);
        if (!found.leaderEntry.isEmpty())
            limits += QStringLiteral(" von %1, fremde Monde: %2 von %3").arg(f.cardLimit).arg(f.foreignMoons).arg(f.moonLimit);
        if (!found.leaderEntry.isEmpty() && (f.overCardLimit() || f.overMoonLimit()))
            limits += QStringLiteral(" – über der Grenze");
        lines << limits;
    } catch (const db::DbError& e) {
        lines << e.description();
    }
    QStringList open;
    if (const int n = m_deck.ambiguousLines())
        open << QStringLiteral("%1 mehrdeutig").arg(n);
    if (const int n = m_deck.unknownLines())
        open << QStringLiteral("%1 unbekannt").arg(n);
    if (const int n = m_deck.countsAboveOne())
        open << QStringLiteral("%1 mit Anzahl über 1").arg(n);
    if (!open.isEmpty())
        lines << QStringLiteral("Zeilen: ") + open.join(QStringLiteral(", "));
    lblSummary->setText(lines.join(u'\n'));
    cmdApply->setEnabled(!m_deck.cardNumbers.isEmpty() || !m_deck.leaderNumber.isEmpty());
}

} // namespace deckio
