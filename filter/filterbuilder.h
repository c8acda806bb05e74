#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace filter {

// What the player set in the filter dialog; empty texts and unticked boxes set no condition.
struct FilterChoices {
    QString kartenArt;
    QString fraktion;
    QString stFeuer;
    QString stErde;
    QString monde;
    QString name;
    QString fertigkeiten;
    QString gang;
    bool frei = false;
    bool paar = false;
    bool geschuetzt = false;
    bool wiederAufnehmen = false;
    bool stopp = false;
    bool ersetzen = false;
    bool abgewehrtFeuer = false;
    bool abgewehrtErde = false;
};

// The filter text for the choices: "WHERE …" with every condition joined by AND, or empty.
QString funcBuildFilter(const FilterChoices& choices);

// The entries of a filter list for a KARTEN column: the empty entry, then each distinct non-empty
// value as text in query order.
QStringList funcFillList(db::Database& conn, const QString& column);

} // namespace filter
