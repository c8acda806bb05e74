#include "db/rowsource.h"

#include <QList>

namespace db {

namespace {

struct Piece {
    enum Kind { Word, Name, Literal, Symbol } kind;
    qsizetype begin;
    qsizetype end;
    int depth; // parentheses around the piece
};

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

// SQLite text in pieces; nothing on a comment or an unterminated literal.
std::optional<QList<Piece>> pieces(const QString& sql) {
    QList<Piece> out;
    int depth = 0;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if ((c == u'-' && i + 1 < n && sql[i + 1] == u'-') || (c == u'/' && i + 1 < n && sql[i + 1] == u'*'))
            return std::nullopt;
        const qsizetype begin = i;
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar close = c == u'[' ? u']' : c;
            ++i;
            for (;;) {
                if (i >= n)
                    return std::nullopt;
                if (sql[i] == close) {
                    if (close != u']' && i + 1 < n && sql[i + 1] == close) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out.append({c == u'\'' ? Piece::Literal : Piece::Name, begin, i, depth});
        } else if (isWordChar(c)) {
            while (i < n && isWordChar(sql[i]))
                ++i;
            out.append({Piece::Word, begin, i, depth});
        } else {
            if (c == u')')
                --depth;
            out.append({Piece::Symbol, begin, ++i, depth});
            if (c == u'(')
                ++depth;
            if (depth < 0)
                return std::nullopt;
        }
    }
    return out;
}

bool isWord(const QString& sql, const Piece& p, QLatin1StringView word) {
    return p.kind == Piece::Word && QStringView(sql).sliced(p.begin, p.end - p.begin).compare(word, Qt::CaseInsensitive) == 0;
}

bool isAnyWord(const QString& sql, const Piece& p, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (isWord(sql, p, QLatin1StringView(w)))
            return true;
    return false;
}

// See RowidQueries::Narrowing; p[restIndex] is the first piece after the table.
std::optional<RowidQueries::Narrowing> narrowing(const QString& sql, const QList<Piece>& p, qsizetype restIndex,
                                                 const QString& tableText) {
    if (restIndex >= p.size() || !isWord(sql, p[restIndex], QLatin1StringView("WHERE")))
        return std::nullopt;
    qsizetype end = restIndex + 1;
    while (end < p.size() && !(p[end].depth == 0 && isWord(sql, p[end], QLatin1StringView("ORDER")))) {
        if (p[end].depth == 0 && isWord(sql, p[end], QLatin1StringView("OR")))
            return std::nullopt;
        ++end;
    }
    // <column> LIKE '<pattern>' [COLLATE <name>] at the end of the condition.
    qsizetype literal = end - 1;
    if (literal - 2 > restIndex && isWord(sql, p[literal - 1], QLatin1StringView("COLLATE")))
        literal -= 2;
    const qsizetype column = literal - 2;
    if (column <= restIndex || p[literal].kind != Piece::Literal || !isWord(sql, p[literal - 1], QLatin1StringView("LIKE")) ||
        (p[column].kind != Piece::Name && p[column].kind != Piece::Word) || p[column].depth != 0 || p[literal].depth != 0)
        return std::nullopt;
    const bool alone = column - 1 == restIndex;
    if (!alone && !(p[column - 1].depth == 0 && isWord(sql, p[column - 1], QLatin1StringView("AND")) && column - 2 > restIndex))
        return std::nullopt;

    const QString order = end < p.size() ? sql.sliced(p[end].begin) : QString();
    const QString base = alone ? order
                               : sql.sliced(p[restIndex].begin, p[column - 1].begin - p[restIndex].begin) + order;
    RowidQueries::Narrowing n;
    n.baseRows = QStringLiteral("SELECT ") + tableText + QStringLiteral(".rowid, ") +
                 sql.sliced(p[column].begin, p[column].end - p[column].begin) + QStringLiteral(" FROM ") + tableText + u' ' + base;
    n.pattern = sql.sliced(p[literal].begin + 1, p[literal].end - p[literal].begin - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return n;
}

} // namespace

std::optional<RowidQueries> rowidQueries(const QString& sqliteSql) {
    const auto parsed = pieces(sqliteSql);
    if (!parsed || parsed->size() < 4)
        return std::nullopt;
    const QList<Piece>& p = *parsed;
    if (!isWord(sqliteSql, p[0], QLatin1StringView("SELECT")) || isAnyWord(sqliteSql, p[1], {"DISTINCT", "ALL"}))
        return std::nullopt;

    // Whole-result functions and windows may change which rows there are; where they stand
    // inside a subquery is not worth telling apart.
    for (const Piece& piece : p)
        if (isAnyWord(sqliteSql, piece, {"COUNT", "SUM", "AVG", "MIN", "MAX", "TOTAL", "GROUP_CONCAT", "OVER"}))
            return std::nullopt;
    qsizetype from = -1;
    for (qsizetype i = 1; i < p.size() && from < 0; ++i)
        if (p[i].depth == 0 && isWord(sqliteSql, p[i], QLatin1StringView("FROM")))
            from = i;
    if (from < 2 || from + 1 >= p.size())
        return std::nullopt;
    const Piece& table = p[from + 1];
    if (table.kind != Piece::Name && table.kind != Piece::Word)
        return std::nullopt;
    const qsizetype restIndex = from + 2;
    if (restIndex < p.size() && !isAnyWord(sqliteSql, p[restIndex], {"WHERE", "ORDER"}))
        return std::nullopt;
    for (qsizetype i = restIndex; i < p.size(); ++i) {
        if (p[i].depth != 0)
            continue;
        if (isAnyWord(sqliteSql, p[i], {"UNION", "INTERSECT", "EXCEPT", "GROUP", "HAVING", "LIMIT", "OFFSET", "WINDOW"}))
            return std::nullopt;
        if (p[i].kind == Piece::Symbol && sqliteSql[p[i].begin] == u';')
            return std::nullopt;
    }

    // A bare number in the order is a position in the select list; the rowid query has another list.
    // Such a term, or any other that names nothing, is left to the whole query.
    for (qsizetype i = restIndex; i < p.size(); ++i) {
        if (p[i].depth != 0 || !isWord(sqliteSql, p[i], QLatin1StringView("ORDER")))
            continue;
        bool namesNothing = true;
        for (qsizetype j = i + 2; j <= p.size(); ++j) {
            if (j == p.size() || (p[j].depth == 0 && sqliteSql[p[j].begin] == u',')) {
                if (namesNothing)
                    return std::nullopt;
                namesNothing = true;
                continue;
            }
            const QChar first = sqliteSql[p[j].begin];
            const bool constant = (p[j].kind == Piece::Word && first.isDigit()) ||
                                  (p[j].kind == Piece::Symbol && QStringView(u"+-().").contains(first)) ||
                                  isAnyWord(sqliteSql, p[j], {"ASC", "DESC"});
            namesNothing = namesNothing && constant;
        }
        break;
    }

    const QString tableText = sqliteSql.sliced(table.begin, table.end - table.begin);
    const QString columns = sqliteSql.sliced(p[1].begin, p[from].begin - p[1].begin).trimmed();
    const QString rest = restIndex < p.size() ? sqliteSql.sliced(p[restIndex].begin) : QString();
    RowidQueries q;
    q.narrowing = narrowing(sqliteSql, p, restIndex, tableText);
    q.rowids = QStringLiteral("SELECT ") + tableText + QStringLiteral(".rowid FROM ") + tableText + u' ' + rest;
    q.fetch = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + tableText + QStringLiteral(" WHERE ") + tableText +
              QStringLiteral(".rowid = ?1");
    return q;
}

} // namespace db
