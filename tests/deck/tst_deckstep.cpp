// Deck steps without a window: what a step keeps of the deck, taking it back and doing it again on
// a real catalogue file, and failures of the real writes that must leave DECK as it was.
#include "db/database.h"
#include "db/dberror.h"
#include "deck/deckstep.h"
#include "tests/helpers/testprogramdir.h"

#include <QtTest/QTest>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

using deck::DeckRows;
using deck::DeckStep;

namespace {

// Runs SQL on the file outside the program's dialect layer, as another program would.
void rawSql(const QString& path, const char* sql) {
    sqlite3* h = db::openRawConnection(path, false);
    char* error = nullptr;
    const int rc = sqlite3_exec(h, sql, nullptr, nullptr, &error);
    const QString why = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(h);
    QVERIFY2(rc == SQLITE_OK, qPrintable(why));
}

// Lowers this process's file-size limit while it lives; a write beyond it fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TstDeckStep : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<db::Database> m_db;

    void add(const QString& where) { m_db->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN WHERE ") + where); }
    DeckRows deck() { return deck::readDeck(*m_db); }
    static bool same(const DeckRows& a, const DeckRows& b) { return a.columns == b.columns && a.rows == b.rows; }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_db = db::Database::OpenDatabase(m_dir->databasePath());
    }
    void cleanup() {
        m_db.reset();
        m_dir.reset();
    }

    // A whole deck replaced by another: undo gives back every row exactly (rowid, NULLs, numbers as
    // numbers), redo the new deck, and both may alternate.
    void wholeDeckBackAndForth() {
        add(QStringLiteral("KARTEN.SET = 'O'"));
        const DeckRows before = deck();
        QVERIFY(before.rows.size() > 10);
        QCOMPARE(before.columns.first(), QStringLiteral("NAME"));
        QCOMPARE(before.columns.size(), 20);
        // NULL strengths and integer columns are kept as such.
        bool sawNull = false;
        for (const auto& row : before.rows)
            sawNull = sawNull || row.values[5].isNull();
        QVERIFY(sawNull);

        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        add(QStringLiteral("KARTEN.SET = 'S'"));
        const DeckRows after = deck();
        // The new rows reuse the old rowids: the step must tell them apart by their values.
        QCOMPARE(after.rows.front().rowid, before.rows.front().rowid);

        const DeckStep step(before, after, {0, 4}, {3, 1});
        QVERIFY(step.changesRows());
        QCOMPARE(step.removed().size(), before.rows.size());
        QCOMPARE(step.added().size(), after.rows.size());
        QCOMPARE(step.choiceBefore(), (deck::DeckChoice{0, 4}));
        QCOMPARE(step.choiceAfter(), (deck::DeckChoice{3, 1}));
        for (int round = 0; round < 2; ++round) {
            step.undo(*m_db);
            QVERIFY(same(deck(), before));
            QCOMPARE(deck().rows.front().values[5].typeId(), before.rows.front().values[5].typeId());
            step.redo(*m_db);
            QVERIFY(same(deck(), after));
        }
    }

    // Only what changed is kept: one card of a large deck is one row.
    void oneCardIsOneRow() {
        add(QStringLiteral("KARTEN.SET <> 'O'"));
        const QString name = QStringLiteral("D'Arvens Schwur");
        const DeckRows before = deck::readDeckNamed(*m_db, name);
        QVERIFY(before.rows.empty());
        add(QStringLiteral("KARTEN.NAME = 'D''Arvens Schwur'"));
        const DeckRows whole = deck();
        // Names compare as the deck's statements compare them: without regard to case.
        const DeckRows after = deck::readDeckNamed(*m_db, QStringLiteral("d'arvens SCHWUR"));
        QCOMPARE(after.rows.size(), size_t(1));
        const DeckStep step(before, after, {0, 4}, {0, 4});
        QCOMPARE(step.added().size(), size_t(1));
        QVERIFY(step.removed().empty());
        QCOMPARE(step.numbers(step.added()), QStringList{QStringLiteral("ORVANE 05")});

        step.undo(*m_db);
        QCOMPARE(deck().rows.size(), whole.rows.size() - 1);
        QVERIFY(deck::readDeckNamed(*m_db, name).rows.empty());
        step.redo(*m_db);
        QVERIFY(same(deck(), whole));
    }

    void aChoiceAloneIsAStepWithoutRows() {
        const DeckStep step({}, {}, {-1, -1}, {2, 4});
        QVERIFY(!step.isEmpty());
        QVERIFY(!step.changesRows());
        step.undo(*m_db); // touches nothing
        QVERIFY(deck().rows.empty());
        QVERIFY(DeckStep({}, {}, {2, 4}, {2, 4}).isEmpty());
    }

    // A write that fails in the middle of a step (a trigger refuses the fifth row) leaves every row
    // as it was before the step began, also the ones already deleted and inserted.
    void failureInTheMiddleRollsBack() {
        add(QStringLiteral("KARTEN.SET = 'O'"));
        const DeckRows full = deck();
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        add(QStringLiteral("KARTEN.SET = 'T'"));
        const DeckRows other = deck();
        const DeckStep step(full, other, {}, {});
        const QString fifth = full.rows[4].values[3].toString();
        m_db.reset();
        rawSql(m_dir->databasePath(), QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON DECK WHEN NEW.NUMMER = '%1' "
                                                     "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END")
                                          .arg(fifth)
                                          .toUtf8());
        m_db = db::Database::OpenDatabase(m_dir->databasePath());
        try {
            step.undo(*m_db);
            QFAIL("undo passed a refused row");
        } catch (const db::DbError& e) {
            QVERIFY2(e.description().contains(QStringLiteral("Platte voll")), qPrintable(e.description()));
        }
        QVERIFY(same(deck(), other));
        // The connection is usable again and nothing is left open.
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        QVERIFY(deck().rows.empty());
    }

    // The disk refuses the journal: the step fails as a whole, DECK keeps its rows.
    void fullDiskRollsBack() {
        add(QStringLiteral("KARTEN.SET = 'O'"));
        const DeckRows full = deck();
        m_db->Execute(QStringLiteral("DELETE * FROM DECK"));
        const DeckRows empty = deck();
        const DeckStep step(full, empty, {}, {});
        bool failed = false;
        {
            const FileSizeLimit limit(512);
            try {
                step.undo(*m_db);
            } catch (const db::DbError&) {
                failed = true;
            }
        }
        QVERIFY(failed);
        QVERIFY(same(deck(), empty));
        step.undo(*m_db);
        QVERIFY(same(deck(), full));
    }

    // DECK changed behind the step's back: the step refuses instead of taking out other rows.
    void deckNoLongerAsTheStepLeftIt() {
        add(QStringLiteral("KARTEN.SET = 'O'"));
        const DeckRows before = deck();
        add(QStringLiteral("KARTEN.SET = 'T'"));
        const DeckRows after = deck();
        QVERIFY(after.rows.size() > before.rows.size() + 1);
        const DeckStep step(before, after, {}, {});
        const QString number = after.rows.back().values[3].toString();
        const int moons = after.rows.back().values[10].toInt();
        m_db->Execute(QStringLiteral("UPDATE DECK SET MONDE = %1 WHERE NUMMER = '%2'").arg(moons + 1).arg(number));
        const DeckRows changed = deck();
        QVERIFY_THROWS_EXCEPTION(db::DbError, step.undo(*m_db));
        QVERIFY(same(deck(), changed));
        // As the step left it, it goes back; a rowid taken by another row meanwhile stops the redo.
        m_db->Execute(QStringLiteral("UPDATE DECK SET MONDE = %1 WHERE NUMMER = '%2'").arg(moons).arg(number));
        step.undo(*m_db);
        QVERIFY(same(deck(), before));
        add(QStringLiteral("KARTEN.NUMMER = 'SIVAR 06'"));
        const DeckRows blocked = deck();
        QVERIFY_THROWS_EXCEPTION(db::DbError, step.redo(*m_db));
        QVERIFY(same(deck(), blocked));
    }
};

QTEST_GUILESS_MAIN(TstDeckStep)
#include "tst_deckstep.moc"
