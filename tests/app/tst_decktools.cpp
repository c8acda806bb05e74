// The deck tools through the real main window: import from text, comparison, opening hand, print and PDF,
// and the numbers a loaded deck file passed over.
#include "app/frmstarthand.h"
#include "app/frmvergleich.h"
#include "cardview/frmdruckoptionen.h"
#include "deckio/frmtextimport.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTransform>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <cmath>

using testing::MainWindowFixture;

namespace {

template <typename Window>
Window* shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Window*>(w); found && found->isVisible())
            return found;
    return nullptr;
}

QStringList texts(QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

// A page of a written PDF as a viewer sees it: its size and where each picture lands, in millimetres from
// the paper's top left corner, and the size of each font it prints with.
struct PdfPage {
    QSizeF size;
    QList<QRectF> pictures;
    QList<double> textSizes; // in points, as printed
};

constexpr double kMmPerPoint = 25.4 / 72;

// Follows the page's content stream as a viewer does: the transformation in force (cm, saved and restored by
// q and Q) maps each drawn picture's unit square (Do) onto the page and scales each font chosen (Tf).
void readContent(const QByteArray& content, double pageHeight, PdfPage& page) {
    QList<QTransform> saved;
    QTransform ctm;
    QList<double> operands;
    for (const QByteArray& token : content.simplified().split(' ')) {
        bool number = false;
        const double value = token.toDouble(&number);
        if (number) {
            operands << value;
            continue;
        }
        if (token == "q") {
            saved << ctm;
        } else if (token == "Q" && !saved.isEmpty()) {
            ctm = saved.takeLast();
        } else if (token == "cm" && operands.size() >= 6) {
            const auto m = operands.mid(operands.size() - 6);
            ctm = QTransform(m[0], m[1], m[2], m[3], m[4], m[5]) * ctm;
        } else if (token == "Do") {
            const QRectF r = ctm.mapRect(QRectF(0, 0, 1, 1));
            page.pictures << QRectF(r.x() * kMmPerPoint, (pageHeight - r.bottom()) * kMmPerPoint,
                                    r.width() * kMmPerPoint, r.height() * kMmPerPoint);
        } else if (token == "Tf" && !operands.isEmpty()) {
            page.textSizes << operands.last() * std::sqrt(qAbs(ctm.determinant()));
        }
        if (!token.startsWith('/'))
            operands.clear();
    }
}

QList<PdfPage> pdfPages(const QByteArray& pdf) {
    QList<PdfPage> pages;
    const QString text = QString::fromLatin1(pdf);
    static const QRegularExpression page(
        QStringLiteral("/Type /Page\\b(?!s)[^>]*?/Contents (\\d+) 0 R[^>]*?/MediaBox \\[([^\\]]*)\\]"));
    for (auto it = page.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QStringList box = m.captured(2).simplified().split(u' ');
        PdfPage out;
        out.size = QSizeF(box.value(2).toDouble(), box.value(3).toDouble()) * kMmPerPoint;
        const qsizetype object = text.indexOf(QRegularExpression(QStringLiteral("(?<!\\d)%1 0 obj").arg(m.captured(1))));
        const qsizetype start = text.indexOf(QStringLiteral("stream\n"), object) + 7;
        QByteArray stream = pdf.mid(start, text.indexOf(QStringLiteral("endstream"), start) - start);
        if (text.mid(object, start - object).contains(QStringLiteral("/FlateDecode"))) {
            // qUncompress wants the zlib data behind a size; a small one is grown as needed.
            const quint32 guess = quint32(stream.size());
            const char size[] = {char(guess >> 24), char(guess >> 16), char(guess >> 8), char(guess)};
            stream.prepend(size, 4);
            stream = qUncompress(stream);
        }
        readContent(stream, box.value(3).toDouble(), out);
        pages << out;
    }
    return pages;
}

// The proxies of one page stand 63 x 88 mm each, three across and three down from the first row and
// column, centred on the A4 page, in the deck list's order.
void checkProxyGrid(const PdfPage& page, int cards) {
    QCOMPARE(page.pictures.size(), cards);
    const double left = (210 - 3 * 63) / 2.0;
    const double top = (297 - 3 * 88) / 2.0;
    for (int i = 0; i < cards; ++i) {
        const QRectF& r = page.pictures[i];
        const QString where = QStringLiteral("picture %1 at %2,%3 size %4x%5")
                                  .arg(i).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        QVERIFY2(qAbs(r.width() - 63) < 0.05 && qAbs(r.height() - 88) < 0.05, qPrintable(where));
        QVERIFY2(qAbs(r.x() - (left + (i % 3) * 63)) < 0.1 && qAbs(r.y() - (top + (i / 3) * 88)) < 0.1, qPrintable(where));
    }
}

} // namespace

class TstDeckTools : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void importFromTheClipboardReplacesTheDeckAsOneStep() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("ORVANE 05")});
        QGuiApplication::clipboard()->setText(QStringLiteral("ANFÜHRER: Sivrid Eisenhand (Sivar)\n"
                                                             "Nebelkraehe x2\nBRAMEL 03\nGanz unbekannt\n"));
        f.prompter.answer(core::Answer::No);
        QVERIFY(f.withDialog<deckio::frmTextImport>("mnuTextImport", [&](deckio::frmTextImport& d) {
            QCOMPARE(d.txtText->toPlainText(), QGuiApplication::clipboard()->text());
            QCOMPARE(texts(d.lstLines, 2),
                     QStringList({"Anführer: Sivrid Eisenhand (SIVAR 01)",
                                  "Karte: Nebelkrähe (ORVANE 07) – 2× genannt, das Deck nimmt sie einmal",
                                  "Karte: Schmiedin aus Morgenrot (BRAMEL 03)", "Unbekannt – wird nicht übernommen"}));
            QVERIFY(d.lblSummary->text().contains(QStringLiteral("Karten: 2 von 50")));
            QVERIFY(d.lblSummary->text().contains(QStringLiteral("Zeilen: 1 unbekannt, 1 mit Anzahl über 1")));
            d.cmdApply->click();
        }));
        // "No" to the discard question: the deck stays.
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\nSoll das aktuelle Deck verworfen werden?"));
        QCOMPARE(f.deckNames(), QStringList({"D'Arvens Schwur"}));

        f.prompter.answer(core::Answer::Yes);
        QVERIFY(f.withDialog<deckio::frmTextImport>("mnuTextImport", [&](deckio::frmTextImport& d) { d.cmdApply->click(); }));
        QCOMPARE(f.deckNames(), QStringList({"Schmiedin aus Morgenrot", "Nebelkrähe"}));
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Sivrid Eisenhand (")));
        // One step back brings the old deck and leader again.
        f.trigger("mnuRueckgaengig");
        QCOMPARE(f.deckNames(), QStringList({"D'Arvens Schwur"}));
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Harald (")));
    }

    void loadingTellsWhichNumbersWerePassedOver() {
        MainWindowFixture f;
        f.start();
        const QString path = f.dir.filePath(QStringLiteral("alt.drd"));
        testing::writeFile(path, "ORVANE 00\r\n\r\nORVANE 05\r\nNIX 1\r\nORVANE 07\r\nZZ 9\r\n");
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.deckNames().size(), 2);
        QCOMPARE(f.prompter.messages.back().text,
                 QStringLiteral("Diese Kartennummern der Datei kennt der Katalog nicht; sie wurden übergangen:\r\nNIX 1, ZZ 9"));
        QCOMPARE(f.prompter.messages.back().icon, core::Icon::Exclamation);
    }

    void comparisonListsAndShowsACard() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({QStringLiteral("ORVANE 05"), QStringLiteral("ORVANE 07")});
        const QString path = f.dir.filePath(QStringLiteral("anders.drd"));
        testing::writeFile(path, "ORVANE 00\r\nINQ 412\r\nORVANE 07\r\nBRAMEL 03\r\n");
        f.prompter.choose(path);
        f.trigger("mnuVergleichenDatei");
        auto* window = shown<ui::frmVergleich>();
        QVERIFY(window);
        QCOMPARE(texts(window->lstOnlyHere, 1), QStringList({"D'Arvens Schwur"}));
        QCOMPARE(texts(window->lstBoth, 1), QStringList({"Nebelkrähe"}));
        QCOMPARE(texts(window->lstOnlyThere, 1), QStringList({"Schmiedin aus Morgenrot"}));
        QCOMPARE(texts(window->lstDifferences, 0).mid(0, 4),
                 QStringList({"Anführer", "Inquisitor", "Anzahl Karten", "Fremde Monde"}));
        QCOMPARE(window->lstDifferences->topLevelItem(1)->text(2), QStringLiteral("Vater Odo"));
        QCOMPARE(window->lstDifferences->topLevelItem(2)->text(1), QStringLiteral("2 / 40"));
        QCOMPARE(window->lstDifferences->topLevelItem(2)->text(2), QStringLiteral("2 / 50"));
        f.viewer.shown.clear();
        Q_EMIT window->lstOnlyThere->itemDoubleClicked(window->lstOnlyThere->topLevelItem(0), 1);
        QCOMPARE(f.viewer.last(), qMakePair(QStringLiteral("Schmiedin aus Morgenrot"), QStringLiteral("KARTEN")));
        window->close();

        // A deck saved is offered among the recent decks; compared with itself, every card is in both.
        auto* choices = f.window->findChild<QMenu*>(QStringLiteral("mnuVergleichenMit"));
        QCOMPARE(choices->actions().size(), 1);
        const QString own = f.dir.filePath(QStringLiteral("eigen.drd"));
        f.prompter.choose(own);
        f.trigger("mnuSpeichern");
        QCOMPARE(choices->actions().size(), 3);
        QCOMPARE(choices->actions().at(2)->text(), QStringLiteral("&1 eigen.drd"));
        QCOMPARE(choices->actions().at(2)->toolTip(), own);
        f.trigger("mnuVergleichen_1");
        window = shown<ui::frmVergleich>();
        QVERIFY(window);
        QCOMPARE(texts(window->lstBoth, 1), QStringList({"D'Arvens Schwur", "Nebelkrähe"}));
        QCOMPARE(window->lstOnlyHere->topLevelItemCount() + window->lstOnlyThere->topLevelItemCount(), 0);
        window->close();
    }

    void openingHandRepeatsBySeedAndFollowsTheDeck() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({"ORVANE 03", "ORVANE 04", "ORVANE 05", "ORVANE 06", "ORVANE 07", "ORVANE 08", "ORVANE 09",
                       "ORVANE 10", "BRAMEL 02"});
        f.trigger("mnuStarthand");
        auto* hand = shown<ui::frmStarthand>();
        QVERIFY(hand);
        QCOMPARE(hand->hand().size(), size_t(7));
        hand->txtSeed->setText(QStringLiteral("4711"));
        Q_EMIT hand->txtSeed->editingFinished();
        const auto first = hand->hand();
        hand->cmdNewHand->click();
        hand->txtSeed->setText(QStringLiteral("4711"));
        Q_EMIT hand->txtSeed->editingFinished();
        QCOMPARE(hand->hand().size(), first.size());
        for (size_t i = 0; i < first.size(); ++i)
            QCOMPARE(hand->hand()[i].number, first[i].number);

        auto row = [&](const QString& label) {
            for (int r = 0; r < hand->tblOdds->rowCount(); ++r)
                if (hand->tblOdds->item(r, 0)->text() == label)
                    return r;
            return -1;
        };
        // One Bramel card in 9, 7 drawn: 7/9.
        QCOMPARE(hand->tblOdds->item(row("Fraktion: Bramel"), 2)->text(), QStringLiteral("77,8 %"));
        f.addByNumber({QStringLiteral("BRAMEL 03")});
        // Read again on the event loop's next turn.
        QTRY_COMPARE(hand->tblOdds->item(row("Fraktion: Bramel"), 1)->text(), QStringLiteral("2"));
        // Two in 10, 7 drawn: 1 - C(8,7)/C(10,7) = 1 - 8/120.
        QCOMPARE(hand->tblOdds->item(row("Fraktion: Bramel"), 2)->text(), QStringLiteral("93,3 %"));
        hand->spnHandSize->setValue(3);
        QCOMPARE(hand->hand().size(), size_t(3));
        hand->close();
    }

    void pdfAndPreviewHaveOnePageForTheListAndOnePerNineCards() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        QStringList numbers;
        for (int n = 3; n < 14; ++n)
            numbers << QStringLiteral("ORVANE %1").arg(n, 2, 10, QLatin1Char('0'));
        f.addByNumber(numbers);
        const int cards = f.deckRows();
        QVERIFY(cards > 9);
        const QString path = f.dir.filePath(QStringLiteral("deck.pdf"));
        QVERIFY(f.withDialog<cardview::frmDruckoptionen>("mnuAlsPdf", [&](cardview::frmDruckoptionen& d) {
            f.prompter.choose(path);
            d.accept();
        }));
        QCOMPARE(f.prompter.messages.back().title, QStringLiteral("PDF erfolgreich gespeichert"));
        const QList<PdfPage> pages = pdfPages(testing::readFile(path));
        QCOMPARE(pages.size(), 1 + (cards + 8) / 9);
        for (const PdfPage& page : pages) {
            QCOMPARE(qRound(page.size.width()), 210); // A4 portrait
            QCOMPARE(qRound(page.size.height()), 297);
        }
        // The deck list: no pictures, and its text at the sizes of a printed list.
        QCOMPARE(pages[0].pictures.size(), 0);
        QVERIFY(pages[0].textSizes.size() > 10);
        for (const double size : pages[0].textSizes)
            QVERIFY2(size > 9.9 && size < 12.1, qPrintable(QString::number(size)));
        for (int p = 1; p < pages.size(); ++p)
            checkProxyGrid(pages[p], std::min(9, cards - 9 * (p - 1)));
        if (QTest::currentTestFailed())
            return;

        // Without the list and the marks: the pictures alone.
        QVERIFY(f.withDialog<cardview::frmDruckoptionen>("mnuAlsPdf", [&](cardview::frmDruckoptionen& d) {
            d.chkDeckList->setChecked(false);
            f.prompter.choose(path);
            d.accept();
        }));
        QCOMPARE(pdfPages(testing::readFile(path)).size(), (cards + 8) / 9);

        // The preview shows what the printer would get; the options were kept from last time.
        int previewPages = -1;
        QTimer::singleShot(0, [&] {
            auto* options = qobject_cast<cardview::frmDruckoptionen*>(QApplication::activeModalWidget());
            QVERIFY(options && !options->chkDeckList->isChecked());
            options->chkDeckList->setChecked(true);
            QTimer::singleShot(0, [&] {
                auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
                if (preview) {
                    previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
                    preview->close();
                }
            });
            options->accept();
        });
        f.trigger("mnuDrucken");
        QCOMPARE(previewPages, 1 + (cards + 8) / 9);
    }
};

QTEST_MAIN(TstDeckTools)
#include "tst_decktools.moc"
