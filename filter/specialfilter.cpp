// The columns a hand-written condition may use, and trying one on the catalogue.
#include "filter/specialfilter.h"

#include "db/database.h"

namespace filter {

namespace {
struct Field {
    const char* name;
    const char* type;
};
constexpr Field kFields[] = {
    {"[Name]", "Text"},          {"[Set]", "Text"},         {"[Fraktion]", "Text"},       {"[Nummer]", "Text"},
    {"[Kartenart]", "Text"},     {"[StFeuer]", "Zahl"},     {"[StErde]", "Zahl"},         {"[AbFeuer]", "True/False"},
    {"[AbErde]", "True/False"},  {"[Sonder]", "Text"},      {"[Monde]", "Zahl"},          {"[Frei]", "True/False"},
    {"[Paar]", "True/False"},    {"[Geschützt]", "True/False"}, {"[WiederAufnehmen]", "True/False"},
    {"[Stop]", "True/False"},    {"[Gang]", "Text"},        {"[Kuenstler]", "Text"},      {"[Flavor]", "Text"},
};

template <typename Pick>
QString lines(Pick pick) {
    QString out;
    for (const Field& f : kFields)
        out += QString::fromUtf8(pick(f)) + QStringLiteral("\r\n");
    return out;
}
} // namespace

QString specialFilterFields() {
    return lines([](const Field& f) { return f.name; });
}

QString specialFilterTypes() {
    return lines([](const Field& f) { return f.type; });
}

void testCondition(db::Database& conn, const QString& condition) {
    auto rs = conn.OpenRecordset(QStringLiteral("SELECT * ") + QStringLiteral("FROM   KARTEN ") + QStringLiteral("WHERE ") +
                                     condition,
                                 db::Trust::UserCondition);
    rs.Close();
}

QString filterOfCondition(const QString& condition) { return QStringLiteral("WHERE ") + condition + QStringLiteral(" "); }

} // namespace filter
