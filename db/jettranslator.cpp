// Dialect SQL rewritten as SQLite SQL, and the parts of a plain SELECT.
#include "db/jettranslator.h"

#include "core/errornumbers.h"
#include "db/dberror.h"
#include "db/jettokenizer.h"

#include <QSet>
#include <optional>
#include <QStringList>

namespace db {

namespace {

using core::errors::kSyntaxError;

[[noreturn]] void syntaxError(const QString& detail) {
    throw DbError(kSyntaxError, QStringLiteral("Syntaxfehler in der Abfrage: %1").arg(detail));
}

// Parenthesised groups nest; everything else is a leaf.
struct Node {
    Token token;
    std::vector<Node> children;
    bool isGroup = false;
};

using core::errors::kTooComplex;

std::vector<Node> buildTree(const std::vector<Token>& tokens, size_t& pos, int depth) {
    std::vector<Node> nodes;
    while (pos < tokens.size()) {
        const Token& t = tokens[pos];
        if (t.kind == TokenKind::Symbol && t.text == u"(") {
            // The translator walks the tree recursively, so its depth is bounded here.
            if (depth >= kMaxJetNesting)
                throw DbError(kTooComplex, kTooDeeplyNested);
            ++pos;
            Node group;
            group.isGroup = true;
            group.children = buildTree(tokens, pos, depth + 1);
            nodes.push_back(std::move(group));
        } else if (t.kind == TokenKind::Symbol && t.text == u")") {
            if (depth == 0)
                syntaxError(QStringLiteral("')' ohne '('"));
            ++pos;
            return nodes;
        } else {
            nodes.push_back({t, {}, false});
            ++pos;
        }
    }
    if (depth > 0)
        syntaxError(QStringLiteral("'(' ohne ')'"));
    return nodes;
}

// One output fragment. Delimiters bind weaker than '&' and end its operands.
enum class PieceKind { Operand, Delimiter, Ampersand, Dot };

struct Piece {
    PieceKind kind;
    QString text;
    QString columnLabel; // original spelling when the piece is a plain column name
};

const QSet<QString>& keywords() {
    static const QSet<QString> words = {
        u"SELECT"_qs, u"FROM"_qs,   u"WHERE"_qs,   u"AND"_qs,     u"OR"_qs,       u"NOT"_qs,    u"XOR"_qs,
        u"ORDER"_qs,  u"BY"_qs,     u"ASC"_qs,     u"DESC"_qs,    u"GROUP"_qs,    u"HAVING"_qs, u"AS"_qs,
        u"DISTINCT"_qs, u"INSERT"_qs, u"INTO"_qs,  u"DELETE"_qs,  u"VALUES"_qs,   u"IS"_qs,     u"IN"_qs,
        u"BETWEEN"_qs, u"LIKE"_qs,  u"ON"_qs,      u"JOIN"_qs,    u"INNER"_qs,    u"OUTER"_qs,  u"LEFT"_qs,
        u"RIGHT"_qs,  u"UNION"_qs,  u"ALL"_qs,     u"EXISTS"_qs,  u"UPDATE"_qs,   u"CREATE"_qs, u"DROP"_qs,
        u"ALTER"_qs,  u"TABLE"_qs,  u"ATTACH"_qs,  u"DETACH"_qs,  u"PRAGMA"_qs,   u"VACUUM"_qs, u"REPLACE"_qs,
        u"INDEX"_qs,  u"VIEW"_qs,   u"TRIGGER"_qs, u"DATABASE"_qs, u"LIMIT"_qs,   u"ESCAPE"_qs, u"CASE"_qs,
        u"WHEN"_qs,   u"THEN"_qs,   u"ELSE"_qs,    u"END"_qs,     u"BEGIN"_qs,    u"COMMIT"_qs, u"ROLLBACK"_qs,
    };
    return words;
}

// Jet function name -> SQLite function name; ISNULL and CINT/CLNG are rewritten separately.
const QHash<QString, QString>& functions() {
    static const QHash<QString, QString> map = {
        {u"IIF"_qs, u"iif"_qs},     {u"CSTR"_qs, u"jet_cstr"_qs}, {u"SUM"_qs, u"sum"_qs},
        {u"COUNT"_qs, u"count"_qs}, {u"AVG"_qs, u"avg"_qs},       {u"ABS"_qs, u"abs"_qs},
        {u"MIN"_qs, u"min"_qs},     {u"MAX"_qs, u"max"_qs},       {u"UCASE"_qs, u"upper"_qs},
        {u"LCASE"_qs, u"lower"_qs}, {u"LEN"_qs, u"length"_qs},    {u"MID"_qs, u"substr"_qs},
        {u"TRIM"_qs, u"trim"_qs},   {u"LTRIM"_qs, u"ltrim"_qs},   {u"RTRIM"_qs, u"rtrim"_qs},
        {u"INSTR"_qs, u"instr"_qs}, {u"LEFT"_qs, u"jet_left"_qs}, {u"RIGHT"_qs, u"jet_right"_qs},
        {u"ROUND"_qs, u"round"_qs},
    };
    return map;
}

QStringList jetFunctionNames() {
    QStringList names = functions().keys();
    names << u"ISNULL"_qs << u"CINT"_qs << u"CLNG"_qs;
    names.sort();
    return names;
}

QString quoteIdentifier(const QString& name) {
    QString escaped = name;
    escaped.replace(u'"', u"\"\""_qs);
    return u'"' + escaped + u'"';
}

QString quoteLiteral(const QString& value) {
    QString escaped = value;
    escaped.replace(u'\'', u"''"_qs);
    return u'\'' + escaped + u"' COLLATE "_qs + QLatin1String(kJetCollation);
}

QString joinPieces(const std::vector<Piece>& pieces, size_t from, size_t to) {
    QString out;
    for (size_t i = from; i < to; ++i) {
        const bool glue = i == from || pieces[i].kind == PieceKind::Dot || pieces[i - 1].kind == PieceKind::Dot;
        if (!glue)
            out += u' ';
        out += pieces[i].text;
    }
    return out;
}

class Translator {
public:
    explicit Translator(const Schema& schema) : m_schema(schema) {}

    QString level(const std::vector<Node>& nodes) {
        std::vector<Piece> pieces = translatePieces(nodes);
        addSelectLabels(pieces);
        return joinAmpersands(pieces, 0, pieces.size());
    }

    Translation statement(const std::vector<Node>& nodes) {
        std::vector<Piece> pieces = translatePieces(nodes);
        addSelectLabels(pieces);
        Translation t{joinAmpersands(pieces, 0, pieces.size()), {}, {}};
        t.unordered = t.sql;
        if (const auto parts = plainSelectParts(pieces)) {
            const QString rowid = pieces[parts->from + 1].text + u".rowid"_qs;
            t.sql += (parts->order ? u", "_qs : u" ORDER BY "_qs) + rowid;
            t.plain = plainSelect(pieces, *parts);
            if (t.plain)
                t.plain->orderTerms << rowid;
        }
        return t;
    }

private:
    const Schema& m_schema;
    // An aggregate was called in the query being translated, outside any sub-select of it.
    bool m_aggregate = false;

    // Where the clauses of "SELECT <items> FROM <table> [WHERE …] [ORDER BY …]" begin.
    struct SelectParts {
        size_t from;
        std::optional<size_t> where; // the WHERE piece
        std::optional<size_t> order; // the ORDER piece; BY follows it
    };

    // The clauses of a SELECT with no DISTINCT, aggregate, grouping, compound, limit, join or second
    // statement at this level; nothing otherwise.
    std::optional<SelectParts> plainSelectParts(const std::vector<Piece>& pieces) const {
        static const QSet<QString> conditionWords = {u"AND"_qs, u"OR"_qs, u"NOT"_qs, u"IS"_qs, u"IN"_qs, u"BETWEEN"_qs,
                                                     u"LIKE"_qs, u"EXISTS"_qs, u"CASE"_qs, u"WHEN"_qs, u"THEN"_qs,
                                                     u"ELSE"_qs, u"END"_qs, u"="_qs, u"<>"_qs, u"<"_qs, u">"_qs,
                                                     u"<="_qs, u">="_qs, u"ASC"_qs, u"DESC"_qs};
        if (m_aggregate || pieces.size() < 4 || pieces[0].kind != PieceKind::Delimiter || pieces[0].text != u"SELECT" ||
            pieces[1].text == u"DISTINCT" || pieces[1].text == u"ALL")
            return std::nullopt;
        SelectParts parts{1, {}, {}};
        while (parts.from < pieces.size() && !(pieces[parts.from].kind == PieceKind::Delimiter && pieces[parts.from].text == u"FROM"))
            ++parts.from;
        const size_t rest = parts.from + 2;
        if (rest > pieces.size() || pieces[parts.from + 1].kind != PieceKind::Operand || pieces[parts.from + 1].columnLabel.isEmpty() ||
            (rest < pieces.size() && pieces[rest].text != u"WHERE" && pieces[rest].text != u"ORDER"))
            return std::nullopt;
        for (size_t i = rest; i < pieces.size(); ++i) {
            const Piece& p = pieces[i];
            if (p.kind != PieceKind::Delimiter)
                continue;
            if (p.text == u"WHERE" && i == rest) {
                parts.where = i;
            } else if (p.text == u"ORDER" && !parts.order && i + 1 < pieces.size() && pieces[i + 1].text == u"BY") {
                parts.order = i++;
            } else if (!(conditionWords.contains(p.text) || (p.text == u"," && parts.order))) {
                return std::nullopt;
            }
        }
        return parts;
    }

    // The parts as text; nothing where an order term is missing (the engine then refuses the whole).
    static std::optional<PlainSelect> plainSelect(const std::vector<Piece>& pieces, const SelectParts& parts) {
        PlainSelect select;
        select.table = pieces[parts.from + 1].text;
        select.items = joinAmpersands(pieces, 1, parts.from);
        const size_t end = parts.order.value_or(pieces.size());
        if (parts.where)
            select.condition = joinAmpersands(pieces, *parts.where + 1, end);
        if (parts.order) {
            size_t term = *parts.order + 2;
            for (size_t i = term; i <= pieces.size(); ++i) {
                if (i < pieces.size() && !(pieces[i].kind == PieceKind::Delimiter && pieces[i].text == u","))
                    continue;
                if (i == term)
                    return std::nullopt;
                select.orderTerms << joinAmpersands(pieces, term, i);
                term = i + 1;
            }
        }
        return select;
    }

    Piece name(const QString& original) const {
        if (const auto canonical = m_schema.resolve(original))
            return {PieceKind::Operand, quoteIdentifier(*canonical), original};
        return {PieceKind::Operand, quoteIdentifier(original), QString()};
    }

    Piece function(const QString& upper, const QString& original, const Node& group) {
        static const QSet<QString> aggregates = {u"SUM"_qs, u"COUNT"_qs, u"AVG"_qs, u"MIN"_qs, u"MAX"_qs};
        m_aggregate = m_aggregate || aggregates.contains(upper);
        const QString args = level(group.children);
        if (upper == u"ISNULL")
            return {PieceKind::Operand, u"(-(("_qs + args + u") IS NULL))"_qs, {}};
        if (upper == u"CINT" || upper == u"CLNG")
            return {PieceKind::Operand, u"CAST(("_qs + args + u") AS INTEGER)"_qs, {}};
        const auto it = functions().constFind(upper);
        if (it == functions().constEnd())
            throw DbError(core::errors::kUndefinedFunction, QStringLiteral("Undefinierte Funktion '%1' in Ausdruck. Erlaubt sind nur die Funktionen "
                                               "des Access-SQL: %2.")
                                    .arg(original, jetFunctionNames().join(QStringLiteral(", "))));
        return {PieceKind::Operand, it.value() + u'(' + args + u')', {}};
    }

    std::vector<Piece> translatePieces(const std::vector<Node>& nodes) {
        std::vector<Piece> pieces;
        for (size_t i = 0; i < nodes.size(); ++i) {
            const Node& node = nodes[i];
            if (node.isGroup) {
                // A sub-select's aggregates are its own.
                const bool outer = m_aggregate;
                const bool subSelect = !node.children.empty() && !node.children.front().isGroup &&
                                       node.children.front().token.kind == TokenKind::Word &&
                                       node.children.front().token.text.compare(u"SELECT", Qt::CaseInsensitive) == 0;
                pieces.push_back({PieceKind::Operand, u'(' + level(node.children) + u')', {}});
                if (subSelect)
                    m_aggregate = outer;
                continue;
            }
            const Token& t = node.token;
            switch (t.kind) {
            case TokenKind::String:
                pieces.push_back({PieceKind::Operand, quoteLiteral(t.text), {}});
                break;
            case TokenKind::Number:
                pieces.push_back({PieceKind::Operand, t.text, {}});
                break;
            case TokenKind::Bracketed:
                // "[name](" calls a function like the bare word would, and only the dialect's own.
                if (i + 1 < nodes.size() && nodes[i + 1].isGroup && !m_schema.resolve(t.text)) {
                    pieces.push_back(function(t.text.toUpper(), t.text, nodes[i + 1]));
                    ++i;
                } else {
                    pieces.push_back(name(t.text));
                }
                break;
            case TokenKind::Word: {
                const QString upper = t.text.toUpper();
                // A table name before "(" is a column list, not a call.
                const bool call = i + 1 < nodes.size() && nodes[i + 1].isGroup && !m_schema.resolve(t.text);
                const bool afterAs = !pieces.empty() && pieces.back().kind == PieceKind::Delimiter &&
                                     pieces.back().text == u"AS";
                // "SET" names the column everywhere except as the keyword of "UPDATE <table> SET".
                const bool updateSet = upper == u"SET" && pieces.size() >= 2 &&
                                       pieces[pieces.size() - 2].kind == PieceKind::Delimiter &&
                                       pieces[pieces.size() - 2].text == u"UPDATE";
                if (afterAs) {
                    pieces.push_back({PieceKind::Operand, quoteIdentifier(t.text), {}});
                } else if (updateSet) {
                    pieces.push_back({PieceKind::Delimiter, upper, {}});
                } else if (call && (!keywords().contains(upper) || upper == u"LEFT" || upper == u"RIGHT")) {
                    pieces.push_back(function(upper, t.text, nodes[i + 1]));
                    ++i;
                } else if (upper == u"TRUE") {
                    pieces.push_back({PieceKind::Operand, u"-1"_qs, {}});
                } else if (upper == u"FALSE") {
                    pieces.push_back({PieceKind::Operand, u"0"_qs, {}});
                } else if (upper == u"NULL") {
                    pieces.push_back({PieceKind::Operand, upper, {}});
                } else if (keywords().contains(upper)) {
                    pieces.push_back({PieceKind::Delimiter, upper, {}});
                    // Jet's "DELETE * FROM" names no columns; SQLite knows only "DELETE FROM".
                    if (upper == u"DELETE" && i + 1 < nodes.size() && !nodes[i + 1].isGroup &&
                        nodes[i + 1].token.kind == TokenKind::Symbol && nodes[i + 1].token.text == u"*")
                        ++i;
                } else {
                    pieces.push_back(name(t.text));
                }
                break;
            }
            case TokenKind::Symbol:
                pieces.push_back(symbol(t.text));
                break;
            }
        }
        return pieces;
    }

    static Piece symbol(const QString& s) {
        if (s == u"&")
            return {PieceKind::Ampersand, s, {}};
        if (s == u".")
            return {PieceKind::Dot, s, {}};
        if (s == u"," || s == u"=" || s == u"<>" || s == u"<" || s == u">" || s == u"<=" || s == u">=" ||
            s == u";")
            return {PieceKind::Delimiter, s, {}};
        if (s == u"!=")
            return {PieceKind::Delimiter, u"<>"_qs, {}};
        if (s == u"*" || s == u"+" || s == u"-" || s == u"/")
            return {PieceKind::Operand, s, {}};
        syntaxError(QStringLiteral("unerwartetes Zeichen '%1'").arg(s));
    }

    // A select item that is a bare column keeps the spelling it was asked by as its label, as Jet does.
    static void addSelectLabels(std::vector<Piece>& pieces) {
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (pieces[i].kind != PieceKind::Delimiter || pieces[i].text != u"SELECT")
                continue;
            size_t start = i + 1;
            if (start < pieces.size() && pieces[start].text == u"DISTINCT")
                ++start;
            size_t itemStart = start;
            for (size_t j = start; j <= pieces.size(); ++j) {
                const bool end = j == pieces.size() ||
                                 (pieces[j].kind == PieceKind::Delimiter &&
                                  (pieces[j].text == u"FROM" || pieces[j].text == u","));
                if (!end)
                    continue;
                const size_t len = j - itemStart;
                const Piece* column = nullptr;
                if (len == 1)
                    column = &pieces[itemStart];
                else if (len == 3 && pieces[itemStart + 1].kind == PieceKind::Dot)
                    column = &pieces[itemStart + 2];
                if (column && !column->columnLabel.isEmpty()) {
                    const QString label = column->columnLabel;
                    pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j),
                                  {{PieceKind::Delimiter, u"AS"_qs, {}},
                                   {PieceKind::Operand, quoteIdentifier(label), {}}});
                    j += 2;
                }
                if (j == pieces.size() || pieces[j].text == u"FROM") {
                    i = j;
                    break;
                }
                itemStart = j + 1;
            }
        }
    }

    // Jet's '&' joins as text and reads NULL as the empty text; SQLite's '||' would give NULL.
    static QString joinAmpersands(const std::vector<Piece>& pieces, size_t begin, size_t end) {
        QStringList out;
        size_t runStart = begin;
        auto flush = [&](size_t runEnd) {
            if (runEnd == runStart)
                return;
            std::vector<size_t> amps;
            for (size_t k = runStart; k < runEnd; ++k)
                if (pieces[k].kind == PieceKind::Ampersand)
                    amps.push_back(k);
            if (amps.empty()) {
                out << joinPieces(pieces, runStart, runEnd);
                return;
            }
            QStringList operands;
            size_t from = runStart;
            amps.push_back(runEnd);
            for (size_t amp : amps) {
                if (amp == from)
                    syntaxError(QStringLiteral("'&' ohne Operand"));
                operands << u"COALESCE("_qs + joinPieces(pieces, from, amp) + u",'')"_qs;
                from = amp + 1;
            }
            out << u'(' + operands.join(u" || "_qs) + u')';
        };
        for (size_t k = begin; k < end; ++k) {
            if (pieces[k].kind == PieceKind::Delimiter) {
                flush(k);
                out << pieces[k].text;
                runStart = k + 1;
            }
        }
        flush(end);
        return out.join(u' ');
    }
};

} // namespace

bool isEngineFunctionOfTheDialect(const QString& sqliteName) {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const QString& name : functions())
            set.insert(name);
        set << u"coalesce"_qs << u"like"_qs; // '&' and LIKE translate to these
        return set;
    }();
    return names.contains(sqliteName.toLower());
}

Translation translateJetQuery(const QString& jetSql, const Schema& schema) {
    if (jetSql.size() > kMaxJetSqlLength)
        throw DbError(kTooComplex, QStringLiteral("Die Abfrage ist zu lang: %1 Zeichen, erlaubt sind höchstens %2.")
                                       .arg(jetSql.size())
                                       .arg(kMaxJetSqlLength));
    // The engine would end the statement at the NUL and report the rest as an unknown token.
    if (jetSql.contains(QChar(u'\0')))
        throw DbError(kSyntaxError, QStringLiteral("Syntaxfehler in der Abfrage: sie enthält ein NUL-Zeichen."));
    const std::vector<Token> tokens = tokenizeJet(jetSql);
    size_t pos = 0;
    const std::vector<Node> tree = buildTree(tokens, pos, 0);
    return Translator(schema).statement(tree);
}

} // namespace db
