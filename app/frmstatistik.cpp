#include "app/frmstatistik.h"
#include "core/windowplace.h"

#include "core/settings.h"
#include "core/windowframe.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPieSeries>
#include <QPieSlice>
#include <QScreen>
#include <QSettings>
#include <QValueAxis>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

const QString kSection = QStringLiteral("frmStatistik");
// Design size with frame, in twips.
constexpr int kDesignWidth = 15000;
constexpr int kDesignHeight = 10500;
// Below this client size (pixels) the category names no longer fit beside their bars.
constexpr int kMinWidth = 760;
constexpr int kMinHeight = 560;

QColor mixed(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(a.redF() * share + b.redF() * (1 - share), a.greenF() * share + b.greenF() * (1 - share),
                            a.blueF() * share + b.blueF() * (1 - share));
}

// An axis end above every value and the limit, on about five steps of 1, 2 or 5 times a power of ten.
std::pair<int, int> valueScale(int largest) {
    const int target = qMax(1, largest);
    for (int power = 1;; power *= 10)
        for (int m : {1, 2, 5})
            if (m * power * 5 >= target)
                return {(target / (m * power) + 1) * m * power, m * power};
}

QChartView* makeView(QWidget* owner, const char* name) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // The room goes to the plot and its texts, not to borders.
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    auto* view = new QChartView(chart, owner);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(200, 150);
    return view;
}

// Empties a chart of its series and axes before it is drawn anew.
void clear(QChart* chart) {
    chart->removeAllSeries();
    const auto axes = chart->axes();
    for (QAbstractAxis* axis : axes) {
        chart->removeAxis(axis);
        delete axis;
    }
}

void colourAxis(QAbstractAxis* axis, const ChartColours& c) {
    axis->setLabelsBrush(c.text);
    axis->setTitleBrush(c.text);
    axis->setLinePenColor(c.grid);
    axis->setGridLineColor(c.grid);
}

void dress(QChart* chart, const QString& title, const ChartColours& c) {
    const QChart::ChartTheme theme = c.dark ? QChart::ChartThemeDark : QChart::ChartThemeLight;
    if (chart->theme() != theme)
        chart->setTheme(theme);
    chart->setTitle(title);
    chart->setTitleBrush(c.text);
    chart->setBackgroundBrush(c.background);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setPlotAreaBackgroundVisible(false);
    chart->legend()->setLabelColor(c.text);
    chart->legend()->setBrush(Qt::NoBrush);
    chart->legend()->setPen(Qt::NoPen);
}

struct BarSetData {
    QString name;
    QList<int> values;
    QColor colour;
};

// A bar chart of categories, one bar per set and category, optionally a line at the limit and one bar marked as over it.
void drawBars(QChart* chart, const ChartColours& c, bool horizontal, const QStringList& categories, const QString& categoryTitle,
              const QList<BarSetData>& sets, const QString& valueTitle, std::optional<int> limit = std::nullopt,
              const QString& limitName = QString(), int overIndex = -1) {
    clear(chart);
    // Qt lays horizontal categories out bottom-up; the charts read top-down, in the notes' order.
    QStringList shownCategories = categories;
    QList<BarSetData> shownSets = sets;
    if (horizontal) {
        std::reverse(shownCategories.begin(), shownCategories.end());
        for (BarSetData& data : shownSets)
            std::reverse(data.values.begin(), data.values.end());
        if (overIndex >= 0)
            overIndex = int(categories.size()) - 1 - overIndex;
    }
    QAbstractBarSeries* series = horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries*>(new QBarSeries);
    int largest = limit.value_or(0);
    for (const BarSetData& data : shownSets) {
        auto* set = new QBarSet(data.name);
        for (int v : data.values) {
            set->append(v);
            largest = qMax(largest, v);
        }
        set->setColor(data.colour);
        set->setBorderColor(data.colour);
        set->setLabelColor(c.text);
        set->setSelectedColor(c.over);
        if (overIndex >= 0)
            set->selectBar(overIndex);
        series->append(set);
    }
    chart->addSeries(series);

    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(shownCategories);
    categoryAxis->setTitleText(categoryTitle);
    // Names are shown whole; the window's minimum size leaves room for them.
    categoryAxis->setTruncateLabels(false);
    auto* valueAxis = new QValueAxis;
    const auto [top, step] = valueScale(largest);
    valueAxis->setRange(0, top);
    valueAxis->setTickType(QValueAxis::TicksDynamic);
    valueAxis->setTickAnchor(0);
    valueAxis->setTickInterval(step);
    valueAxis->setLabelFormat(QStringLiteral("%d"));
    valueAxis->setTitleText(valueTitle);
    colourAxis(categoryAxis, c);
    colourAxis(valueAxis, c);
    chart->addAxis(categoryAxis, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(valueAxis, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categoryAxis);
    series->attachAxis(valueAxis);

    if (limit) {
        // The limit runs across the whole plot: along a hidden axis of its own beside the categories.
        auto* line = new QLineSeries;
        line->setName(limitName);
        QPen pen(c.text, 2, Qt::DashLine);
        line->setPen(pen);
        if (horizontal) {
            line->append(*limit, 0);
            line->append(*limit, 1);
        } else {
            line->append(0, *limit);
            line->append(1, *limit);
        }
        chart->addSeries(line);
        auto* across = new QValueAxis;
        across->setRange(0, 1);
        across->setVisible(false);
        chart->addAxis(across, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
        line->attachAxis(across);
        line->attachAxis(valueAxis);
    }
}

} // namespace

ChartColours ChartColours::forPalette(const QPalette& palette) {
    ChartColours c;
    c.background = palette.color(QPalette::Base);
    c.text = palette.color(QPalette::Text);
    c.dark = c.background.lightness() < 128;
    c.grid = mixed(c.text, c.background, 0.3);
    if (c.dark) {
        c.fire = QColor(0xff, 0x8a, 0x65);
        c.earth = QColor(0x8b, 0xd1, 0x8f);
        c.bars = QColor(0x7f, 0xb8, 0xff);
        c.over = QColor(0xff, 0x5c, 0x5c);
        c.main = QColor(0xff, 0xb7, 0x4d);
        c.others = QColor(0xa0, 0xa0, 0xa0);
    } else {
        c.fire = QColor(0xb3, 0x26, 0x1e);
        c.earth = QColor(0x2e, 0x6b, 0x30);
        c.bars = QColor(0x1f, 0x5f, 0xa8);
        c.over = QColor(0xd0, 0x00, 0x00);
        c.main = QColor(0xa8, 0x5a, 0x00);
        c.others = QColor(0x70, 0x70, 0x70);
    }
    return c;
}

// A dialog-type window is transient for its owner: the window manager keeps it above the main window, as the
// card window is kept, while the main window goes on taking clicks.
frmStatistik::frmStatistik(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmStatistik"));
    setWindowTitle(QStringLiteral("Statistik"));
    chvStaerke = makeView(this, "chvStaerke");
    chvMonde = makeView(this, "chvMonde");
    chvKartenarten = makeView(this, "chvKartenarten");
    chvHauptfraktion = makeView(this, "chvHauptfraktion");
    setMinimumSize(kMinWidth, kMinHeight);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);
    grid->addWidget(chvStaerke, 0, 0);
    grid->addWidget(chvHauptfraktion, 0, 1);
    grid->addWidget(chvMonde, 1, 0);
    grid->addWidget(chvKartenarten, 1, 1);
    redraw();
}

void frmStatistik::showFigures(const deck::DeckFigures& figures) {
    m_figures = figures;
    redraw();
}

void frmStatistik::redraw() {
    const ChartColours c = ChartColours::forPalette(palette());
    const deck::DeckCharts d = deck::chartsFor(m_figures);
    for (QChartView* view : {chvStaerke, chvMonde, chvKartenarten, chvHauptfraktion})
        view->setBackgroundBrush(c.background);

    dress(chvStaerke->chart(), QStringLiteral("Feuer- und Erdstärke"), c);
    drawBars(chvStaerke->chart(), c, false, d.strengthCategories, QStringLiteral("Stärke ([n] = abgewehrt)"),
             {{QStringLiteral("Feuer"), d.fireCards, c.fire}, {QStringLiteral("Erde"), d.earthCards, c.earth}},
             QStringLiteral("Karten"));

    dress(chvMonde->chart(), QStringLiteral("Monde je Fraktion"), c);
    drawBars(chvMonde->chart(), c, true, d.moonCategories, QString(), {{QStringLiteral("Monde"), d.moons, c.bars}},
             QStringLiteral("Monde"), d.moonLimit, QStringLiteral("Grenze fremde Monde: %1").arg(d.moonLimit),
             d.moonsOver ? int(d.moons.size()) - 1 : -1);

    dress(chvKartenarten->chart(), QStringLiteral("Karten je Kartenart"), c);
    drawBars(chvKartenarten->chart(), c, true, d.typeCategories, QString(), {{QStringLiteral("Karten"), d.typeCards, c.bars}},
             QStringLiteral("Karten"), d.cardLimit, QStringLiteral("Kartengrenze: %1").arg(d.cardLimit),
             d.cardsOver ? int(d.typeCards.size()) - 1 : -1);

    QChart* share = chvHauptfraktion->chart();
    dress(share, QStringLiteral("Anteil der Hauptfraktion"), c);
    clear(share);
    auto* pie = new QPieSeries;
    pie->setPieSize(0.5);
    const int total = d.mainCards + d.otherCards;
    const QLocale locale;
    auto addSlice = [&](const QString& name, int cards, const QColor& colour) {
        if (cards == 0)
            return;
        const QString percent = locale.toString(100.0 * cards / total, 'f', 0);
        QPieSlice* slice = pie->append(QStringLiteral("%1: %2 (%3 %)").arg(name).arg(cards).arg(percent), cards);
        slice->setColor(colour);
        slice->setBorderColor(c.background);
        slice->setLabelColor(c.text);
        slice->setLabelVisible(true);
    };
    addSlice(d.mainFaction.isEmpty() ? QStringLiteral("Hauptfraktion") : d.mainFaction, d.mainCards, c.main);
    addSlice(QStringLiteral("Andere"), d.otherCards, c.others);
    share->addSeries(pie);
    share->legend()->setVisible(false);
}

void frmStatistik::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A desktop switched between light and dark redraws the charts in its colours.
    if (event->type() == QEvent::PaletteChange)
        redraw();
}

void frmStatistik::placeFromSettings() {
    const auto s = core::openSettings(kSection);
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    const float width = storedNumber(*s, QStringLiteral("Width"), kDesignWidth);
    const float height = storedNumber(*s, QStringLiteral("Height"), kDesignHeight);
    const float left = storedNumber(*s, QStringLiteral("Left"), (pixelsToTwips(this, screen.width()) - width) / 2);
    const float top = storedNumber(*s, QStringLiteral("Top"), (pixelsToTwips(this, screen.height()) - height) / 2);
    placeOuter(this, outerFromTwips(this, left, top, width, height));
    // The window manager places a dialog-type window by itself; once the frame is there, it goes where the
    // store says.
    whenFramed(this, [this, at = pos()] {
        if (frameGeometry().topLeft() != at)
            move(at);
    });
    m_placed = true;
}

void frmStatistik::writeSettings() {
    const auto s = core::openSettings(kSection);
    storeOuterPlace(*s, this);
    s->sync();
}

void frmStatistik::keyPressEvent(QKeyEvent* event) {
    // Escape closes it, as it closes the program's dialogs.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmStatistik::closeEvent(QCloseEvent* event) {
    // A window never shown, or closed while minimized, leaves the stored place as it was.
    if (m_placed && isVisible() && !isMinimized())
        writeSettings();
    QWidget::closeEvent(event);
}

} // namespace ui
