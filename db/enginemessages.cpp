// The engine's English error texts as German messages.
#include "db/enginemessages.h"

#include <QRegularExpression>
#include <array>

namespace db {

namespace {

struct Rule {
    QRegularExpression english;
    QString german; // %1, %2 … are the captured parts
};

const std::array<Rule, 28>& rules() {
    static const std::array<Rule, 28> table{{
        {QRegularExpression(QStringLiteral("^no such column: (.*)$")), QStringLiteral("Unbekannter Feldname: %1")},
        {QRegularExpression(QStringLiteral("^no such table: (.*)$")), QStringLiteral("Unbekannte Tabelle: %1")},
        {QRegularExpression(QStringLiteral("^no such function: (.*)$")), QStringLiteral("Unbekannte Funktion: %1")},
        {QRegularExpression(QStringLiteral("^ambiguous column name: (.*)$")), QStringLiteral("Mehrdeutiger Feldname: %1")},
        {QRegularExpression(QStringLiteral("^near \"(.*)\": syntax error$"), QRegularExpression::DotMatchesEverythingOption),
         QStringLiteral("Syntaxfehler bei \"%1\".")},
        {QRegularExpression(QStringLiteral("^unrecognized token: \"(.*)\"$"), QRegularExpression::DotMatchesEverythingOption),
         QStringLiteral("Unbekanntes Zeichen in der Abfrage: \"%1\".")},
        {QRegularExpression(QStringLiteral("^incomplete input$")), QStringLiteral("Die Abfrage ist unvollständig.")},
        {QRegularExpression(QStringLiteral("^wrong number of arguments to function (.*)$")),
         QStringLiteral("Falsche Anzahl von Argumenten für die Funktion %1.")},
        {QRegularExpression(QStringLiteral("^misuse of aggregate(?: function)?:? (.*)$")),
         QStringLiteral("Falsche Verwendung der Aggregatfunktion %1.")},
        {QRegularExpression(QStringLiteral("^misuse of window function (.*)$")),
         QStringLiteral("Falsche Verwendung der Fensterfunktion %1.")},
        {QRegularExpression(QStringLiteral("^sub-select returns (\\d+) columns - expected (\\d+)$")),
         QStringLiteral("Die Unterabfrage liefert %1 Spalten, erwartet wird %2.")},
        {QRegularExpression(QStringLiteral("^row value misused$")), QStringLiteral("Ein Zeilenwert ist hier nicht erlaubt.")},
        {QRegularExpression(QStringLiteral("^Expression tree is too large \\(maximum depth (\\d+)\\)$")),
         QStringLiteral("Der Ausdruck ist zu tief verschachtelt (höchstens %1 Ebenen).")},
        {QRegularExpression(QStringLiteral("^parser stack overflow$")), QStringLiteral("Die Abfrage ist zu tief verschachtelt.")},
        {QRegularExpression(QStringLiteral("^too many terms in compound SELECT$")),
         QStringLiteral("Zu viele Teile in einer zusammengesetzten Abfrage.")},
        {QRegularExpression(QStringLiteral("^SELECTs to the left and right of (.*) do not have the same number of result columns$")),
         QStringLiteral("Die Abfragen links und rechts von %1 liefern nicht gleich viele Spalten.")},
        {QRegularExpression(QStringLiteral("^(?:a )?GROUP BY clause is required before HAVING$")),
         QStringLiteral("HAVING verlangt ein vorangehendes GROUP BY.")},
        {QRegularExpression(QStringLiteral("^(\\d+)(?:st|nd|rd|th) ORDER BY term (?:does not match any column in the result set|out of range.*)$")),
         QStringLiteral("Der %1. Sortierbegriff passt zu keiner Spalte des Ergebnisses.")},
        {QRegularExpression(QStringLiteral("^not authorized$")),
         QStringLiteral("Nicht erlaubt: Eine Bedingung darf die Datenbank nur lesen.")},
        {QRegularExpression(QStringLiteral("^attempt to write a readonly database$")),
         QStringLiteral("Die Kartendatenbank ist schreibgeschützt; es kann nichts geändert werden.")},
        {QRegularExpression(QStringLiteral("^database is locked$")),
         QStringLiteral("Die Kartendatenbank wird gerade von einem anderen Programm benutzt.")},
        {QRegularExpression(QStringLiteral("^database or disk is full$")),
         QStringLiteral("Die Kartendatenbank oder der Datenträger ist voll.")},
        {QRegularExpression(QStringLiteral("^disk I/O error$")),
         QStringLiteral("Lese- oder Schreibfehler beim Zugriff auf die Kartendatenbank.")},
        {QRegularExpression(QStringLiteral("^file is not a database$")), QStringLiteral("Die Datei ist keine Datenbank.")},
        {QRegularExpression(QStringLiteral("^unable to open database file$")),
         QStringLiteral("Die Datenbankdatei kann nicht geöffnet werden.")},
        {QRegularExpression(QStringLiteral("^interrupted$")), QStringLiteral("Die Abfrage wurde abgebrochen.")},
        {QRegularExpression(QStringLiteral("^out of memory$")), QStringLiteral("Nicht genügend Arbeitsspeicher.")},
        {QRegularExpression(QStringLiteral("^(?:string or blob too big|integer overflow)$")),
         QStringLiteral("Ein Wert ist zu groß.")},
    }};
    return table;
}

} // namespace

QString germanEngineMessage(const QString& english) {
    for (const Rule& rule : rules()) {
        const QRegularExpressionMatch match = rule.english.match(english);
        if (!match.hasMatch())
            continue;
        // All parts at once: a captured "%2" in a name must stay text.
        switch (match.lastCapturedIndex()) {
        case 0:
            return rule.german;
        case 1:
            return rule.german.arg(match.captured(1));
        default:
            return rule.german.arg(match.captured(1), match.captured(2));
        }
    }
    return QStringLiteral("Fehler der Datenbank: ") + english;
}

} // namespace db
