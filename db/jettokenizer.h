#pragma once

#include <QString>
#include <vector>

namespace db {

enum class TokenKind {
    Word,       // keyword, function or bare name
    Bracketed,  // [name]
    String,     // '…' or "…", value without quotes, doubled quotes undone
    Number,
    Symbol,     // operators and punctuation
};

struct Token {
    TokenKind kind;
    QString text;
};

// Splits Jet SQL into tokens; throws DbError on an unterminated literal or name.
std::vector<Token> tokenizeJet(const QString& sql);

} // namespace db
