// Reading a deck from pasted text: deck lists, deck-file and CardTable lines, names with counts.
#include "deckio/textimport.h"

#include "db/database.h"
#include "db/dberror.h"
#include "deck/entrynames.h"
#include "deckio/cardtable.h"

#include <QRegularExpression>

namespace deckio {

namespace {

QString withoutMarks(const QString& text) {
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.simplified();
}

QString spelledKey(const QString& text) {
    QString s = text.toCaseFolded();
    s.replace(u'ä', QStringLiteral("ae")).replace(u'ö', QStringLiteral("oe")).replace(u'ü', QStringLiteral("ue"));
    s.replace(u'ß', QStringLiteral("ss"));
    return withoutMarks(s);
}

QString strippedKey(const QString& text) {
    QString s = text.toCaseFolded();
    s.replace(u'ß', QStringLiteral("ss"));
    return withoutMarks(s);
}

using Kind = NamedCard::Kind;

std::vector<NamedCard> onlyKind(std::vector<NamedCard> found, Kind kind) {
    std::erase_if(found, [kind](const NamedCard& c) { return c.kind != kind; });
    return found;
}

const QRegularExpression& re(const char* pattern) {
    // Compiled once per pattern: a live preview reads the whole text at every key.
    static thread_local std::vector<std::pair<const char*, QRegularExpression>> cache;
    for (const auto& [p, r] : cache)
        if (p == pattern)
            return r;
    cache.emplace_back(pattern, QRegularExpression(QString::fromUtf8(pattern), QRegularExpression::CaseInsensitiveOption));
    return cache.back().second;
}

void settle(ImportLine& line, std::vector<NamedCard> found) {
    line.candidates = std::move(found);
    if (line.candidates.empty()) {
        line.status = ImportLine::Status::Unknown;
    } else if (line.candidates.size() == 1) {
        line.status = ImportLine::Status::Recognised;
        line.chosen = 0;
    } else {
        line.status = ImportLine::Status::Ambiguous;
    }
}

// A line of the program's own deck list, a CardTable deck or a deck file, or a name or number with a count.
void readLine(ImportLine& line, const CardNames& names) {
    const QString text = line.text.trimmed();
    if (text.isEmpty())
        return;
    QRegularExpressionMatch m;
    if ((m = re("^ANFÜHRER:\\s*(.*)$").match(text)).hasMatch()) {
        const QString rest = m.captured(1).trimmed();
        auto found = onlyKind(names.match(deck::nameBeforeLastParen(rest)), Kind::Leader);
        settle(line, found.empty() ? onlyKind(names.match(rest), Kind::Leader) : found);
        return;
    }
    if ((m = re("^INQUISITOR:\\s*(.*)$").match(text)).hasMatch()) {
        settle(line, onlyKind(names.match(m.captured(1).trimmed()), Kind::Inquisitor));
        return;
    }
    if (re("^\\+?\\d+ Karten / \\+?\\d+ Monde$").match(text).hasMatch() ||
        re("^Anzahl (Karten|Monde):\\s*\\d*$").match(text).hasMatch() || re("^back\\b").match(text).hasMatch())
        return;
    if (re("^card\\s").match(text).hasMatch()) {
        try {
            const QString number = cardTableNumber(text);
            if ((m = re("\"\\s*(\\d+)$").match(text)).hasMatch())
                line.count = m.captured(1).toInt();
            settle(line, names.match(number));
        } catch (const db::DbError&) {
            settle(line, {});
        }
        return;
    }
    if ((m = re("^(\\S+) \\(([^)]*)\\): (.*)$").match(text)).hasMatch()) {
        auto found = names.match(m.captured(1) + u' ' + m.captured(2));
        if (found.empty())
            found = names.match(deck::nameBeforeLastParen(m.captured(3)));
        if (!found.empty()) {
            settle(line, found);
            return;
        }
    }

    std::vector<NamedCard> found = names.match(text);
    if (found.empty() && (m = re("^(\\d+)\\s*[x×]?\\s+(.+)$").match(text)).hasMatch()) {
        found = names.match(m.captured(2));
        if (!found.empty())
            line.count = m.captured(1).toInt();
    }
    if (found.empty() && (m = re("^(.+?)\\s*[x×]\\s*(\\d+)$").match(text)).hasMatch()) {
        found = names.match(m.captured(1));
        if (!found.empty())
            line.count = m.captured(2).toInt();
    }
    // A deck list's type heading, "CHARAKTER (12)", names no card and is no fault.
    if (found.empty() && text == text.toUpper() && re("^\\D+ \\(\\d+\\)$").match(text).hasMatch())
        return;
    settle(line, found);
}

void collect(ImportedDeck& deck) {
    deck.leaderNumber.clear();
    deck.inquisitorNumber.clear();
    deck.cardNumbers.clear();
    QStringList folded;
    for (ImportLine& line : deck.lines) {
        line.repeated = false;
        const NamedCard* card = line.card();
        if (!card)
            continue;
        switch (card->kind) {
        case Kind::Leader:
            line.repeated = !deck.leaderNumber.isEmpty();
            deck.leaderNumber = card->number;
            break;
        case Kind::Inquisitor:
            line.repeated = !deck.inquisitorNumber.isEmpty();
            deck.inquisitorNumber = card->number;
            break;
        case Kind::Card:
            if (folded.contains(card->number.toCaseFolded())) {
                line.repeated = true;
            } else {
                folded << card->number.toCaseFolded();
                deck.cardNumbers << card->number;
            }
            break;
        }
    }
}

} // namespace

CardNames::CardNames(db::Database& conn) : CardNames([&conn] {
    std::vector<NamedCard> entries;
    const std::pair<const char*, Kind> tables[] = {
        {"KARTEN", Kind::Card}, {"ANFUEHRER", Kind::Leader}, {"INQUISITOR", Kind::Inquisitor}};
    for (const auto& [table, kind] : tables)
        for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER, NAME FROM ") + QLatin1String(table)); !rs.Eof();
             rs.MoveNext())
            entries.push_back({kind, db::cellText(rs.Fields(0)), db::cellText(rs.Fields(1))});
    return entries;
}()) {}

CardNames::CardNames(std::vector<NamedCard> entries) : m_entries(std::move(entries)) {
    for (int i = 0; i < int(m_entries.size()); ++i) {
        const NamedCard& c = m_entries[size_t(i)];
        if (!c.number.isEmpty())
            m_byNumber.insert(c.number.toCaseFolded(), i);
        m_byName.insert(c.name, i);
        m_bySpelled.insert(spelledKey(c.name), i);
        m_byStripped.insert(strippedKey(c.name), i);
    }
}

std::vector<NamedCard> CardNames::match(const QString& raw) const {
    const QString text = raw.simplified();
    if (text.isEmpty())
        return {};
    auto pick = [this](QList<int> at) {
        std::sort(at.begin(), at.end());
        at.erase(std::unique(at.begin(), at.end()), at.end());
        std::vector<NamedCard> out;
        for (const int i : at)
            out.push_back(m_entries[size_t(i)]);
        return out;
    };
    if (auto at = m_byNumber.values(text.toCaseFolded()); !at.isEmpty())
        return pick(at);
    if (auto at = m_byName.values(text); !at.isEmpty())
        return pick(at);
    return pick(m_bySpelled.values(spelledKey(text)) + m_byStripped.values(strippedKey(text)));
}

int ImportedDeck::ambiguousLines() const {
    return int(std::count_if(lines.begin(), lines.end(),
                             [](const ImportLine& l) { return l.status == ImportLine::Status::Ambiguous && l.chosen < 0; }));
}

int ImportedDeck::unknownLines() const {
    return int(std::count_if(lines.begin(), lines.end(), [](const ImportLine& l) { return l.status == ImportLine::Status::Unknown; }));
}

int ImportedDeck::countsAboveOne() const {
    return int(std::count_if(lines.begin(), lines.end(), [](const ImportLine& l) { return l.card() && l.count > 1; }));
}

ImportedDeck readDeckText(const QString& text, const CardNames& names) {
    ImportedDeck deck;
    const QStringList lines = text.split(re("\\r\\n|\\r|\\n"));
    for (int i = 0; i < lines.size(); ++i) {
        ImportLine line;
        line.lineNumber = i + 1;
        line.text = lines[i];
        readLine(line, names);
        deck.lines.push_back(std::move(line));
    }
    // A text ending in a line break has no last line.
    if (!deck.lines.empty() && deck.lines.back().text.isEmpty())
        deck.lines.pop_back();
    collect(deck);
    return deck;
}

void chooseCandidate(ImportedDeck& deck, int lineIndex, int candidate) {
    if (lineIndex < 0 || lineIndex >= int(deck.lines.size()))
        return;
    ImportLine& line = deck.lines[size_t(lineIndex)];
    if (line.status != ImportLine::Status::Ambiguous)
        return;
    line.chosen = candidate >= 0 && candidate < int(line.candidates.size()) ? candidate : -1;
    collect(deck);
}

} // namespace deckio
