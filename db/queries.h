#pragma once

#include <QString>

namespace db {

// The head of the pool query: six lines, each followed by one blank, joined without line breaks.
inline QString poolQueryHead(const QString& table = QStringLiteral("KARTEN")) {
    return QStringLiteral("SELECT Fraktion, Name, Kartenart, ") +
           QStringLiteral("       IIF(ISNULL(StFeuer) AND ISNULL(StErde),\"\",IIF(AbFeuer,\"[\",\"\") & StFeuer & "
                          "IIF(AbFeuer,\"]\",\"\") & \"\\\" & IIF(AbErde,\"[\",\"\") & StErde & "
                          "IIF(AbErde,\"]\",\"\")) AS Stärke, ") +
           QStringLiteral("       Monde, ") +
           QStringLiteral("       IIF(FREI,\"Frei \",\"\") & IIF(PAAR,\"Paar \",\"\") & IIF(GESCHÜTZT,\"Gesch. \",\"\") & "
                          "IIF(WIEDERAUFNEHMEN,\"Aufn. \",\"\") & IIF(STOP,\"Stop \",\"\") & "
                          "IIF(ERSETZEN,\"Ersetzen \",\"\") AS Sonderf, ") +
           QStringLiteral("       Gang, Nummer, Set ") + QStringLiteral("FROM   ") + table + u' ';
}

inline QString sqlPool() { return poolQueryHead(QStringLiteral("KARTEN")); }
inline QString sqlDeck() { return poolQueryHead(QStringLiteral("DECK")); }

inline const QString kStartOrder = QStringLiteral("ORDER BY FRAKTION, KARTENART, NAME ");

// Doubles every single quote so that a value can stand inside a '…' literal.
inline QString quoted(QString value) { return value.replace(u'\'', QStringLiteral("''")); }

} // namespace db
