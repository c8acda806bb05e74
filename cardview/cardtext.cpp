// A card as text, its picture's reference and the query that reads it.
#include "cardview/cardtext.h"

#include "db/database.h"
#include "db/queries.h"

namespace cardview {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

bool yes(const QVariant& v) { return !v.isNull() && v.toLongLong() != 0; }
} // namespace

QString symbolText(const CardFields& card) {
    QString s;
    static const std::pair<const char*, const char*> symbols[] = {
        {"FREI", "Frei, "},   {"PAAR", "Paar, "},   {"GESCHÜTZT", "Geschützt, "}, {"WIEDERAUFNEHMEN", "Wieder Aufnehmen, "},
        {"STOP", "Stopp, "}, {"ERSETZEN", "Ersetzen, "}};
    for (const auto& [column, piece] : symbols)
        if (yes(card(column)))
            s += QString::fromUtf8(piece);
    const QVariant gang = card("GANG");
    if (!gang.isNull() && gang.toString() != u"-")
        s += QStringLiteral("Gang: ") + gang.toString() + QStringLiteral(", ");
    if (!s.isEmpty())
        s.chop(2);
    return s;
}

QString cardText(const CardFields& card) {
    auto text = [&card](const char* column) { return db::cellText(card(column)); };
    QString t;
    t += text("KARTENART").toUpper() + kCrLf;
    t += text("NAME") + kCrLf;
    t += QStringLiteral("Feuer: ") + text("STFEUER") + (yes(card("ABFEUER")) ? QStringLiteral(" (Abgewehrt)") : QString()) + kCrLf;
    t += QStringLiteral("Erde : ") + text("STERDE") + (yes(card("ABERDE")) ? QStringLiteral(" (Abgewehrt)") : QString()) + kCrLf +
         kCrLf;
    if (const QString symbols = symbolText(card); !symbols.isEmpty())
        t += QStringLiteral("Symbole: ") + symbols + kCrLf + kCrLf;
    if (const QString special = text("SONDER"); !special.isEmpty())
        t += QStringLiteral("Sonderfunktion: ") + special + kCrLf + kCrLf;
    t += QStringLiteral("Monde: ") + text("MONDE") + kCrLf;
    t += u'(' + text("NUMMER") + u')';
    return t;
}

PictureRef pictureRef(const QString& number) {
    const qsizetype blank = number.indexOf(u' ');
    if (blank < 0)
        return {number, QString()};
    return {number.left(blank), number.mid(blank + 1)};
}

QString cardQuery(const QString& sKartenname, const QString& sTable) {
    const QString table = sTable.isEmpty() ? QStringLiteral("KARTEN") : sTable;
    return QStringLiteral("SELECT * FROM ") + table + u' ' + QStringLiteral("WHERE NAME = '") + db::quoted(sKartenname) +
           QStringLiteral("' ");
}

} // namespace cardview
