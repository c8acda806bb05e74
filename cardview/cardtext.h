#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace cardview {

// One card row's fields by column name (NULL as an invalid QVariant).
using CardFields = std::function<QVariant(const char* column)>;

// "Frei, Paar, …, Gang: x" from the yes/no columns and GANG; empty when none applies.
QString symbolText(const CardFields& card);

// The card's text summary, lines joined by CR LF, no line break at the end.
QString cardText(const CardFields& card);

// Picture group and id of a card number: the text before the first blank and everything after it.
struct PictureRef {
    QString group;
    QString id;
};
PictureRef pictureRef(const QString& number);

// The lookup query for a card by name in a table ("KARTEN" when empty).
QString cardQuery(const QString& sKartenname, const QString& sTable);

} // namespace cardview
