// The filter dialog's choices as a condition.
#include "filter/filterbuilder.h"

#include "db/database.h"
#include "db/queries.h"

namespace filter {

namespace {

void addText(QString& out, const QString& before, const QString& value, const QString& after) {
    if (!value.isEmpty())
        out += before + value + after;
}

void addTick(QString& out, bool ticked, const char* piece) {
    if (ticked)
        out += QString::fromUtf8(piece);
}

} // namespace

QString funcBuildFilter(const FilterChoices& c) {
    QString out = QStringLiteral("WHERE");
    // The list values come from the catalogue; doubling apostrophes keeps such a value a valid literal.
    addText(out, QStringLiteral(" AND KARTENART = '"), db::quoted(c.kartenArt), QStringLiteral("' "));
    addText(out, QStringLiteral(" AND FRAKTION = '"), db::quoted(c.fraktion), QStringLiteral("' "));
    addText(out, QStringLiteral(" AND STFEUER = "), c.stFeuer, QStringLiteral(" "));
    addText(out, QStringLiteral(" AND STERDE = "), c.stErde, QStringLiteral(" "));
    addText(out, QStringLiteral(" AND MONDE = "), c.monde, QStringLiteral(" "));
    addText(out, QStringLiteral(" AND NAME LIKE '*"), db::quoted(c.name), QStringLiteral("*' "));
    addText(out, QStringLiteral(" AND SONDER LIKE '*"), db::quoted(c.fertigkeiten), QStringLiteral("*' "));
    addText(out, QStringLiteral(" AND GANG = '"), db::quoted(c.gang), QStringLiteral("' "));
    addTick(out, c.frei, " AND FREI = TRUE ");
    addTick(out, c.paar, " AND PAAR = TRUE ");
    addTick(out, c.geschuetzt, " AND GESCHÜTZT = TRUE ");
    addTick(out, c.wiederAufnehmen, " AND WIEDERAUFNEHMEN = TRUE ");
    addTick(out, c.stopp, " AND STOP = TRUE ");
    addTick(out, c.ersetzen, " AND ERSETZEN = TRUE ");
    addTick(out, c.abgewehrtFeuer, " AND ABFEUER = TRUE ");
    addTick(out, c.abgewehrtErde, " AND ABERDE = TRUE ");
    out.replace(QStringLiteral("WHERE AND"), QStringLiteral("WHERE"));
    return out == u"WHERE" ? QString() : out;
}

QStringList funcFillList(db::Database& conn, const QString& column) {
    QStringList entries{QString()};
    auto rs = conn.OpenRecordset(QStringLiteral("SELECT DISTINCT ") + column + QStringLiteral(" ") +
                                 QStringLiteral("FROM   KARTEN ") + QStringLiteral("ORDER BY ") + column + QStringLiteral(" "));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QVariant value = rs.Fields(0);
        if (value.isNull())
            continue;
        const QString text = value.toString();
        if (!text.isEmpty() && !entries.contains(text, Qt::CaseSensitive))
            entries << text;
    }
    return entries;
}

} // namespace filter
