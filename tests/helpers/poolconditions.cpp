// Pool filters, orders and typed names generated from the dialect's grammar.
#include "tests/helpers/poolconditions.h"

#include <QStringList>
#include <initializer_list>
#include <vector>

namespace testing {

namespace {

enum class Type { Text, Number, YesNo };

struct Column {
    const char* spelling;
    Type type;
};

// Every column of the catalogue, spelled as players and filter files spell them.
const Column kColumns[] = {
    {"NAME", Type::Text},        {"[Name]", Type::Text},           {"KARTEN.NAME", Type::Text},  {"[SET]", Type::Text},
    {"Set", Type::Text},         {"FRAKTION", Type::Text},         {"fraktion", Type::Text},     {"NUMMER", Type::Text},
    {"[Nummer]", Type::Text},    {"KARTENART", Type::Text},        {"STFEUER", Type::Number},    {"[StFeuer]", Type::Number},
    {"STERDE", Type::Number},    {"[StErde]", Type::Number},       {"ABFEUER", Type::YesNo},     {"[AbErde]", Type::YesNo},
    {"SONDER", Type::Text},      {"MONDE", Type::Number},          {"[Monde]", Type::Number},    {"FREI", Type::YesNo},
    {"PAAR", Type::YesNo},       {"GESCHÜTZT", Type::YesNo},       {"[Geschützt]", Type::YesNo}, {"WIEDERAUFNEHMEN", Type::YesNo},
    {"STOP", Type::YesNo},       {"[Ersetzen]", Type::YesNo},      {"GANG", Type::Text},         {"[Gang]", Type::Text},
    {"KUENSTLER", Type::Text},   {"FLAVOR", Type::Text},
};

class Generator {
public:
    explicit Generator(Choices& choices) : m_c(choices) {}

    QString oneOf(std::initializer_list<const char*> texts) {
        const unsigned i = m_c.below(static_cast<unsigned>(texts.size()));
        return QString::fromUtf8(*(texts.begin() + i));
    }

    QString column(Type type) {
        std::vector<const char*> fitting;
        for (const Column& c : kColumns)
            if (c.type == type)
                fitting.push_back(c.spelling);
        return QString::fromUtf8(fitting[m_c.below(static_cast<unsigned>(fitting.size()))]);
    }

    QString textLiteral() {
        const QString value = oneOf({"Orvane", "", "Tag", "Nacht", "ä", "Ä", "Öde", "ss", "ß", "D'Arvens Schwur", "orvane 05",
                                     "Charakter", "Verstärkung", " ", "Z", "a", "[", "O", "5"});
        if (m_c.below(4) == 0)
            return u'"' + QString(value).replace(u'"', QStringLiteral("\"\"")) + u'"';
        return u'\'' + QString(value).replace(u'\'', QStringLiteral("''")) + u'\'';
    }

    QString number() { return oneOf({"0", "1", "2", "3", "5", "-1", "2.5", "10", "TRUE", "FALSE"}); }

    // LIKE patterns from every wildcard, with letters that fold and umlauts.
    QString pattern() {
        QString p;
        const unsigned pieces = m_c.below(5);
        for (unsigned i = 0; i < pieces; ++i)
            p += oneOf({"*", "?", "#", "[a-f]", "[!a-m]", "[äöü]", "a", "E", "ä", "Ö", "ss", "ß", " ", "'", "0", "5", "[*]",
                        "[?]", "[#]", "%", "_", "-", "or", "[", "]"});
        return u'\'' + p.replace(u'\'', QStringLiteral("''")) + u'\'';
    }

    QString value(Type type, int depth) {
        const bool leaf = depth >= 3;
        switch (type) {
        case Type::Text:
            switch (m_c.below(leaf ? 3 : 14)) {
            case 0: return column(Type::Text);
            case 1: return textLiteral();
            case 2: return m_c.below(4) == 0 ? oneOf({"Stärke", "Sonderf", "NULL"}) : column(Type::Text);
            case 3: return u"CSTR("_qs + value(anyType(), depth + 1) + u')';
            case 4: return oneOf({"UCASE(", "LCASE(", "TRIM(", "LTRIM("}) + value(Type::Text, depth + 1) + u')';
            case 5: return u"MID("_qs + value(Type::Text, depth + 1) + u", "_qs + oneOf({"1", "2", "0"}) + u", "_qs + oneOf({"1", "3"}) + u')';
            case 6: return oneOf({"LEFT(", "RIGHT("}) + value(Type::Text, depth + 1) + u", "_qs + oneOf({"1", "2", "0"}) + u')';
            case 7:
            case 8: return value(anyType(), depth + 1) + u" & "_qs + value(anyType(), depth + 1);
            case 9: return u"IIF("_qs + condition(depth + 1) + u", "_qs + value(Type::Text, depth + 1) + u", "_qs + value(Type::Text, depth + 1) + u')';
            case 10: return u"(SELECT MIN(NAME) FROM DECK WHERE DECK.FRAKTION = KARTEN.FRAKTION)"_qs;
            default: return column(Type::Text);
            }
        case Type::Number:
            switch (m_c.below(leaf ? 2 : 10)) {
            case 0: return column(Type::Number);
            case 1: return number();
            case 2: return u"LEN("_qs + value(Type::Text, depth + 1) + u')';
            case 3: return value(Type::Number, depth + 1) + oneOf({" + ", " - ", " * "}) + value(Type::Number, depth + 1);
            case 4: return oneOf({"ABS(", "CINT(", "CLNG("}) + value(Type::Number, depth + 1) + u')';
            case 5: return u"IIF("_qs + condition(depth + 1) + u", "_qs + value(Type::Number, depth + 1) + u", "_qs + value(Type::Number, depth + 1) + u')';
            case 6: return u"ISNULL("_qs + value(anyType(), depth + 1) + u')';
            case 7: return oneOf({"(SELECT COUNT(*) FROM DECK)", "(SELECT MAX(MONDE) FROM DECK WHERE DECK.FRAKTION = KARTEN.FRAKTION)"});
            case 8: return u"INSTR("_qs + value(Type::Text, depth + 1) + u", "_qs + textLiteral() + u')';
            default: return column(Type::Number);
            }
        case Type::YesNo:
            return m_c.below(3) == 0 ? oneOf({"TRUE", "FALSE"}) : column(Type::YesNo);
        }
        return {};
    }

    Type anyType() { return static_cast<Type>(m_c.below(3)); }

    QString condition(int depth) {
        const bool leaf = depth >= 3;
        switch (m_c.below(leaf ? 4 : 16)) {
        case 0: return column(Type::YesNo);
        case 1: return column(Type::YesNo) + oneOf({" = TRUE", " = FALSE", " <> 0"});
        case 2: {
            const Type t = anyType();
            return value(t, depth + 1) + oneOf({" = ", " <> ", " < ", " > ", " <= ", " >= ", " != "}) +
                   value(m_c.below(5) == 0 ? anyType() : t, depth + 1);
        }
        case 3: return value(Type::Text, depth + 1) + oneOf({" LIKE ", " NOT LIKE ", " like "}) + pattern();
        case 4: return value(anyType(), depth + 1) + oneOf({" LIKE ", " LIKE "}) + (m_c.below(2) ? pattern() : value(Type::Text, depth + 1));
        case 5: return value(anyType(), depth + 1) + oneOf({" IS NULL", " IS NOT NULL"});
        case 6: return value(Type::Text, depth + 1) + oneOf({" IN (", " NOT IN ("}) + textLiteral() + u", "_qs + textLiteral() + u')';
        case 7: return value(Type::Number, depth + 1) + oneOf({" IN (", " NOT IN ("}) + number() + u", "_qs + number() + u", NULL)"_qs;
        case 8: return value(Type::Number, depth + 1) + oneOf({" BETWEEN ", " NOT BETWEEN "}) + number() + u" AND "_qs + number();
        case 9: return value(Type::Text, depth + 1) + u" BETWEEN "_qs + textLiteral() + u" AND "_qs + textLiteral();
        case 10: return oneOf({"NAME IN (SELECT NAME FROM DECK)", "NUMMER NOT IN (SELECT NUMMER FROM DECK)",
                               "EXISTS (SELECT * FROM DECK WHERE DECK.NUMMER = KARTEN.NUMMER)",
                               "FRAKTION IN (SELECT FRAKTION FROM DECK WHERE STFEUER > 2)",
                               "[StFeuer] > (SELECT AVG(STFEUER) FROM DECK)"});
        case 11:
        case 12: return condition(depth + 1) + oneOf({" AND ", " OR ", " OR ", " or "}) + condition(depth + 1);
        case 13: return u"NOT "_qs + condition(depth + 1);
        case 14: return u'(' + condition(depth + 1) + u')';
        default: return oneOf({"NOSUCHCOLUMN = 1", "NAME LIKE '[a'", "FREI XOR PAAR", "STFEUER = 'x' AND Sonderf LIKE '*Frei*'"});
        }
    }

    QString orderTerm() {
        QString term;
        switch (m_c.below(10)) {
        case 0: term = u"NAME"_qs; break;
        case 1: term = oneOf({"Stärke", "Sonderf", "Fraktion", "[Name]"}); break;
        case 2: term = oneOf({"1", "2", "3", "4", "5", "8", "9", "0", "10", "-1", "+2", "(1)", "1.5"}); break;
        case 3:
        case 4: term = oneOf({"IIF(STFEUER > 2, 1, 0)", "CSTR(MONDE)", "LEN(NAME)", "STERDE & ''", "UCASE(GANG)", "ISNULL(STERDE)"}); break;
        default: term = column(static_cast<Type>(m_c.below(3))); break;
        }
        return term + oneOf({"", " ASC", " DESC", " asc"});
    }

    QString order() {
        switch (m_c.below(6)) {
        case 0: return {};
        case 1: return oneOf({"ORDER BY FRAKTION, KARTENART, NAME ", "ORDER BY NAME ASC", "ORDER BY STFEUER DESC, NAME DESC",
                              "ORDER BY Fraktion ASC,StFeuer DESC", "ORDER BY Gang ASC,Name DESC", "ORDER BY Nummer DESC"});
        default: {
            QString o = u"ORDER BY "_qs + orderTerm();
            for (unsigned n = m_c.below(3); n > 0; --n)
                o += oneOf({",", ", "}) + orderTerm();
            return o;
        }
        }
    }

private:
    Choices& m_c;
};

} // namespace

PoolSource poolSource(Choices& choices) {
    Generator g(choices);
    PoolSource s;
    switch (choices.below(8)) {
    case 0: break;
    case 1:
        s.where = u"WHERE CSTR("_qs + g.oneOf({"MONDE", "FRAKTION", "KARTENART", "STERDE"}) + u") = '"_qs +
                  g.oneOf({"2", "Orvane", "Charakter", "1", "0", "Verstärkung", "Sivar"}) + u"' "_qs;
        break;
    case 2: s.where = u"WHERE "_qs + g.condition(0) + u' ' + g.order() + u' '; break; // its own order, the sort text empty
    default: s.where = u"WHERE "_qs + g.condition(0) + u' '; break;
    }
    if (!s.where.contains(u"ORDER BY"))
        s.order = g.order();
    if (choices.below(3) == 0)
        s.name = g.oneOf({"e", "E", "ä", "Ä", "ss", "ß", "o'n", "*", "?", "[a-c]", "#", " ", "von", "Ö", "[", "er", "a", "n"});
    return s;
}

} // namespace testing
