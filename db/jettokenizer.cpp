// Splitting dialect SQL into tokens.
#include "db/jettokenizer.h"

#include "core/errornumbers.h"
#include "db/dberror.h"

#include <array>

namespace db {

namespace {

// Error texts quote the start of the statement only: a file may hold megabytes of it.
QString excerpt(const QString& sql) {
    constexpr qsizetype kShown = 200;
    return sql.size() <= kShown ? sql : sql.left(kShown) + QStringLiteral("…");
}

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Reads a literal that ends at the next single quote character; a doubled quote stands for one.
qsizetype readQuoted(const QString& sql, qsizetype pos, QChar quote, QString& value) {
    // Most literals hold no doubled quote: one copy then.
    if (const qsizetype end = sql.indexOf(quote, pos + 1); end >= 0 && (end + 1 >= sql.size() || sql[end + 1] != quote)) {
        value = sql.mid(pos + 1, end - pos - 1);
        return end + 1;
    }
    for (qsizetype i = pos + 1; i < sql.size(); ++i) {
        if (sql[i] != quote) {
            value += sql[i];
        } else if (i + 1 < sql.size() && sql[i + 1] == quote) {
            value += quote;
            ++i;
        } else {
            return i + 1;
        }
    }
    throw DbError(core::errors::kSyntaxError, QStringLiteral("Zeichenfolge ohne schließendes Anführungszeichen in: %1").arg(excerpt(sql)));
}

} // namespace

std::vector<Token> tokenizeJet(const QString& sql) {
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'\'' || c == u'"') {
            QString value;
            i = readQuoted(sql, i, c, value);
            tokens.push_back({TokenKind::String, value});
        } else if (c == u'[') {
            const qsizetype end = sql.indexOf(u']', i + 1);
            if (end < 0)
                throw DbError(core::errors::kSyntaxError, QStringLiteral("Name ohne schließende Klammer in: %1").arg(excerpt(sql)));
            tokens.push_back({TokenKind::Bracketed, sql.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit() &&
                                   (tokens.empty() || tokens.back().kind == TokenKind::Symbol))) {
            qsizetype j = i;
            while (j < n && sql[j].isDigit())
                ++j;
            if (j < n && sql[j] == u'.' && j + 1 < n && sql[j + 1].isDigit()) {
                ++j;
                while (j < n && sql[j].isDigit())
                    ++j;
            }
            if (j < n && (sql[j] == u'e' || sql[j] == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (sql[k] == u'+' || sql[k] == u'-'))
                    ++k;
                if (k < n && sql[k].isDigit()) {
                    while (k < n && sql[k].isDigit())
                        ++k;
                    j = k;
                }
            }
            tokens.push_back({TokenKind::Number, sql.mid(i, j - i)});
            i = j;
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(sql[j]))
                ++j;
            tokens.push_back({TokenKind::Word, sql.mid(i, j - i)});
            i = j;
        } else {
            // Looked at through a view: a pool query is mostly punctuation, read on every keystroke.
            static constexpr QStringView twoChar[] = {u"<>", u"<=", u">=", u"!="};
            const QStringView next = QStringView(sql).mid(i, 2);
            qsizetype length = 1;
            for (const QStringView t : twoChar) {
                if (next == t) {
                    length = 2;
                    break;
                }
            }
            // One shared string per ASCII punctuation mark instead of a copy per occurrence.
            static const auto marks = [] {
                std::array<QString, 128> all;
                for (char16_t m = 0; m < 128; ++m)
                    all[m] = QString(QChar(m));
                return all;
            }();
            tokens.push_back({TokenKind::Symbol, length == 1 && c.unicode() < 128 ? marks[c.unicode()] : sql.mid(i, length)});
            i += length;
        }
    }
    return tokens;
}

} // namespace db
