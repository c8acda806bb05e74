// The deck being edited: every change to DECK and to the leader and inquisitor chosen.
#include "deck/decksession.h"

#include "core/errornumbers.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/queries.h"
#include "deck/entrynames.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace deck {

class DeckSession::Connection {
public:
    explicit Connection(std::unique_ptr<db::Database> owned) : m_owned(std::move(owned)), m_conn(m_owned.get()) {}
    explicit Connection(db::Database* borrowed) : m_conn(borrowed) {}
    db::Database& operator*() const { return *m_conn; }
    db::Database* operator->() const { return m_conn; }

private:
    std::unique_ptr<db::Database> m_owned;
    db::Database* m_conn;
};

namespace {

db::DbError noCurrentRecord() { return db::DbError(core::errors::kNoCurrentRecord, QStringLiteral("Kein aktueller Datensatz.")); }

std::optional<QString> firstField(db::Database& conn, const QString& sql) {
    auto rs = conn.OpenRecordset(sql);
    if (rs.Eof())
        return std::nullopt;
    return db::cellText(rs.Fields(0));
}

// The one statement that empties the deck.
void emptyDeck(db::Database& conn) { conn.Execute(QStringLiteral("DELETE * FROM DECK")); }

bool holdsCards(db::Database& conn) { return conn.OpenRecordset(QStringLiteral("SELECT * FROM DECK")).RecordCount() > 0; }

DeckChange wholeDeck() {
    DeckChange change;
    change.rows = true;
    change.wholeDeck = true;
    return change;
}

} // namespace

QString passedOverText(const QStringList& numbers) {
    // A file need not be text: each number is cut short and shows no control characters.
    QStringList shown;
    for (const QString& number : numbers.mid(0, 10)) {
        QString text = number.left(40);
        for (QChar& c : text)
            if (!c.isPrint())
                c = u'?';
        shown << (number.size() > 40 ? text + u'…' : text);
    }
    return QStringLiteral("Diese Kartennummern der Datei kennt der Katalog nicht; sie wurden übergangen:\r\n") +
           shown.join(QStringLiteral(", ")) +
           (numbers.size() > 10 ? QStringLiteral(" und %1 weitere").arg(numbers.size() - 10) : QString());
}

DeckSession::DeckSession(QString databasePath, QObject* parent) : QObject(parent), m_path(std::move(databasePath)) {}

DeckSession::DeckSession(db::Database& conn, QObject* parent) : QObject(parent), m_conn(&conn) {}

DeckSession::~DeckSession() = default;

DeckSession::Connection DeckSession::open() {
    if (m_conn)
        return Connection(m_conn);
    return Connection(db::Database::OpenDatabase(m_path));
}

// ---- the choice ---------------------------------------------------------------------------------

const QStringList& DeckSession::leaderEntries() {
    if (!m_leaders)
        m_leaders = deck::leaderEntries(*open());
    return *m_leaders;
}

const QStringList& DeckSession::inquisitorEntries() {
    if (!m_inquisitors)
        m_inquisitors = deck::inquisitorEntries(*open());
    return *m_inquisitors;
}

QString DeckSession::leaderEntry() { return leaderEntries().value(m_choice.leader); }
QString DeckSession::inquisitorEntry() { return inquisitorEntries().value(m_choice.inquisitor); }

void DeckSession::chooseLeader(int index) {
    if (index == m_choice.leader)
        return;
    DeckChoice choice = m_choice;
    choice.leader = index;
    if (index >= 0 && choice.inquisitor < 0)
        choice.inquisitor = static_cast<int>(inquisitorEntries().indexOf(kNoInquisitor));
    setChoice(choice);
}

void DeckSession::chooseInquisitor(int index) {
    DeckChoice choice = m_choice;
    choice.inquisitor = index;
    setChoice(choice);
}

void DeckSession::chooseLeaderNamed(const QString& name) {
    if (const int at = entryIndexForName(leaderEntries(), name); at >= 0)
        chooseLeader(at);
}

void DeckSession::chooseInquisitorNamed(const QString& name) {
    const int at = name.isEmpty() ? static_cast<int>(inquisitorEntries().indexOf(kNoInquisitor))
                                  : entryIndexForName(inquisitorEntries(), name);
    if (at >= 0)
        chooseInquisitor(at);
}

void DeckSession::setChoice(DeckChoice choice, DeckChange change) {
    change.leader = choice.leader != m_choice.leader;
    change.inquisitor = choice.inquisitor != m_choice.inquisitor;
    m_choice = choice;
    if (change.leader || change.inquisitor || change.rows || change.toStart)
        Q_EMIT changed(change);
}

// ---- the cards ----------------------------------------------------------------------------------

namespace {
QString equals(const QString& column, const QString& value) {
    return column + QStringLiteral(" = '") + db::quoted(value) + QStringLiteral("' ");
}
} // namespace

bool DeckSession::holds(db::Database& conn, const QString& column, const QString& value) {
    return conn.OpenRecordset(QStringLiteral("SELECT * FROM DECK ") + QStringLiteral("WHERE ") + equals(column, value)).RecordCount() > 0;
}

bool DeckSession::holdsCard(const QString& name) { return holds(*open(), QStringLiteral("NAME"), name); }

bool DeckSession::insertUnlessHeld(db::Database& conn, const QString& column, const QString& value) {
    // A deck holds each card once, however often it is asked for.
    if (holds(conn, column, value))
        return false;
    conn.Execute(QStringLiteral("INSERT INTO DECK ") + QStringLiteral("SELECT * FROM KARTEN ") + QStringLiteral("WHERE KARTEN.") +
                 equals(column, value));
    return true;
}

QStringList DeckSession::numbersNamed(db::Database& conn, const QString& name) {
    QStringList numbers;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM DECK WHERE NAME = '") + db::quoted(name) +
                                      QStringLiteral("' "));
         !rs.Eof(); rs.MoveNext())
        numbers << db::cellText(rs.Fields(0));
    return numbers;
}

DeckSession::Added DeckSession::addCard(const QString& name) {
    if (m_choice.leader < 0)
        return Added::NoLeader;
    auto conn = open();
    if (!insertUnlessHeld(*conn, QStringLiteral("NAME"), name))
        return Added::AlreadyThere;
    DeckChange change;
    change.rows = true;
    change.added = numbersNamed(*conn, name);
    Q_EMIT changed(change);
    return Added::Yes;
}

void DeckSession::removeCard(const QString& name) {
    auto conn = open();
    DeckChange change;
    change.rows = true;
    change.removed = numbersNamed(*conn, name);
    conn->Execute(QStringLiteral("DELETE * FROM DECK ") + QStringLiteral("WHERE NAME = '") + db::quoted(name) + QStringLiteral("' "));
    Q_EMIT changed(change);
}

bool DeckSession::hasCards() { return holdsCards(*open()); }

int DeckSession::cardCount() { return open()->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt(); }

void DeckSession::clear() {
    emptyDeck(*open());
    Q_EMIT changed(wholeDeck());
}

bool DeckSession::fillStandard() {
    if (m_choice.leader < 0)
        return false;
    auto conn = open();
    emptyDeck(*conn);
    // A leader gone from the catalogue since its list was read leaves the deck empty.
    const std::optional<QString> faction = firstField(*conn, QStringLiteral("SELECT FRAKTION FROM ANFUEHRER ") +
                                                                  QStringLiteral("WHERE NAME = '") +
                                                                  db::quoted(leaderName(leaderEntry())) + QStringLiteral("' "));
    if (faction)
        conn->Execute(QStringLiteral("INSERT INTO DECK ") + QStringLiteral("SELECT * FROM KARTEN ") +
                      QStringLiteral("WHERE KARTEN.SET = '") + db::quoted(faction->left(1)) + QStringLiteral("' "));
    Q_EMIT changed(wholeDeck());
    return faction.has_value();
}

QStringList DeckSession::insertNumbers(db::Database& conn, const QStringList& numbers) {
    const NumberIndex catalogue(conn, QStringLiteral("KARTEN"));
    std::vector<bool> inserted(static_cast<size_t>(catalogue.size()), false);
    QStringList unknown;
    QSet<QString> seen; // a file may name thousands of them
    // One commit for the file: a commit per card waits for the disk once per card.
    db::Transaction batch(conn, db::Transaction::Lock::Deferred);
    try {
        for (const QString& number : numbers) {
            const qsizetype at = catalogue.find(number);
            if (at < 0) {
                if (const QString folded = number.toCaseFolded(); !seen.contains(folded)) {
                    seen.insert(folded);
                    unknown << number;
                }
                continue;
            }
            if (inserted[static_cast<size_t>(at)])
                continue;
            inserted[static_cast<size_t>(at)] = true;
            insertUnlessHeld(conn, QStringLiteral("NUMMER"), number);
        }
    } catch (const db::DbError&) {
        // The cards read before a failing one stay in the deck, as they did with a commit each.
        if (batch.active())
            batch.commit();
        throw;
    }
    batch.commit();
    return unknown;
}

QStringList DeckSession::addCardNumbers(const QStringList& numbers) {
    auto conn = open();
    QStringList unknown;
    try {
        unknown = insertNumbers(*conn, numbers);
    } catch (const db::DbError&) {
        Q_EMIT changed(wholeDeck());
        throw;
    }
    Q_EMIT changed(wholeDeck());
    return unknown;
}

QStringList DeckSession::load(const DeckContent& content) {
    auto conn = open();
    if (holdsCards(*conn)) {
        emptyDeck(*conn);
        Q_EMIT changed(wholeDeck());
    }
    if (content.lineCount < 1)
        throw db::DbError(core::errors::kPastEndOfFile, kPastEndOfFile);
    const QString leader = leaderNameForNumber(*conn, content.leaderNumber);
    if (leader.isEmpty())
        throw noCurrentRecord();
    chooseLeaderNamed(leader);
    if (content.lineCount < 2)
        throw db::DbError(core::errors::kPastEndOfFile, kPastEndOfFile);
    chooseInquisitorNamed(inquisitorNameForNumber(*conn, content.inquisitorNumber));
    return addCardNumbers(content.cardNumbers);
}

QStringList DeckSession::replaceWith(const DeckContent& content) {
    auto conn = open();
    if (holdsCards(*conn)) {
        emptyDeck(*conn);
        Q_EMIT changed(wholeDeck());
    }
    if (!content.leaderNumber.isEmpty())
        chooseLeaderNamed(leaderNameForNumber(*conn, content.leaderNumber));
    if (!content.leaderNumber.isEmpty() || !content.inquisitorNumber.isEmpty())
        chooseInquisitorNamed(content.inquisitorNumber.isEmpty() ? QString()
                                                                 : inquisitorNameForNumber(*conn, content.inquisitorNumber));
    return addCardNumbers(content.cardNumbers);
}

void DeckSession::loadCardTable(const QStringList& numbers) {
    auto conn = open();
    if (holdsCards(*conn))
        emptyDeck(*conn);
    // Each distinct number is looked up once, and only in the tables that know it: a file may
    // name thousands of cards.
    const NumberIndex cards(*conn, QStringLiteral("KARTEN"));
    const NumberIndex leaders(*conn, QStringLiteral("ANFUEHRER"));
    const NumberIndex inquisitors(*conn, QStringLiteral("INQUISITOR"));
    struct Names {
        QString leader;
        QString inquisitor;
    };
    QHash<QString, Names> seen;
    try {
        for (const QString& number : numbers) {
            auto it = seen.constFind(number);
            if (it == seen.constEnd()) {
                if (cards.contains(number))
                    insertUnlessHeld(*conn, QStringLiteral("NUMMER"), number);
                Names names;
                if (leaders.contains(number))
                    names.leader = leaderNameForNumber(*conn, number);
                if (inquisitors.contains(number))
                    names.inquisitor = inquisitorNameForNumber(*conn, number);
                it = seen.insert(number, names);
            }
            if (!it->leader.isEmpty())
                chooseLeaderNamed(it->leader);
            if (!it->inquisitor.isEmpty())
                chooseInquisitorNamed(it->inquisitor);
        }
    } catch (const db::DbError&) {
        // The cards copied so far stay; whoever shows the deck must show them.
        Q_EMIT changed(wholeDeck());
        throw;
    }
    Q_EMIT changed(wholeDeck());
}

DeckContent DeckSession::content() {
    auto conn = open();
    DeckContent deck;
    const auto leader = firstField(*conn, QStringLiteral("SELECT NUMMER FROM ANFUEHRER WHERE NAME = '") +
                                              db::quoted(leaderName(leaderEntry())) + QStringLiteral("' "));
    if (!leader)
        throw noCurrentRecord();
    deck.leaderNumber = *leader;
    const QString inquisitor = inquisitorEntry();
    if (!inquisitor.isEmpty() && inquisitor != kNoInquisitor) {
        const auto number = firstField(*conn, QStringLiteral("SELECT NUMMER FROM INQUISITOR WHERE NAME = '") +
                                                  db::quoted(inquisitorName(inquisitor)) + QStringLiteral("' "));
        if (!number)
            throw noCurrentRecord();
        deck.inquisitorNumber = *number;
    }
    deck.cardNumbers = cardNumbers();
    return deck;
}

QStringList DeckSession::cardNumbers() {
    QStringList numbers;
    for (auto rs = open()->OpenRecordset(QStringLiteral("SELECT NUMMER FROM DECK ORDER BY NUMMER")); !rs.Eof(); rs.MoveNext())
        numbers << db::cellText(rs.Fields(0));
    return numbers;
}

std::optional<Refusal> DeckSession::incomplete() {
    if (!hasCards())
        return Refusal{QStringLiteral("Keine Daten zum Speichern vorhanden."), QStringLiteral("Leeres Deck")};
    if (leaderEntry().isEmpty())
        return Refusal{QStringLiteral("Es wurde kein Anführer ausgewählt."), QStringLiteral("Kein Anführer gewählt")};
    return std::nullopt;
}

// ---- steps --------------------------------------------------------------------------------------

DeckRows DeckSession::rows(const QString& cardName) {
    auto conn = open();
    return cardName.isNull() ? readDeck(*conn) : readDeckNamed(*conn, cardName);
}

void DeckSession::replay(const DeckStep& step, bool back, bool singleCards, bool toStart) {
    {
        auto conn = open();
        if (back)
            step.undo(*conn);
        else
            step.redo(*conn);
    }
    DeckChange change;
    change.toStart = toStart;
    if (step.changesRows()) {
        change.rows = true;
        change.wholeDeck = !singleCards;
        if (singleCards) {
            change.removed = step.numbers(back ? step.added() : step.removed());
            change.added = step.numbers(back ? step.removed() : step.added());
        }
    }
    setChoice(back ? step.choiceBefore() : step.choiceAfter(), change);
}

} // namespace deck
