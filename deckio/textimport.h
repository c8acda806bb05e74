#pragma once

#include <QMultiHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace db {
class Database;
}

namespace deckio {

// What a name or number in a text can stand for.
struct NamedCard {
    enum class Kind { Card, Leader, Inquisitor };
    Kind kind = Kind::Card;
    QString number;
    QString name;
};

// Every card, leader and inquisitor of the catalogue, to match lines of text against.
class CardNames {
public:
    explicit CardNames(db::Database& conn);
    explicit CardNames(std::vector<NamedCard> entries);

    // By number (without regard to case); else by the exact name; else by the name without case, accents
    // and umlaut spellings (ä, ae and a alike). Never by a part of a name. Empty when nothing matches.
    std::vector<NamedCard> match(const QString& text) const;

private:
    std::vector<NamedCard> m_entries;
    // Positions in m_entries by number (case folded), by name, and by the two folded spellings.
    QMultiHash<QString, int> m_byNumber;
    QMultiHash<QString, int> m_byName;
    QMultiHash<QString, int> m_bySpelled;  // umlauts written out: ä as ae
    QMultiHash<QString, int> m_byStripped; // umlauts as their base letter
};

// How one line of an imported text was read.
struct ImportLine {
    enum class Status {
        Ignored,    // empty, a heading or a total: nothing to take
        Recognised, // names one card, leader or inquisitor
        Ambiguous,  // names more than one: the player chooses among `candidates`
        Unknown,    // names nothing the catalogue knows
    };
    int lineNumber = 0; // from 1
    QString text;       // as it stands
    Status status = Status::Ignored;
    int count = 1;                     // how often the line names its card
    std::vector<NamedCard> candidates; // one when recognised
    int chosen = -1;                   // the candidate taken: 0 when recognised, the player's choice when ambiguous
    bool repeated = false;             // its card was named on an earlier line already

    const NamedCard* card() const { return chosen >= 0 && chosen < int(candidates.size()) ? &candidates[size_t(chosen)] : nullptr; }
};

// The deck a text makes, and what there is to tell about it.
struct ImportedDeck {
    std::vector<ImportLine> lines;
    QString leaderNumber;
    QString inquisitorNumber;
    QStringList cardNumbers; // each card once, in the order named

    int ambiguousLines() const;
    int unknownLines() const;
    int countsAboveOne() const; // lines that name their card more than once
};

// Reads a deck from text: the program's deck list, deck-file lines, CardTable deck lines, and lines of a
// card name or number with a count before or after it ("1 Laterne aus Goldau", "BRAMEL 24",
// "Laterne aus Goldau x1"). No line is dropped: each is kept with how it was read.
ImportedDeck readDeckText(const QString& text, const CardNames& names);

// The deck again after the player chose a candidate for an ambiguous line (candidate -1: none).
void chooseCandidate(ImportedDeck& deck, int lineIndex, int candidate);

} // namespace deckio
