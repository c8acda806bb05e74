// The commands of dravenna-deck: check, list, export, import and query.
#include "cli/commands.h"

#include "cli/output.h"
#include "core/apperror.h"
#include "core/datalocation.h"
#include "core/programdir.h"
#include "core/textfile.h"
#include "db/database.h"
#include "db/queries.h"
#include "cli/deckreports.h"
#include "deck/deckcomparison.h"
#include "deck/deckevaluation.h"
#include "deck/decksession.h"
#include "deck/handodds.h"
#include "deck/entrynames.h"
#include "deckio/cardtable.h"
#include "deckio/deckfile.h"
#include "deckio/decklist.h"
#include "filter/specialfilter.h"

#include <QFileInfo>

namespace cli {

namespace {

// A failure to report; check ends with kUnreadable, every other command with kFailed.
struct Failure {
    QString message;
};

QString catalogue(const Invocation& call) {
    if (!call.database.isEmpty())
        return call.database;
    return core::catalogueToRead(core::programDirectory(), core::perUserDataDirectory());
}

std::unique_ptr<db::Database> openCatalogue(const Invocation& call) {
    const QString path = catalogue(call);
    // A read-only open would report a missing file only as "cannot open"; the player gets its name.
    if (!QFileInfo(path).isFile())
        throw Failure{QStringLiteral("Die Kartendatenbank %1 gibt es nicht.").arg(path)};
    try {
        return db::Database::OpenWithPrivateDeck(path);
    } catch (const core::AppError& e) {
        if (e.description().contains(path))
            throw;
        throw Failure{QStringLiteral("Kartendatenbank %1: %2").arg(path, e.description())};
    }
}

// A number as read, fit for a one-line message even when the file is no text at all.
QString shown(const QString& number) {
    QString text = number.left(40);
    for (QChar& c : text)
        if (!c.isPrint())
            c = u'?';
    return u'"' + text + (number.size() > 40 ? QStringLiteral("…\"") : QStringLiteral("\""));
}

QString listOf(const QStringList& numbers) {
    QStringList shownNumbers;
    for (const QString& n : numbers.mid(0, 5))
        shownNumbers << shown(n);
    return shownNumbers.join(QStringLiteral(", ")) +
           (numbers.size() > 5 ? QStringLiteral(" und %1 weitere").arg(numbers.size() - 5) : QString());
}

// Reads a deck file into the private DECK as the program loads one; refuses a file that is no deck
// file or names cards the catalogue does not know.
void loadDeck(db::Database& conn, deck::DeckSession& session, const QString& path) {
    const deckio::DeckFileContent content =
        deckio::parseDeckFile(core::readWholeFile(path, deckio::kMaxDeckFileBytes));
    if (content.lineCount < 1)
        throw Failure{QStringLiteral("Die Deck-Datei %1 ist leer.").arg(path)};
    if (deck::leaderNameForNumber(conn, content.leaderNumber).isEmpty())
        throw Failure{QStringLiteral("%1 ist keine Deck-Datei: Zeile 1 nennt keinen bekannten Anführer (%2).")
                          .arg(path, shown(content.leaderNumber))};
    if (content.lineCount >= 2 && !content.inquisitorNumber.isEmpty() &&
        deck::inquisitorNameForNumber(conn, content.inquisitorNumber).isEmpty())
        throw Failure{QStringLiteral("%1: Zeile 2 nennt keinen bekannten Inquisitor (%2).")
                          .arg(path, shown(content.inquisitorNumber))};
    QStringList unknown;
    try {
        unknown = session.load(content);
    } catch (const core::AppError& e) {
        throw Failure{path + QStringLiteral(": ") + e.description()};
    }
    // The window loads the known cards and names the others; the tool refuses the file.
    if (!unknown.isEmpty())
        throw Failure{QStringLiteral("%1: unbekannte Kartennummer %2.").arg(path, listOf(unknown))};
    // A leader the lists do not offer would be checked against no limits at all.
    if (session.leaderEntry().isEmpty())
        throw Failure{QStringLiteral("%1: der Anführer (%2) steht nicht in der Liste der Anführer.")
                          .arg(path, shown(content.leaderNumber))};
}

// The checks every writer of the program makes first.
void refuseIncomplete(deck::DeckSession& session, const QString& path) {
    if (const auto refusal = session.incomplete())
        throw Failure{path + QStringLiteral(": ") + refusal->text};
}

void print(const QByteArray& bytes) {
    if (!writeStandardOutput(bytes))
        throw Failure{QStringLiteral("Die Standardausgabe kann nicht geschrieben werden.")};
}

// The output must not be one of the files the command reads: it would replace its own input.
void refuseOwnInput(const Invocation& call, const QStringList& alsoRead) {
    QStringList read = alsoRead;
    if (call.command != Command::Query)
        read += call.files;
    read << catalogue(call) << call.cardTableData;
    for (const QString& input : read)
        if (!input.isEmpty() && core::sameFile(call.output, input))
            throw Failure{QStringLiteral("Die Ausgabedatei %1 ist die Eingabedatei %2; es wurde nichts geschrieben.")
                              .arg(call.output, input)};
}

// Into the file whole or not at all, else to standard output.
void deliver(const Invocation& call, const QByteArray& fileBytes, const QByteArray& terminalBytes,
             const QStringList& alsoRead = {}) {
    if (!call.output.isEmpty()) {
        refuseOwnInput(call, alsoRead);
        if (const QString why = core::writeFileAtomically(call.output, fileBytes); !why.isEmpty())
            throw Failure{
                QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2").arg(call.output, why)};
        return;
    }
    print(terminalBytes);
}

int check(const Invocation& call) {
    auto conn = openCatalogue(call);
    deck::DeckSession session(*conn);
    loadDeck(*conn, session, call.files[0]);
    const deck::DeckEvaluation evaluation =
        deck::evaluateDeck(*conn, session.leaderEntry(), session.inquisitorEntry(), session.cardCount(), 0);
    print(evaluationText(evaluation, session.leaderEntry(), session.inquisitorEntry()).toUtf8());
    return keepsLimits(evaluation) ? kOk : kFailed;
}

int list(const Invocation& call) {
    auto conn = openCatalogue(call);
    deck::DeckSession session(*conn);
    loadDeck(*conn, session, call.files[0]);
    refuseIncomplete(session, call.files[0]);
    const QString text = deckio::buildDeckList(*conn, session.leaderEntry(), session.inquisitorEntry());
    deliver(call, call.output.isEmpty() ? QByteArray() : deckio::encodeDeckListFile(text),
            terminalText(text));
    return kOk;
}

int exportCardTable(const Invocation& call) {
    auto conn = openCatalogue(call);
    deck::DeckSession session(*conn);
    loadDeck(*conn, session, call.files[0]);
    refuseIncomplete(session, call.files[0]);
    QString dataPath = call.cardTableData;
    if (dataPath.isEmpty()) {
        const deckio::CardTableLocation location = deckio::storedCardTableLocation();
        if (location.fileName.isEmpty())
            throw Failure{
                QStringLiteral("Die CardTable-Daten sind nicht angegeben worden (--cardtable-data DATEI).")};
        dataPath = location.fullPath();
    }
    if (!QFileInfo(dataPath).isFile())
        throw Failure{QStringLiteral("Die CardTable-Daten %1 gibt es nicht.").arg(dataPath)};
    QByteArray content;
    try {
        content = deckio::buildCardTableDeck(
            *conn, core::readWholeFile(dataPath, deckio::kMaxCardTableDataBytes),
            deck::leaderName(session.leaderEntry()), deck::inquisitorName(session.inquisitorEntry()));
    } catch (const deckio::CardTableLineError& e) {
        throw Failure{
            QStringLiteral("%1: %2 in der Zeile %3").arg(dataPath, e.description(), shown(e.line()))};
    }
    const QByteArray bytes = deckio::encodeCardTableFile(content);
    deliver(call, bytes, bytes, {dataPath});
    return kOk;
}

int importCardTable(const Invocation& call) {
    auto conn = openCatalogue(call);
    const QString& path = call.files[0];
    const QByteArray bytes = core::readWholeFile(path, deckio::kMaxCardTableDeckBytes);

    // Every card line must name a card, a leader or an inquisitor of the catalogue.
    const deck::NumberIndex cards(*conn, QStringLiteral("KARTEN"));
    const deck::NumberIndex leaderNumbers(*conn, QStringLiteral("ANFUEHRER"));
    const deck::NumberIndex inquisitorNumbers(*conn, QStringLiteral("INQUISITOR"));
    core::LineDecoder decode;
    QStringList unknown;
    for (const QByteArray& line : core::splitLines(bytes)) {
        if (!deckio::isCardLine(line, Qt::CaseSensitive) || line.contains('\0'))
            continue;
        QString number;
        try {
            number = deckio::cardTableNumber(decode(line));
        } catch (const core::AppError& e) {
            throw Failure{
                QStringLiteral("%1: %2 in der Zeile %3").arg(path, e.description(), shown(decode(line)))};
        }
        if (!cards.contains(number) && !leaderNumbers.contains(number) && !inquisitorNumbers.contains(number))
            unknown << number;
    }
    if (!unknown.isEmpty())
        throw Failure{QStringLiteral("%1: unbekannte Kartennummer %2.").arg(path, listOf(unknown))};

    deck::DeckSession session(*conn);
    const deckio::CardTableDeck parsed = deckio::parseCardTableDeck(bytes);
    session.loadCardTable(parsed.numbers);
    if (parsed.failure)
        throw *parsed.failure;
    refuseIncomplete(session, path);
    const QByteArray deckFile = deckio::encodeDeckFile(session.content());
    deliver(call, deckFile, deckFile);
    return kOk;
}

int query(const Invocation& call) {
    const QString condition = call.files.value(0).trimmed();
    QString order = call.order.trimmed();
    if (order.isEmpty())
        order = db::kStartOrder;
    else if (!order.startsWith(QStringLiteral("ORDER BY "), Qt::CaseInsensitive))
        order = QStringLiteral("ORDER BY ") + order + u' ';
    else
        order += u' ';
    // The pool's own text, under the guard of a player's condition, read in one pass.
    auto conn = openCatalogue(call);
    PoolOutput output(call.format);
    const QStringList labels = conn->streamRows(
        db::sqlPool() + (condition.isEmpty() ? QString() : filter::filterOfCondition(condition)) + order,
        db::Trust::UserCondition,
        [&output](const QStringList& names, const QVariantList& values) { output.row(names, values); });
    print(output.finish(labels));
    return kOk;
}

// Two deck files side by side; numbers the catalogue does not know are listed, not refused.
int diff(const Invocation& call) {
    const QString path = catalogue(call);
    openCatalogue(call); // says in the tool's words when there is none
    std::vector<deck::DeckNumbers> decks;
    for (const QString& file : call.files) {
        const deckio::DeckFileContent content = deckio::parseDeckFile(core::readWholeFile(file, deckio::kMaxDeckFileBytes));
        if (content.lineCount < 1)
            throw Failure{QStringLiteral("Die Deck-Datei %1 ist leer.").arg(file)};
        decks.push_back({content.leaderNumber, content.inquisitorNumber, content.cardNumbers});
    }
    const deck::DeckComparison comparison = deck::compareDecks(path, decks[0], decks[1]);
    print(comparisonReport(comparison, QFileInfo(call.files[0]).fileName(), QFileInfo(call.files[1]).fileName(), call.format));
    return comparison.equal() ? kOk : kFailed;
}

int odds(const Invocation& call) {
    auto conn = openCatalogue(call);
    deck::DeckSession session(*conn);
    loadDeck(*conn, session, call.files[0]);
    print(oddsReport(deck::oddsTable(deck::handCards(*conn), call.handSize), call.format));
    return kOk;
}

} // namespace

int run(const Invocation& call) {
    const int failureCode = call.command == Command::Check || call.command == Command::Diff ? kUnreadable : kFailed;
    try {
        switch (call.command) {
        case Command::Help:
            return writeStandardOutput(helpText().toUtf8()) ? kOk : kFailed;
        case Command::Version:
            return writeStandardOutput(
                       QByteArrayLiteral("dravenna-deck (Dravenna Deck-Builder) " DRAVENNA_VERSION_TEXT "\n"))
                       ? kOk
                       : kFailed;
        case Command::Check:
            return check(call);
        case Command::List:
            return list(call);
        case Command::Export:
            return exportCardTable(call);
        case Command::Import:
            return importCardTable(call);
        case Command::Query:
            return query(call);
        case Command::Diff:
            return diff(call);
        case Command::Odds:
            return odds(call);
        }
    } catch (const Failure& f) {
        reportError(f.message);
        return failureCode;
    } catch (const core::AppError& e) {
        reportError(e.description());
        return failureCode;
    }
    return kFailed;
}

} // namespace cli
