// The statistics window: four charts of the deck, changed in place and arranged to the window's shape.
#include "app/frmstatistik.h"
#include "core/windowplace.h"

#include "core/placement.h"
#include "core/settings.h"
#include "core/windowframe.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHorizontalBarSeries>
#include <QKeyEvent>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPieSeries>
#include <QPieSlice>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <optional>

namespace ui {

namespace {

const QString kSection = QString::fromLatin1(kStatisticsSection);
const QString kNoCards = QStringLiteral("Keine Karten im Deck");
const QString kNoStrength = QStringLiteral("Keine Karte mit Stärke");
// Design size with frame, in twips.
constexpr int kDesignWidth = 15000;
constexpr int kDesignHeight = 10500;
// Below this size (pixels) a chart's texts no longer fit beside its bars; the window arranges its charts in one
// column, two by two or in one row, whichever keeps them above it and nearest this shape.
constexpr QSize kChartMinimum(270, 190);
constexpr double kChartShape = 4.0 / 3;
constexpr int kMargin = 4;
constexpr int kSpacing = 4;

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
    view->setMinimumSize(60, 50);
    return view;
}

void colourAxis(QAbstractAxis* axis, const ChartColours& c) {
    axis->setLabelsBrush(c.text);
    axis->setTitleBrush(c.text);
    axis->setLinePenColor(c.grid);
    axis->setGridLineColor(c.grid);
}

void dress(QChart* chart, const ChartColours& c) {
    const QChart::ChartTheme theme = c.dark ? QChart::ChartThemeDark : QChart::ChartThemeLight;
    // A theme sets fonts and colours anew: only when the desktop switched between light and dark.
    if (chart->theme() != theme)
        chart->setTheme(theme);
    chart->setTitleBrush(c.text);
    chart->setBackgroundBrush(c.background);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setPlotAreaBackgroundVisible(false);
    chart->legend()->setLabelColor(c.text);
    chart->legend()->setBrush(Qt::NoBrush);
    chart->legend()->setPen(Qt::NoPen);
}

// The text a chart shows instead of its plot when there is nothing to plot, in the middle of the chart.
QGraphicsSimpleTextItem* makeNotice(QChart* chart) {
    auto* notice = new QGraphicsSimpleTextItem(chart);
    notice->setVisible(false);
    QFont f = chart->titleFont();
    f.setBold(false);
    notice->setFont(f);
    const auto centre = [chart, notice] {
        const QRectF box = notice->boundingRect();
        notice->setPos(chart->rect().center() - box.center());
    };
    QObject::connect(chart, &QChart::geometryChanged, chart, centre);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, centre);
    return notice;
}

void showNotice(QGraphicsSimpleTextItem* notice, QChart* chart, const QString& text) {
    notice->setText(text);
    notice->setVisible(!text.isEmpty());
    notice->setPos(chart->rect().center() - notice->boundingRect().center());
}

// What one bar chart shows, as the notes order it (top-down for a horizontal chart).
struct BarData {
    QStringList categories;
    QList<QList<int>> sets;
    std::optional<int> limit;
    QString limitName;
    int over = -1;
    QString notice; // shown instead of the plot when not empty
    bool operator==(const BarData&) const = default;
};

struct PieData {
    QString mainName;
    int mainCards = 0;
    int otherCards = 0;
    bool operator==(const PieData&) const = default;
};

// Replaces a bar set's values with as few changes as it takes.
void setValues(QBarSet* set, const QList<int>& values) {
    const int common = qMin(int(set->count()), int(values.size()));
    for (int i = 0; i < common; ++i)
        if (set->at(i) != values.at(i))
            set->replace(i, values.at(i));
    if (set->count() > values.size())
        set->remove(int(values.size()), int(set->count() - values.size()));
    for (int i = int(set->count()); i < values.size(); ++i)
        set->append(values.at(i));
}

// One bar chart's lasting parts: a change goes into them, so nothing is taken off the scene, where it would stay
// drawn until its deferred deletion, which a modal dialog's loop holds back.
class BarChart {
public:
    BarChart(QChartView* view, bool horizontal, const QString& title, const QStringList& setNames, const QString& categoryTitle,
             const QString& valueTitle, bool withLimit)
        : m_chart(view->chart()), m_horizontal(horizontal) {
        m_chart->setTitle(title);
        m_series = horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries) : new QBarSeries;
        for (const QString& name : setNames) {
            auto* set = new QBarSet(name);
            m_sets << set;
            m_series->append(set);
        }
        m_chart->addSeries(m_series);
        m_categories = new QBarCategoryAxis;
        m_categories->setTitleText(categoryTitle);
        // Names are shown whole; the charts' minimum size leaves room for them.
        m_categories->setTruncateLabels(false);
        m_values = new QValueAxis;
        m_values->setTickType(QValueAxis::TicksDynamic);
        m_values->setTickAnchor(0);
        m_values->setLabelFormat(QStringLiteral("%d"));
        m_values->setTruncateLabels(false);
        m_values->setTitleText(valueTitle);
        m_chart->addAxis(m_categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
        m_chart->addAxis(m_values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
        m_series->attachAxis(m_categories);
        m_series->attachAxis(m_values);
        if (withLimit) {
            // The limit runs across the whole plot: along a hidden axis of its own beside the categories.
            m_limit = new QLineSeries;
            m_chart->addSeries(m_limit);
            auto* across = new QValueAxis;
            across->setRange(0, 1);
            across->setVisible(false);
            m_chart->addAxis(across, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
            m_limit->attachAxis(across);
            m_limit->attachAxis(m_values);
        }
        m_notice = makeNotice(m_chart);
    }

    void colour(const ChartColours& c, const QList<QColor>& setColours) {
        dress(m_chart, c);
        for (int i = 0; i < m_sets.size(); ++i) {
            m_sets[i]->setColor(setColours.at(i));
            m_sets[i]->setBorderColor(setColours.at(i));
            m_sets[i]->setLabelColor(c.text);
            m_sets[i]->setSelectedColor(c.over);
        }
        colourAxis(m_categories, c);
        colourAxis(m_values, c);
        if (m_limit)
            m_limit->setPen(QPen(c.text, 2, Qt::DashLine));
        m_notice->setBrush(c.text);
    }

    // True when it had to change.
    bool draw(const BarData& data) {
        if (m_drawn == data)
            return false;
        m_drawn = data;
        const bool plot = data.notice.isEmpty();
        showNotice(m_notice, m_chart, data.notice);
        m_series->setVisible(plot);
        m_categories->setVisible(plot);
        m_values->setVisible(plot);
        if (m_limit)
            m_limit->setVisible(plot && data.limit.has_value());
        if (!plot)
            return true;
        // Qt lays horizontal categories out bottom-up; the charts read top-down, in the notes' order.
        QStringList categories = data.categories;
        if (m_horizontal)
            std::reverse(categories.begin(), categories.end());
        const int over = data.over >= 0 && m_horizontal ? int(categories.size()) - 1 - data.over : data.over;
        if (m_categories->categories() != categories)
            m_categories->setCategories(categories);
        int largest = data.limit.value_or(0);
        for (int i = 0; i < m_sets.size(); ++i) {
            QList<int> values = data.sets.value(i);
            if (m_horizontal)
                std::reverse(values.begin(), values.end());
            for (int v : values)
                largest = qMax(largest, v);
            setValues(m_sets[i], values);
            if (m_sets[i]->selectedBars() != (over >= 0 ? QList<int>{over} : QList<int>{})) {
                m_sets[i]->deselectAllBars();
                if (over >= 0)
                    m_sets[i]->selectBar(over);
            }
        }
        const auto [top, step] = valueScale(largest);
        m_values->setRange(0, top);
        m_values->setTickInterval(step);
        if (m_limit && data.limit) {
            m_limit->setName(data.limitName);
            const QList<QPointF> line = m_horizontal ? QList<QPointF>{{double(*data.limit), 0}, {double(*data.limit), 1}}
                                                     : QList<QPointF>{{0, double(*data.limit)}, {1, double(*data.limit)}};
            if (m_limit->points() != line)
                m_limit->replace(line);
        }
        return true;
    }

    void forget() { m_drawn.reset(); }

private:
    QChart* m_chart;
    bool m_horizontal;
    QAbstractBarSeries* m_series = nullptr;
    QList<QBarSet*> m_sets;
    QBarCategoryAxis* m_categories = nullptr;
    QValueAxis* m_values = nullptr;
    QLineSeries* m_limit = nullptr;
    QGraphicsSimpleTextItem* m_notice = nullptr;
    std::optional<BarData> m_drawn;
};

// The main faction's share: two lasting slices, a slice of no cards drawn as nothing.
class PieChart {
public:
    explicit PieChart(QChartView* view) : m_chart(view->chart()) {
        m_chart->setTitle(QStringLiteral("Anteil der Hauptfraktion"));
        m_pie = new QPieSeries;
        m_pie->setPieSize(0.5);
        m_main = m_pie->append(QString(), 0);
        m_others = m_pie->append(QString(), 0);
        m_chart->addSeries(m_pie);
        m_chart->legend()->setVisible(false);
        m_notice = makeNotice(m_chart);
    }

    void colour(const ChartColours& c) {
        dress(m_chart, c);
        m_colours = c;
        m_main->setColor(c.main);
        m_others->setColor(c.others);
        m_notice->setBrush(c.text);
        m_drawn.reset();
    }

    bool draw(const PieData& data) {
        if (m_drawn == data)
            return false;
        m_drawn = data;
        const int total = data.mainCards + data.otherCards;
        showNotice(m_notice, m_chart, total == 0 ? kNoCards : QString());
        m_pie->setVisible(total > 0);
        const QLocale locale;
        const auto slice = [&](QPieSlice* s, const QString& name, int cards) {
            s->setValue(cards);
            const QString percent = total ? locale.toString(100.0 * cards / total, 'f', 0) : QString();
            s->setLabel(QStringLiteral("%1: %2 (%3 %)").arg(name).arg(cards).arg(percent));
            s->setLabelColor(m_colours.text);
            s->setLabelVisible(cards > 0);
            s->setPen(cards > 0 ? QPen(m_colours.background, 1) : QPen(Qt::NoPen));
        };
        slice(m_main, data.mainName.isEmpty() ? QStringLiteral("Hauptfraktion") : data.mainName, data.mainCards);
        slice(m_others, QStringLiteral("Andere"), data.otherCards);
        return true;
    }

private:
    QChart* m_chart;
    QPieSeries* m_pie = nullptr;
    QPieSlice* m_main = nullptr;
    QPieSlice* m_others = nullptr;
    QGraphicsSimpleTextItem* m_notice = nullptr;
    ChartColours m_colours;
    std::optional<PieData> m_drawn;
};

} // namespace

struct frmStatistik::Charts {
    Charts(frmStatistik* w)
        : strength(w->chvStaerke, false, QStringLiteral("Feuer- und Erdstärke"), {QStringLiteral("Feuer"), QStringLiteral("Erde")},
                   QStringLiteral("Stärke ([n] = abgewehrt)"), QStringLiteral("Karten"), false),
          moons(w->chvMonde, true, QStringLiteral("Monde je Fraktion"), {QStringLiteral("Monde")}, QString(), QStringLiteral("Monde"),
                true),
          types(w->chvKartenarten, true, QStringLiteral("Karten je Kartenart"), {QStringLiteral("Karten")}, QString(),
                QStringLiteral("Karten"), true),
          share(w->chvHauptfraktion) {}

    BarChart strength;
    BarChart moons;
    BarChart types;
    PieChart share;
    std::optional<ChartColours> colours;
};

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
    setAttribute(Qt::WA_ShowWithoutActivating);
    chvStaerke = makeView(this, "chvStaerke");
    chvMonde = makeView(this, "chvMonde");
    chvKartenarten = makeView(this, "chvKartenarten");
    chvHauptfraktion = makeView(this, "chvHauptfraktion");
    m_charts = std::make_unique<Charts>(this);
    // The narrowest arrangement's width and the flattest one's height.
    setMinimumSize(kChartMinimum + QSize(2 * kMargin, 2 * kMargin));
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_grid->setSpacing(kSpacing);
    resize(twipsToPixels(this, kDesignWidth), twipsToPixels(this, kDesignHeight));
    arrange();
    redraw();
}

frmStatistik::~frmStatistik() = default;

void frmStatistik::arrange() {
    const QSize area = size() - QSize(2 * kMargin, 2 * kMargin);
    const int columns = core::columnsFor(area, 4, kChartMinimum + QSize(kSpacing, kSpacing), kChartShape);
    if (columns == m_columns)
        return;
    m_columns = columns;
    const QList<QWidget*> order{chvStaerke, chvHauptfraktion, chvMonde, chvKartenarten};
    for (QWidget* w : order)
        m_grid->removeWidget(w);
    for (int i = 0; i < order.size(); ++i)
        m_grid->addWidget(order[i], i / columns, i % columns);
    for (int i = 0; i < order.size(); ++i) {
        m_grid->setRowStretch(i, i < order.size() / columns ? 1 : 0);
        m_grid->setColumnStretch(i, i < columns ? 1 : 0);
    }
}

void frmStatistik::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

void frmStatistik::showFigures(const deck::DeckFigures& figures) {
    m_figures = figures;
    if (!isVisible() || m_redrawQueued)
        return;
    m_redrawQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_redrawQueued = false;
            if (isVisible())
                redraw();
        },
        Qt::QueuedConnection);
}

void frmStatistik::redraw() {
    const ChartColours c = ChartColours::forPalette(palette());
    Charts& ch = *m_charts;
    if (!ch.colours || ch.colours->background != c.background || ch.colours->text != c.text) {
        ch.colours = c;
        for (QChartView* view : {chvStaerke, chvMonde, chvKartenarten, chvHauptfraktion})
            view->setBackgroundBrush(c.background);
        ch.strength.colour(c, {c.fire, c.earth});
        ch.moons.colour(c, {c.bars});
        ch.types.colour(c, {c.bars});
        ch.share.colour(c);
        for (BarChart* bars : {&ch.strength, &ch.moons, &ch.types})
            bars->forget();
    }
    const deck::DeckCharts d = deck::chartsFor(m_figures);
    const int cards = d.mainCards + d.otherCards;
    ch.strength.draw({d.strengthCategories,
                      {d.fireCards, d.earthCards},
                      std::nullopt,
                      QString(),
                      -1,
                      cards == 0 ? kNoCards : d.strengthCategories.isEmpty() ? kNoStrength : QString()});
    ch.moons.draw({d.moonCategories, {d.moons}, d.moonLimit, QStringLiteral("Grenze fremde Monde: %1").arg(d.moonLimit),
                   d.moonsOver ? int(d.moons.size()) - 1 : -1, QString()});
    ch.types.draw({d.typeCategories, {d.typeCards}, d.cardLimit, QStringLiteral("Kartengrenze: %1").arg(d.cardLimit),
                   d.cardsOver ? int(d.typeCards.size()) - 1 : -1, QString()});
    ch.share.draw({d.mainFaction, d.mainCards, d.otherCards});
}

void frmStatistik::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A desktop switched between light and dark redraws the charts in its colours.
    if (event->type() == QEvent::PaletteChange)
        redraw();
}

bool frmStatistik::event(QEvent* event) {
    // Shown again, it draws what changed while it was closed before it is painted.
    if (event->type() == QEvent::Show) {
        redraw();
        whenFramed(this, [this] { raiseToolWindows(); });
    }
    if (event->type() == QEvent::WindowActivate)
        raiseToolWindows();
    return QWidget::event(event);
}

void frmStatistik::raiseToolWindows() {
    // The card window, a tool window of the same owner, stays above it whichever of the two was raised last.
    QWidget* owner = parentWidget();
    for (QWidget* tool : owner ? owner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly) : QList<QWidget*>())
        if (tool->isWindow() && tool->windowType() == Qt::Tool && tool->isVisible())
            tool->raise();
}

void frmStatistik::placeFromSettings(const QList<QRect>& keepClear) {
    const auto s = core::openSettings(kSection);
    QRect outer;
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (s->contains(QStringLiteral("Left")) || !owner) {
        const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
        const float width = storedNumber(*s, QStringLiteral("Width"), kDesignWidth);
        const float height = storedNumber(*s, QStringLiteral("Height"), kDesignHeight);
        const float left = storedNumber(*s, QStringLiteral("Left"), (pixelsToTwips(this, screen.width()) - width) / 2);
        const float top = storedNumber(*s, QStringLiteral("Top"), (pixelsToTwips(this, screen.height()) - height) / 2);
        outer = outerFromTwips(this, left, top, width, height);
    } else {
        // The first time beside the main window; its frame stands for the one this window will get.
        const QScreen* screen = owner->screen() ? owner->screen() : this->screen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        const QSize extra = frameExtra(owner);
        outer = core::placedBeside(owner->frameGeometry(), outerFromTwips(this, 0, 0, kDesignWidth, kDesignHeight).size(),
                                   minimumSize() + extra, area, keepClear);
    }
    placeOuter(this, outer);
    // The window manager places a dialog-type window by itself; once the frame is there, it goes where the
    // store says.
    whenFramed(this, [this, at = pos()] {
        if (frameGeometry().topLeft() != at)
            move(at);
    });
    m_placed = true;
}

void frmStatistik::appear() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    // The control that had the keyboard keeps it: the deck's keys go on working where the player was.
    const QPointer<QWidget> hadFocus = owner ? owner->focusWidget() : nullptr;
    show();
    raise();
    if (owner && owner->isVisible()) {
        owner->activateWindow();
        if (hadFocus)
            hadFocus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void frmStatistik::writeSettings(bool open) {
    const auto s = core::openSettings(kSection);
    if (m_placed && !isMinimized())
        storeOuterPlace(*s, this);
    s->setValue(QStringLiteral("Open"), open ? QStringLiteral("True") : QStringLiteral("False"));
    s->sync();
}

void frmStatistik::closeWithOwner() {
    if (!isVisible())
        return;
    writeSettings(true);
    hide();
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
    // A window never shown leaves the stored place as it was; one closed while minimized keeps its place.
    if (isVisible())
        writeSettings(false);
    QWidget::closeEvent(event);
}

} // namespace ui
