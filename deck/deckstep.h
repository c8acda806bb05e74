#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace db {
class Database;
}

namespace deck {

// One row of DECK as stored. The rowid is kept because rows that sort alike keep their place by it.
struct DeckRow {
    qint64 rowid = 0;
    std::vector<QVariant> values; // in the table's column order
    bool operator==(const DeckRow&) const = default;
};

// Rows of DECK in rowid order, with the table's column names.
struct DeckRows {
    QStringList columns;
    std::vector<DeckRow> rows;
};

// Every row of DECK.
DeckRows readDeck(db::Database& conn);
// The rows of one card name, compared as the deck's own statements compare names (without regard
// to case): the rows that adding or removing that card touches.
DeckRows readDeckNamed(db::Database& conn, const QString& name);

// Leader and inquisitor as chosen in their lists: entry indices, -1 when nothing is chosen.
struct DeckChoice {
    int leader = -1;
    int inquisitor = -1;
    bool operator==(const DeckChoice&) const = default;
};

// What one step of the player changed in the deck: the rows it took out of DECK and put in, and
// the choice before and after. Only the difference is kept, so a step of one card stays one card
// however large the deck.
class DeckStep {
public:
    DeckStep(const DeckRows& before, const DeckRows& after, DeckChoice choiceBefore, DeckChoice choiceAfter);

    bool isEmpty() const { return m_removed.empty() && m_added.empty() && m_choiceBefore == m_choiceAfter; }
    bool changesRows() const { return !m_removed.empty() || !m_added.empty(); }

    // Take the step back, or do it again, in one transaction. When a statement fails, or DECK does
    // not hold the rows the step left there, the transaction is rolled back (DECK stays as it was)
    // and db::DbError is thrown.
    void undo(db::Database& conn) const;
    void redo(db::Database& conn) const;

    const std::vector<DeckRow>& removed() const { return m_removed; }
    const std::vector<DeckRow>& added() const { return m_added; }
    DeckChoice choiceBefore() const { return m_choiceBefore; }
    DeckChoice choiceAfter() const { return m_choiceAfter; }
    // The card numbers (column NUMMER) of rows.
    QStringList numbers(const std::vector<DeckRow>& rows) const;

private:
    void apply(db::Database& conn, const std::vector<DeckRow>& out, const std::vector<DeckRow>& in) const;

    QStringList m_columns;
    std::vector<DeckRow> m_removed;
    std::vector<DeckRow> m_added;
    DeckChoice m_choiceBefore;
    DeckChoice m_choiceAfter;
};

} // namespace deck
