#pragma once

#include <QLocale>
#include <QString>
#include <vector>

namespace db {
class Database;
}

namespace deck {

struct DeckFigures;

struct NoteNode {
    QString key;
    QString parentKey; // empty for a top-level node
    QString text;
    bool red = false;
};

struct DeckEvaluation {
    QString deckCountText; // "Anzahl Karten: " + deck cards
    QString poolCountText; // "Anzahl Karten: " + pool cards
    std::vector<NoteNode> nodes;
    int cardLimit = 0; // what "A" and "C" were held against
    int moonLimit = 0;
};

// Checks the deck in DECK against the limits of the chosen leader and inquisitor entries and
// builds the notes. Counts come from the grids (rows less their header), as the window shows them.
DeckEvaluation evaluateDeck(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry,
                            int deckCards, int poolCards, const QLocale& locale = QLocale());

// The notes of figures already read (deckFigures).
DeckEvaluation evaluationOf(const DeckFigures& figures, int poolCards, const QLocale& locale = QLocale());

// "Anzahl Karten: " followed by the count.
QString countText(int count);

// An average with the pattern "0.00" and the locale's decimal separator.
QString averageText(double value, const QLocale& locale);

} // namespace deck
