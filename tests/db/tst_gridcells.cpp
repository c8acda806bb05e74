// A grid's cells look exactly as the style would paint them, with the quicker way of painting text.
#include "db/flexgrid.h"
#include "db/gridcelldelegate.h"
#include "db/gridmodel.h"
#include "db/gridscrollbar.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QtTest/QTest>

#include <array>

namespace {

// The style's own way, with the same colours and alignment: what the grid must look like.
class StyleWay : public ui::GridCellDelegate {
public:
    using GridCellDelegate::GridCellDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
    }
};

QString randomText(QRandomGenerator& random) {
    static const QStringList pieces = {QStringLiteral("Dämon"), QStringLiteral("Öl"), QStringLiteral("Ärger"), QStringLiteral("ß"),
                                       QStringLiteral("2\\6"), QStringLiteral("[1]\\0"), QStringLiteral(" "), QStringLiteral("Paar Gesch."),
                                       QStringLiteral("TOLVEN 012"), QStringLiteral("W"), QStringLiteral("i"), QStringLiteral("…"),
                                       QStringLiteral("Zeile\nzwei"), QStringLiteral("—"), QStringLiteral("%&<>")};
    QString text;
    for (int n = int(random.bounded(6)); n > 0; --n)
        text += pieces[int(random.bounded(pieces.size()))];
    return text;
}

} // namespace

class TstGridCells : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Generated grids (texts cut or not, umlauts, line breaks, marking greys, a selected row, narrow and
    // wide columns, a light and a dark palette, the window active or not): every pixel as the style's.
    void cellsAreDrawnAsTheStyleDrawsThem() {
        QRandomGenerator random(20261209);
        const QList<quint32> colours = {db::GridModel::Black, 0x808080, 0xC0C0C0, 0xFF0000};
        QStringList differing;
        for (int round = 0; round < 60; ++round) {
            QStandardItemModel model(30, 9);
            for (int r = 0; r < model.rowCount(); ++r) {
                const quint32 colour = colours[int(random.bounded(colours.size()))];
                for (int c = 0; c < model.columnCount(); ++c) {
                    model.setData(model.index(r, c), randomText(random));
                    model.setData(model.index(r, c), colour, db::GridModel::TextColorRole);
                }
            }
            ui::FlexGrid grid;
            grid.setModel(&model);
            grid.resize(700, 500);
            for (int c = 0; c < model.columnCount(); ++c)
                grid.setColumnWidth(c, 8 + int(random.bounded(160)));
            if (round % 2) {
                QPalette dark;
                dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x24));
                dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
                dark.setColor(QPalette::Highlight, QColor(0x3D, 0x6E, 0xB4));
                dark.setColor(QPalette::HighlightedText, Qt::white);
                dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x34));
                dark.setColor(QPalette::WindowText, QColor(0xE8, 0xE8, 0xE8));
                grid.setPalette(dark);
            }
            grid.setRow(1 + int(random.bounded(model.rowCount())));
            grid.show();
            if (round % 4 < 2) {
                grid.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&grid));
            }
            const QImage quick = grid.grab().toImage();
            StyleWay styleWay;
            grid.setItemDelegate(&styleWay);
            const QImage style = grid.grab().toImage();
            grid.setItemDelegate(nullptr);
            for (int r = 0; r < model.rowCount(); ++r)
                for (int c = 0; c < model.columnCount(); ++c) {
                    const QRect rect = grid.visualRect(model.index(r, c)).translated(grid.viewport()->pos()) & quick.rect();
                    if (!rect.isEmpty() && quick.copy(rect) != style.copy(rect))
                        differing << QStringLiteral("round %1 row %2 column %3 (%4 px): %5")
                                         .arg(round).arg(r).arg(c).arg(rect.width()).arg(model.index(r, c).data().toString());
                }
        }
        QVERIFY2(differing.isEmpty(), qPrintable(differing.join(u'\n')));
    }

    // A grid's scroll bar, led through generated states (often only its range changes, as when the
    // name box narrows the pool), looks after each exactly as a plain scroll bar in the same state,
    // and reuses its picture where that looks the same.
    void scrollBarsAreDrawnAsTheStyleDrawsThem() {
        QRandomGenerator random(20261210);
        for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
            ui::GridScrollBar kept(orientation);
            QScrollBar plain(orientation);
            int paints = 0;
            for (int step = 0; step < 150; ++step) {
                // Now and then one thing about the bar itself changes.
                const int change = step == 0 ? 0 : int(random.bounded(16));
                for (QScrollBar* bar : {static_cast<QScrollBar*>(&kept), &plain}) {
                    if (change == 0) {
                        const int length = 40 + int(QRandomGenerator(step).bounded(400));
                        bar->resize(orientation == Qt::Vertical ? QSize(bar->sizeHint().width(), length)
                                                                : QSize(length, bar->sizeHint().height()));
                    } else if (change == 1) {
                        bar->setLayoutDirection(bar->isRightToLeft() ? Qt::LeftToRight : Qt::RightToLeft);
                    } else if (change == 2) {
                        bar->setEnabled(!bar->isEnabled());
                    } else if (change == 3) {
                        QPalette palette = bar->palette();
                        palette.setColor(QPalette::Button, palette.color(QPalette::Button).lightness() > 128 ? QColor(0x30, 0x30, 0x34)
                                                                                                           : QColor(0xEF, 0xEF, 0xEF));
                        bar->setPalette(palette);
                    }
                }
                // Half the steps narrow a long list: only the range moves, the slider stays at the top.
                const bool narrowing = random.bounded(2);
                const int bound = std::array{0, 3, 60, 100000}[random.bounded(4)];
                const int maximum = narrowing ? 1000 + int(random.bounded(99000)) : bound ? int(random.bounded(bound)) : 0;
                const int page = narrowing ? kept.pageStep() : 5 + int(random.bounded(40));
                const int value = narrowing || random.bounded(3) ? 0 : int(random.bounded(maximum + 1));
                for (QScrollBar* bar : {static_cast<QScrollBar*>(&kept), &plain}) {
                    bar->setRange(0, maximum);
                    bar->setPageStep(page);
                    bar->setValue(value);
                }
                const QImage picture = kept.grab().toImage();
                ++paints;
                QVERIFY2(picture == plain.grab().toImage(),
                         qPrintable(QStringLiteral("step %1: %2 of %3, page %4").arg(step).arg(value).arg(maximum).arg(page)));
            }
            QVERIFY2(kept.picturesDrawn() < paints * 2 / 3, qPrintable(QString::number(kept.picturesDrawn())));
        }
    }
};

QTEST_MAIN(TstGridCells)
#include "tst_gridcells.moc"
