// What "diff" and "odds" print: the comparison of two decks and the opening-hand odds as text, TSV or JSON.
#include "cli/deckreports.h"

#include "deck/deckcomparison.h"
#include "deck/handodds.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

QString padded(const QString& text, qsizetype width) { return text + QString(std::max<qsizetype>(0, width - text.size()), u' '); }

// Columns padded to their widest cell, two blanks apart.
QString aligned(const std::vector<QStringList>& rows) {
    std::vector<qsizetype> widths;
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (size_t(c) >= widths.size())
                widths.push_back(0);
            widths[size_t(c)] = std::max(widths[size_t(c)], row[c].size());
        }
    QString out;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? padded(row[c], widths[size_t(c)] + 2) : row[c];
        while (line.endsWith(u' '))
            line.chop(1);
        out += line + u'\n';
    }
    return out;
}

QJsonArray cardsJson(const std::vector<deck::ComparedCard>& cards) {
    QJsonArray out;
    for (const deck::ComparedCard& c : cards)
        out.append(QJsonObject{{QStringLiteral("nummer"), c.number}, {QStringLiteral("name"), c.name}});
    return out;
}

// TSV cells hold no tab or line break.
QString cell(QString text) {
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

} // namespace

QByteArray comparisonReport(const deck::DeckComparison& c, const QString& here, const QString& there, Format format) {
    const std::vector<deck::DifferenceRow> rows = deck::differenceRows(c);
    if (format == Format::Json) {
        QJsonArray differences;
        for (const deck::DifferenceRow& r : rows)
            differences.append(QJsonObject{{QStringLiteral("merkmal"), r.label}, {QStringLiteral("a"), r.here},
                                           {QStringLiteral("b"), r.there}, {QStringLiteral("verschieden"), r.differs()}});
        const QJsonObject doc{{QStringLiteral("a"), here},
                              {QStringLiteral("b"), there},
                              {QStringLiteral("gleich"), c.equal()},
                              {QStringLiteral("nurA"), cardsJson(c.onlyHere)},
                              {QStringLiteral("beide"), cardsJson(c.inBoth)},
                              {QStringLiteral("nurB"), cardsJson(c.onlyThere)},
                              {QStringLiteral("unterschiede"), differences},
                              {QStringLiteral("unbekanntA"), QJsonArray::fromStringList(c.here.unknownNumbers)},
                              {QStringLiteral("unbekanntB"), QJsonArray::fromStringList(c.there.unknownNumbers)}};
        return QJsonDocument(doc).toJson(QJsonDocument::Indented);
    }
    if (format == Format::Tsv) {
        // One table: what each side has, card by card, then feature by feature.
        QString out = QStringLiteral("Art\tNummer/Merkmal\t%1\t%2\n").arg(cell(here), cell(there));
        for (const auto& card : c.onlyHere)
            out += QStringLiteral("nur A\t%1\t%2\t\n").arg(cell(card.number), cell(card.name));
        for (const auto& card : c.inBoth)
            out += QStringLiteral("beide\t%1\t%2\t%2\n").arg(cell(card.number), cell(card.name));
        for (const auto& card : c.onlyThere)
            out += QStringLiteral("nur B\t%1\t\t%2\n").arg(cell(card.number), cell(card.name));
        for (const deck::DifferenceRow& r : rows)
            out += QStringLiteral("Merkmal\t%1\t%2\t%3\n").arg(cell(r.label), cell(r.here), cell(r.there));
        for (const QString& n : c.here.unknownNumbers)
            out += QStringLiteral("unbekannt A\t%1\t\t\n").arg(cell(n));
        for (const QString& n : c.there.unknownNumbers)
            out += QStringLiteral("unbekannt B\t%1\t\t\n").arg(cell(n));
        return out.toUtf8();
    }
    QString out;
    auto list = [&out](const QString& heading, const std::vector<deck::ComparedCard>& cards) {
        out += QStringLiteral("%1 (%2):\n").arg(heading).arg(cards.size());
        std::vector<QStringList> lines;
        for (const auto& card : cards)
            lines.push_back({QStringLiteral("  ") + card.number, card.name});
        out += aligned(lines) + u'\n';
    };
    list(QStringLiteral("Nur in ") + here, c.onlyHere);
    list(QStringLiteral("In beiden"), c.inBoth);
    list(QStringLiteral("Nur in ") + there, c.onlyThere);
    std::vector<QStringList> table{{QString(), here, there, QString()}};
    for (const deck::DifferenceRow& r : rows)
        table.push_back({r.label, r.here.isEmpty() ? QStringLiteral("-") : r.here, r.there.isEmpty() ? QStringLiteral("-") : r.there,
                         r.differs() ? QStringLiteral("*") : QString()});
    out += aligned(table);
    if (!c.here.unknownNumbers.isEmpty())
        out += QStringLiteral("\nUnbekannte Kartennummern in %1: %2\n").arg(here, c.here.unknownNumbers.join(QStringLiteral(", ")));
    if (!c.there.unknownNumbers.isEmpty())
        out += QStringLiteral("\nUnbekannte Kartennummern in %1: %2\n").arg(there, c.there.unknownNumbers.join(QStringLiteral(", ")));
    out += c.equal() ? QStringLiteral("\nDie Decks sind gleich.\n") : QStringLiteral("\nDie Decks unterscheiden sich.\n");
    return out.toUtf8();
}

QByteArray oddsReport(const deck::OddsTable& table, Format format) {
    if (format == Format::Json) {
        QJsonArray rows;
        for (const deck::OddsRow& r : table.rows) {
            QJsonArray atLeast;
            for (const double p : r.atLeast)
                atLeast.append(p);
            rows.append(QJsonObject{{QStringLiteral("merkmal"), r.label},
                                    {QStringLiteral("imDeck"), r.inDeck},
                                    {QStringLiteral("mindestens"), atLeast}});
        }
        return QJsonDocument(QJsonObject{{QStringLiteral("deck"), table.deckSize},
                                         {QStringLiteral("hand"), table.handSize},
                                         {QStringLiteral("zeilen"), rows}})
            .toJson(QJsonDocument::Indented);
    }
    QStringList heading{QStringLiteral("Merkmal"), QStringLiteral("Im Deck")};
    for (int k = 1; k <= table.columns; ++k)
        heading << QStringLiteral("mind. %1").arg(k);
    if (format == Format::Tsv) {
        // Chances as plain fractions, for a spreadsheet to format.
        QString out = heading.join(u'\t') + u'\n';
        for (const deck::OddsRow& r : table.rows) {
            QStringList line{cell(r.label), QString::number(r.inDeck)};
            for (const double p : r.atLeast)
                line << QString::number(p, 'f', 6);
            out += line.join(u'\t') + u'\n';
        }
        return out.toUtf8();
    }
    std::vector<QStringList> lines{heading};
    for (const deck::OddsRow& r : table.rows) {
        QStringList line{r.label, QString::number(r.inDeck)};
        for (const double p : r.atLeast)
            line << deck::percentText(p);
        lines.push_back(line);
    }
    return (QStringLiteral("Starthand: %1 von %2 Karten\n\n").arg(table.handSize).arg(table.deckSize) + aligned(lines)).toUtf8();
}

} // namespace cli
