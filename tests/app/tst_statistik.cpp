// The statistics window through the real main window: its charts against the notes tree, live following,
// an empty deck, its place in the settings store, light and dark desktops.
#include "core/windowplace.h"
#include "app/frmstatistik.h"
#include "app/statisticsloader.h"
#include "core/settings.h"
#include "db/database.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"
#include "tests/helpers/statistikwindow.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QHorizontalBarSeries>
#include <QBarSeries>
#include <QLineSeries>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTreeWidget>
#include <QValueAxis>
#include <QtTest/QTest>
#include <memory>

using testing::MainWindowFixture;

namespace {

// What one bar chart shows.
struct Bars {
    QStringList categories;
    QList<QList<int>> sets; // per bar set, one value per category
    QStringList setNames;
    QList<int> selected;    // categories marked in the first set
    QString limitName;
    double limit = -1;
};

Bars barsOf(QChartView* view) {
    // As the player sees it once the event loop has come round.
    QCoreApplication::processEvents();
    Bars b;
    for (QAbstractSeries* s : view->chart()->series()) {
        if (auto* bars = qobject_cast<QAbstractBarSeries*>(s)) {
            for (QBarSet* set : bars->barSets()) {
                QList<int> values;
                for (int i = 0; i < set->count(); ++i)
                    values << qRound(set->at(i));
                b.sets << values;
                b.setNames << set->label();
            }
            if (!bars->barSets().isEmpty())
                b.selected = bars->barSets().first()->selectedBars();
            for (QAbstractAxis* axis : bars->attachedAxes())
                if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
                    b.categories = categories->categories();
            // Read as the player reads it: a horizontal chart from the top bar down.
            if (qobject_cast<QHorizontalBarSeries*>(bars)) {
                const int last = int(b.categories.size()) - 1;
                std::reverse(b.categories.begin(), b.categories.end());
                for (QList<int>& values : b.sets)
                    std::reverse(values.begin(), values.end());
                for (int& at : b.selected)
                    at = last - at;
            }
        } else if (auto* line = qobject_cast<QLineSeries*>(s)) {
            b.limitName = line->name();
            const QPointF p = line->at(0);
            b.limit = qobject_cast<QHorizontalBarSeries*>(view->chart()->series().first()) ? p.x() : p.y();
        }
    }
    return b;
}

// The notes tree as texts: top-level keys to texts, and the children of "D" and "E" as name → count.
struct Notes {
    QMap<QString, QString> top;
    QMap<QString, bool> red;
    QList<QPair<QString, int>> factions;
    QList<QPair<QString, int>> types;
    int number(const QString& key) const { return top.value(key).section(u' ', -1).toInt(); }
};

Notes notesOf(QTreeWidget* tree) {
    Notes n;
    auto children = [](QTreeWidgetItem* item) {
        QList<QPair<QString, int>> out;
        for (int i = 0; i < item->childCount(); ++i) {
            const QString text = item->child(i)->text(0);
            const qsizetype colon = text.lastIndexOf(QStringLiteral(": "));
            out << qMakePair(text.left(colon), text.mid(colon + 2).section(u' ', 0, 0).toInt());
        }
        return out;
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        const QString key = item->data(0, Qt::UserRole).toString();
        n.top[key] = item->text(0);
        n.red[key] = item->foreground(0).color() == QColor(255, 0, 0);
        if (key == u"D")
            n.factions = children(item);
        if (key == u"E")
            n.types = children(item);
        if (key == u"F")
            for (int c = 0; c < item->childCount(); ++c)
                n.top[item->child(c)->data(0, Qt::UserRole).toString()] = item->child(c)->text(0);
    }
    return n;
}

// Every text the chart's scene draws, as the player sees it: items still waiting for their deferred deletion
// included, as during a modal dialog's loop, which never runs those.
QStringList textsShown(QChartView* view) {
    QCoreApplication::processEvents();
    QStringList texts;
    for (QGraphicsItem* item : view->scene()->items()) {
        if (!item->isVisible())
            continue;
        if (auto* rich = dynamic_cast<QGraphicsTextItem*>(item))
            texts << rich->toPlainText();
        else if (auto* plain = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            texts << plain->text();
    }
    texts.removeAll(QString());
    texts.sort();
    return texts;
}

// WCAG contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
    p.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    return p;
}

// A deck file of the leader, the inquisitor (empty for none) and the cards the condition finds.
QByteArray deckFile(db::Database& conn, const QString& leader, const QString& inquisitor, const QString& cardCondition) {
    QByteArray text = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM ANFUEHRER WHERE NAME = '%1'").arg(leader))
                          .Fields(0)
                          .toString()
                          .toLatin1() +
                      "\r\n";
    if (!inquisitor.isEmpty())
        text += conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM INQUISITOR WHERE NAME = '%1'").arg(inquisitor))
                    .Fields(0)
                    .toString()
                    .toLatin1();
    text += "\r\n";
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN WHERE ") + cardCondition); !rs.Eof(); rs.MoveNext())
        text += rs.Fields(0).toString().toLatin1() + "\r\n";
    return text;
}

} // namespace

class TstStatistik : public QObject {
    Q_OBJECT

    static ui::frmStatistik* openStatistics(MainWindowFixture& f) {
        f.trigger("mnuStatistik");
        auto* window = testing::statistikWindow(*f.window);
        if (window)
            QCoreApplication::processEvents();
        return window;
    }

    // Every figure of the charts against the notes tree, and the strength values against the deck itself.
    static void chartsAgreeWithNotes(MainWindowFixture& f, ui::frmStatistik* w) {
        const Notes notes = notesOf(f.window->tvwNotes);
        QVERIFY(!notes.top.isEmpty());
        const QString mainFaction = notes.top.value(QStringLiteral("B")).mid(QStringLiteral("Hauptfraktion: ").size());

        // Strength: the cards per value add up to the totals of the notes; warded values are the bracketed ones.
        const Bars strength = barsOf(w->chvStaerke);
        QCOMPARE(strength.setNames, (QStringList{"Feuer", "Erde"}));
        int fire = 0, earth = 0, wardedFire = 0, wardedEarth = 0;
        for (int i = 0; i < strength.categories.size(); ++i) {
            const QString category = strength.categories.at(i);
            const bool warded = category.startsWith(u'[');
            const int value = warded ? category.mid(1, category.size() - 2).toInt() : category.toInt();
            fire += value * strength.sets.at(0).at(i);
            earth += value * strength.sets.at(1).at(i);
            if (warded) {
                wardedFire += strength.sets.at(0).at(i);
                wardedEarth += strength.sets.at(1).at(i);
            }
        }
        QCOMPARE(fire, notes.number(QStringLiteral("FSTF")));
        QCOMPARE(earth, notes.number(QStringLiteral("FSTE")));
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        QCOMPARE(wardedFire, conn->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK WHERE ABFEUER AND STFEUER IS NOT NULL"))
                                 .Fields(0)
                                 .toInt());
        QCOMPARE(wardedEarth, conn->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK WHERE ABERDE AND STERDE IS NOT NULL"))
                                  .Fields(0)
                                  .toInt());

        // Moons: one bar per faction of the notes, the main faction named as such, then the foreign moons of "C",
        // marked exactly when "C" is red.
        const Bars moons = barsOf(w->chvMonde);
        QCOMPARE(moons.categories.size(), notes.factions.size() + 1);
        for (int i = 0; i < notes.factions.size(); ++i) {
            const QString faction = notes.factions.at(i).first;
            QCOMPARE(moons.categories.at(i), faction == mainFaction ? faction + QStringLiteral(" (Haupt)") : faction);
        }
        QCOMPARE(moons.categories.last(), QStringLiteral("Fremde Monde"));
        QCOMPARE(moons.sets.at(0).last(), notes.number(QStringLiteral("C")));
        int foreignByFaction = 0;
        for (int i = 0; i < notes.factions.size(); ++i)
            if (notes.factions.at(i).first != mainFaction)
                foreignByFaction += moons.sets.at(0).at(i);
        QCOMPARE(foreignByFaction, notes.number(QStringLiteral("C")));
        QCOMPARE(moons.selected, notes.red.value(QStringLiteral("C")) ? QList<int>{int(moons.categories.size()) - 1} : QList<int>{});
        QCOMPARE(moons.limitName, QStringLiteral("Grenze fremde Monde: %1").arg(qRound(moons.limit)));

        // Card types: the children of "E" with their counts, then the whole deck of "A", marked when "A" is red.
        const Bars types = barsOf(w->chvKartenarten);
        QCOMPARE(types.categories.size(), notes.types.size() + 1);
        for (int i = 0; i < notes.types.size(); ++i) {
            QCOMPARE(types.categories.at(i), notes.types.at(i).first);
            QCOMPARE(types.sets.at(0).at(i), notes.types.at(i).second);
        }
        QCOMPARE(types.categories.last(), QStringLiteral("Deck gesamt"));
        QCOMPARE(types.sets.at(0).last(), notes.number(QStringLiteral("A")));
        QCOMPARE(types.selected, notes.red.value(QStringLiteral("A")) ? QList<int>{int(types.categories.size()) - 1} : QList<int>{});
        QCOMPARE(types.limitName, QStringLiteral("Kartengrenze: %1").arg(qRound(types.limit)));

        // Share: the main faction's cards of "D" against all the others.
        int mainCards = 0, otherCards = 0;
        for (const auto& [faction, cards] : notes.factions)
            (faction == mainFaction ? mainCards : otherCards) += cards;
        auto* pie = qobject_cast<QPieSeries*>(w->chvHauptfraktion->chart()->series().value(0));
        QVERIFY(pie);
        QList<int> slices;
        for (QPieSlice* slice : pie->slices())
            if (slice->value() > 0)
                slices << qRound(slice->value());
        QList<int> expected;
        if (mainCards)
            expected << mainCards;
        if (otherCards)
            expected << otherCards;
        QCOMPARE(slices, expected);
        if (mainCards)
            QVERIFY2(pie->slices().first()->label().startsWith(mainFaction + QStringLiteral(": %1 (").arg(mainCards)),
                     qPrintable(pie->slices().first()->label()));
    }

    void loadDeck(MainWindowFixture& f, const QString& name, const QByteArray& content) {
        const QString path = f.dir.filePath(name);
        testing::writeFile(path, content);
        if (f.deckRows() > 0)
            f.prompter.answer(core::Answer::Yes);
        f.prompter.choose(path);
        f.trigger("mnuLaden");
        QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
    }

private Q_SLOTS:
    void theEntryFollowsTheSpecifiedOnesBehindItsOwnSeparator() {
        MainWindowFixture f;
        f.start();
        QStringList entries;
        QStringList names;
        for (QAction* a : f.window->findChild<QMenu*>(QStringLiteral("mnuHDeck"))->actions()) {
            entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
            names << a->objectName();
        }
        QCOMPARE(entries.mid(0, 3), (QStringList{"Neues Deck", "-", "Karten Anzeigen"}));
        QCOMPARE(entries.mid(names.indexOf(QStringLiteral("mnuWiederholen")) + 1, 2), (QStringList{"-", "Statistik…"}));

        QVERIFY(!testing::statistikWindow(*f.window));
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(w->isWindow());
        QCOMPARE(w->parentWidget(), f.window.get());
        QCOMPARE(w->windowTitle(), QStringLiteral("Statistik"));
        // Modeless: the main window goes on taking clicks.
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!w->isModal());
        // Escape closes it; chosen again, the same window comes back.
        QTest::keyClick(w->chvMonde, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(openStatistics(f), w);
        QVERIFY(w->isVisible());
    }

    // The window comes from its plugin in the program folder; without it the player is told why, and
    // once the file is back the entry works.
    void withoutItsPluginTheEntrySaysWhy() {
        MainWindowFixture f;
        const QString plugin = f.dir.filePath(QString::fromLatin1(ui::kStatisticsPluginFile));
        QVERIFY(QFile::remove(plugin));
        f.start();
        f.trigger("mnuStatistik");
        QVERIFY(!testing::statistikWindow(*f.window));
        QCOMPARE(f.prompter.messages.size(), size_t{1});
        QVERIFY2(f.prompter.messages[0].text.startsWith(QStringLiteral("Das Statistikfenster kann nicht geladen werden: ")),
                 qPrintable(f.prompter.messages[0].text));
        QVERIFY(QFile::copy(testing::builtProgramDir() + u'/' + QString::fromLatin1(ui::kStatisticsPluginFile), plugin));
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(f.prompter.messages.size(), size_t{1});
    }

    void chartsAgreeWithTheNotesForThreeDecks() {
        MainWindowFixture f;
        f.start();
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        // Within its limits, with an inquisitor.
        loadDeck(f, QStringLiteral("hild.drd"),
                 deckFile(*conn, QStringLiteral("Hild"), QStringLiteral("Vater Odo"),
                          QStringLiteral("FRAKTION = 'Tolven' AND NUMMER < 'TOLVEN 20' OR NUMMER IN ('SIVAR 06', 'GARSK 05')")));
        QVERIFY(!notesOf(f.window->tvwNotes).red.value(QStringLiteral("A")));
        chartsAgreeWithNotes(f, w);
        // Over both limits: every Orvane card and a dozen foreign ones.
        loadDeck(f, QStringLiteral("harald.drd"),
                 deckFile(*conn, QStringLiteral("Harald"), QString(),
                          QStringLiteral("FRAKTION = 'Orvane' OR FRAKTION = 'Sivar' AND NUMMER < 'SIVAR 13'")));
        QVERIFY(notesOf(f.window->tvwNotes).red.value(QStringLiteral("A")));
        QVERIFY(notesOf(f.window->tvwNotes).red.value(QStringLiteral("C")));
        chartsAgreeWithNotes(f, w);
        // Mostly foreign cards of every faction, with an inquisitor adding moons.
        loadDeck(f, QStringLiteral("adelhild.drd"),
                 deckFile(*conn, QStringLiteral("Adelhild"), QStringLiteral("Isaura"),
                          QStringLiteral("NUMMER LIKE '* 0#' AND NUMMER > '* 04'")));
        QVERIFY(notesOf(f.window->tvwNotes).factions.size() >= 5);
        chartsAgreeWithNotes(f, w);
    }

    void theWindowFollowsEveryChangeLive() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Hild"));
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        QCOMPARE(barsOf(w->chvKartenarten).categories, QStringList{"Deck gesamt"});
        QCOMPARE(barsOf(w->chvKartenarten).limitName, QStringLiteral("Kartengrenze: 45"));

        // A card added from the pool.
        f.addByNumber({"TOLVEN 05"});
        QCOMPARE(f.deckRows(), 1);
        const QString type = f.window->flxDeck->TextMatrix(1, 2);
        Bars types = barsOf(w->chvKartenarten);
        QCOMPARE(types.categories, (QStringList{type, "Deck gesamt"}));
        QCOMPARE(types.sets.at(0), (QList<int>{1, 1}));
        chartsAgreeWithNotes(f, w);

        // An inquisitor raises the limit line.
        f.chooseInquisitor(QStringLiteral("Mordan der Bleiche"));
        QCOMPARE(barsOf(w->chvKartenarten).limitName, QStringLiteral("Kartengrenze: 50"));
        QCOMPARE(barsOf(w->chvMonde).limitName, QStringLiteral("Grenze fremde Monde: 12"));

        // The card taken out again.
        f.window->flxDeck->setRow(1);
        f.trigger("mnuDelete");
        QCOMPARE(f.deckRows(), 0);
        QCOMPARE(barsOf(w->chvKartenarten).categories, QStringList{"Deck gesamt"});

        // A standard deck, and a new deck afterwards.
        f.window->cmdStandard->click();
        QVERIFY(f.deckRows() > 30);
        QCOMPARE(barsOf(w->chvKartenarten).sets.at(0).last(), f.deckRows());
        chartsAgreeWithNotes(f, w);
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");
        QCOMPARE(barsOf(w->chvKartenarten).sets.at(0), QList<int>{0});

        // Closed, it does not follow; opened again it shows the deck as it is then.
        w->close();
        f.addByNumber({"TOLVEN 07"});
        QCOMPARE(barsOf(w->chvKartenarten).sets.at(0), QList<int>{0});
        QCOMPARE(openStatistics(f), w);
        QCOMPARE(barsOf(w->chvKartenarten).sets.at(0).last(), 1);
        chartsAgreeWithNotes(f, w);
    }

    void anEmptyDeckSaysSoWhereThereIsNothingToPlot() {
        MainWindowFixture f;
        f.start();
        // No leader, no evaluation yet.
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        QVERIFY(f.prompter.messages.empty());
        const QStringList notice{QStringLiteral("Keine Karten im Deck")};
        QCOMPARE(textsShown(w->chvStaerke), QStringList{"Feuer- und Erdstärke"} + notice);
        QCOMPARE(textsShown(w->chvHauptfraktion), QStringList{"Anteil der Hauptfraktion"} + notice);
        QCOMPARE(barsOf(w->chvMonde).categories, QStringList{"Fremde Monde"});
        QCOMPARE(barsOf(w->chvMonde).sets, QList<QList<int>>{{0}});
        QCOMPARE(barsOf(w->chvKartenarten).sets, QList<QList<int>>{{0}});

        // A card: the plots come, the notices go; the deck emptied again: back to the notices.
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({"ORVANE 05"});
        QVERIFY(!textsShown(w->chvStaerke).contains(notice.first()));
        QVERIFY(textsShown(w->chvStaerke).contains(QStringLiteral("Stärke ([n] = abgewehrt)")));
        QVERIFY(textsShown(w->chvHauptfraktion).contains(QStringLiteral("Orvane: 1 (100 %)")));
        f.prompter.answer(core::Answer::Yes);
        f.trigger("mnuNeuesDeck");
        QCOMPARE(textsShown(w->chvStaerke), QStringList{"Feuer- und Erdstärke"} + notice);
        QCOMPARE(textsShown(w->chvHauptfraktion), QStringList{"Anteil der Hauptfraktion"} + notice);
    }

    // Decks replaced one after the other with no deferred deletion in between, as while the box after a load is
    // up: each chart shows the new deck's texts and no others.
    void noStaleTextsWhileDeletionsWait() {
        MainWindowFixture f;
        f.start();
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        auto conn = db::Database::OpenDatabase(f.dir.databasePath());
        const QList<QByteArray> decks{
            deckFile(*conn, QStringLiteral("Harald"), QString(), QStringLiteral("FRAKTION = 'Orvane' OR NUMMER IN ('SIVAR 06', 'GARSK 05')")),
            deckFile(*conn, QStringLiteral("Hild"), QStringLiteral("Vater Odo"), QStringLiteral("FRAKTION = 'Tolven' AND NUMMER < 'TOLVEN 12'")),
            deckFile(*conn, QStringLiteral("Adelhild"), QStringLiteral("Isaura"), QStringLiteral("NUMMER LIKE '* 0#' AND NUMMER > '* 04'"))};
        for (int i = 0; i < decks.size(); ++i) {
            loadDeck(f, QStringLiteral("deck%1.drd").arg(i), decks[i]);
            for (QChartView* view : {w->chvStaerke, w->chvMonde, w->chvKartenarten, w->chvHauptfraktion}) {
                // Drawn afresh in a window of its own, the same figures give exactly these texts.
                ui::frmStatistik fresh(nullptr);
                fresh.resize(w->size());
                fresh.show();
                fresh.showFigures(f.window->deckFigures());
                QChartView* same = fresh.findChild<QChartView*>(view->objectName());
                QCOMPARE(textsShown(view), textsShown(same));
            }
        }
    }

    void onlyWhatChangedIsDrawnAgain() {
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({"ORVANE 05", "ORVANE 07"});
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        const QString limitBefore = barsOf(w->chvKartenarten).limitName;
        int strengthChanges = 0;
        for (QAbstractSeries* s : w->chvStaerke->chart()->series())
            if (auto* bars = qobject_cast<QAbstractBarSeries*>(s))
                for (QBarSet* set : bars->barSets()) {
                    connect(set, &QBarSet::valueChanged, this, [&] { ++strengthChanges; });
                    connect(set, &QBarSet::valuesAdded, this, [&] { ++strengthChanges; });
                    connect(set, &QBarSet::valuesRemoved, this, [&] { ++strengthChanges; });
                }
        // An inquisitor changes the limits, not the strengths.
        f.chooseInquisitor(QStringLiteral("Mordan der Bleiche"));
        QVERIFY(barsOf(w->chvKartenarten).limitName != limitBefore);
        QCOMPARE(strengthChanges, 0);
        // Three cards in one turn of the event loop: drawn once, when the loop comes round.
        f.addByNumber({"ORVANE 08", "ORVANE 09", "ORVANE 10"});
        QCOMPARE(strengthChanges, 0);
        chartsAgreeWithNotes(f, w);
        QVERIFY(strengthChanges > 0);
        const int once = strengthChanges;
        barsOf(w->chvStaerke);
        QCOMPARE(strengthChanges, once);
    }

    void theWindowIsKeptInTheSettingsStore() {
        MainWindowFixture f;
        f.start();
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        const QRect placed(ui::twipsToPixels(w, 3000), ui::twipsToPixels(w, 1500), ui::twipsToPixels(w, 9000),
                           ui::twipsToPixels(w, 7500));
        w->setGeometry(placed);
        QCoreApplication::processEvents();
        const QRect outer = w->frameGeometry();
        const QRect outerTwips(ui::pixelsToTwips(w, outer.x()), ui::pixelsToTwips(w, outer.y()), ui::pixelsToTwips(w, outer.width()),
                               ui::pixelsToTwips(w, outer.height()));
        const int shiftTwips = ui::pixelsToTwips(w, 30);
        QVERIFY(!core::openSettings(QStringLiteral("frmStatistik"))->contains(QStringLiteral("Left")));

        // The window is open when the program ends: its place is written with the others.
        QVERIFY(f.close());
        const auto s = core::openSettings(QStringLiteral("frmStatistik"));
        QCOMPARE(s->value(QStringLiteral("Left")).toString(), QString::number(outerTwips.x()));
        QCOMPARE(s->value(QStringLiteral("Top")).toString(), QString::number(outerTwips.y()));
        QCOMPARE(s->value(QStringLiteral("Width")).toString(), QString::number(outerTwips.width()));
        QCOMPARE(s->value(QStringLiteral("Height")).toString(), QString::number(outerTwips.height()));

        // The next start puts it back there.
        f.start();
        w = openStatistics(f);
        QVERIFY(w);
        QCOMPARE(w->frameGeometry(), outer);

        // Closed on its own, moved before: the new place is kept.
        w->move(outer.topLeft() + QPoint(30, 30));
        QCoreApplication::processEvents();
        w->close();
        QCOMPARE(core::openSettings(QStringLiteral("frmStatistik"))->value(QStringLiteral("Left")).toString(),
                 QString::number(outerTwips.x() + shiftTwips));
        QCOMPARE(core::openSettings(QStringLiteral("frmStatistik"))->value(QStringLiteral("Top")).toString(),
                 QString::number(outerTwips.y() + shiftTwips));
    }

    void openAtTheEndOpenAgainAtTheNextStart() {
        MainWindowFixture f;
        f.start();
        QVERIFY(openStatistics(f));
        QVERIFY(f.close());
        f.start();
        QTRY_VERIFY(testing::statistikWindow(*f.window) && testing::statistikWindow(*f.window)->isVisible());
        // The main window keeps the keyboard.
        QVERIFY(!testing::statistikWindow(*f.window)->isActiveWindow());
        // Closed by the player before the end: not at the next start.
        testing::statistikWindow(*f.window)->close();
        QVERIFY(f.close());
        f.start();
        QTest::qWait(100);
        QVERIFY(!testing::statistikWindow(*f.window));
    }

    void aStoredPlaceOffEveryScreenIsBroughtBack() {
        MainWindowFixture f;
        {
            const auto s = core::openSettings(QStringLiteral("frmStatistik"));
            s->setValue(QStringLiteral("Left"), QStringLiteral("600000"));
            s->setValue(QStringLiteral("Top"), QStringLiteral("-90000"));
            s->setValue(QStringLiteral("Width"), QStringLiteral("12000"));
            s->setValue(QStringLiteral("Height"), QStringLiteral("9000"));
        }
        f.start();
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        const QRect screen = w->screen()->availableGeometry();
        QVERIFY2(screen.contains(w->frameGeometry().topLeft()), qPrintable(QStringLiteral("%1,%2").arg(w->x()).arg(w->y())));
        QCOMPARE(w->frameGeometry().size(), QSize(ui::twipsToPixels(w, 12000), ui::twipsToPixels(w, 9000)));
    }

    void readableOnALightAndADarkDesktop_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("hell") << false;
        QTest::newRow("dunkel") << true;
    }
    void readableOnALightAndADarkDesktop() {
        QFETCH(bool, dark);
        const QPalette before = QApplication::palette();
        MainWindowFixture f;
        f.start();
        f.chooseLeader(QStringLiteral("Harald"));
        f.addByNumber({"ORVANE 05", "ORVANE 07", "SIVAR 06"});
        ui::frmStatistik* w = openStatistics(f);
        QVERIFY(w);
        // Switched while the window is open, as a desktop switching its colour scheme does.
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        const QPalette palette = dark ? darkPalette() : fusion->standardPalette();
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
        const QColor background = palette.color(QPalette::Base);
        QCOMPARE(background.lightness() < 128, dark);

        QStringList faults;
        auto text = [&](const QString& what, const QColor& colour) {
            if (contrast(colour, background) < 4.5)
                faults << QStringLiteral("%1 %2 on %3: %4").arg(what, colour.name(), background.name()).arg(contrast(colour, background));
        };
        auto graphic = [&](const QString& what, const QColor& colour) {
            if (contrast(colour, background) < 3.0)
                faults << QStringLiteral("%1 %2 on %3: %4").arg(what, colour.name(), background.name()).arg(contrast(colour, background));
        };
        for (QChartView* view : {w->chvStaerke, w->chvMonde, w->chvKartenarten, w->chvHauptfraktion}) {
            QChart* chart = view->chart();
            const QString name = view->objectName();
            QCOMPARE(chart->theme(), dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
            QCOMPARE(chart->backgroundBrush().color(), background);
            // What is on screen: the view's corner shows the desktop's base colour, not the theme's own.
            const QImage shot = view->grab().toImage();
            QCOMPARE(QColor(shot.pixel(2, 2)), background);
            text(name + QStringLiteral(" title"), chart->titleBrush().color());
            text(name + QStringLiteral(" legend"), chart->legend()->labelColor());
            for (QAbstractAxis* axis : chart->axes()) {
                if (!axis->isVisible())
                    continue;
                text(name + QStringLiteral(" axis labels"), axis->labelsBrush().color());
                text(name + QStringLiteral(" axis title"), axis->titleBrush().color());
            }
            for (QAbstractSeries* s : chart->series()) {
                if (auto* bars = qobject_cast<QAbstractBarSeries*>(s))
                    for (QBarSet* set : bars->barSets()) {
                        graphic(name + QStringLiteral(" ") + set->label(), set->color());
                        graphic(name + QStringLiteral(" over limit"), set->selectedColor());
                    }
                if (auto* line = qobject_cast<QLineSeries*>(s))
                    graphic(name + QStringLiteral(" limit"), line->pen().color());
                if (auto* pie = qobject_cast<QPieSeries*>(s))
                    for (QPieSlice* slice : pie->slices()) {
                        text(name + QStringLiteral(" slice label"), slice->labelColor());
                        graphic(name + QStringLiteral(" slice"), slice->color());
                    }
            }
        }
        QApplication::setPalette(before);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(TstStatistik)
#include "tst_statistik.moc"
