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

    const QString tableText = sqliteSql.sliced(table.begin, table.end - table.begin);
    const QString columns = sqliteSql.sliced(p[1].begin, p[from].begin - p[1].begin).trimmed();
    const QString rest = restIndex < p.size() ? sqliteSql.sliced(p[restIndex].begin) : QString();
    RowidQueries q;
    q.rowids = QStringLiteral("SELECT ") + tableText + QStringLiteral(".rowid FROM ") + tableText + u' ' + rest;
    q.fetch = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + tableText + QStringLiteral(" WHERE ") + tableText +
              QStringLiteral(".rowid = ?1");
    return q;
}

} // namespace db
