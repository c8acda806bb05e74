#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>
#include <optional>

struct sqlite3;

namespace db {

// Registers the Jet collation, LIKE and helper functions on one connection.
void registerJetFunctions(sqlite3* handle);

// The collation's order: without regard to case, umlauts beside their base letters.
int jetCompare(const QString& a, const QString& b);
// The same over UTF-8 text, for keys converted once and compared often.
int jetCompareUtf8(QByteArrayView a, QByteArrayView b);

// Jet LIKE: * ? # [list] [!list], case-insensitive; % and _ are plain characters.
// Returns false for a malformed pattern in *valid when given.
bool jetLike(const QString& pattern, const QString& value, bool* valid = nullptr);

// A Jet LIKE pattern compiled once, matched against UTF-8 text as SQLite stores it; exactly what
// LIKE in a query does with it.
class LikePattern {
public:
    // Nothing for a malformed pattern (the query would fail on it).
    static std::optional<LikePattern> compile(const QString& pattern);
    bool matches(const char* utf8, int bytes) const;
    // The same verdict on text appendFolded has prepared, without decoding and folding it again.
    bool matchesFolded(const char32_t* folded, qsizetype length) const;

private:
    struct Elements;
    std::shared_ptr<const Elements> m_elements;
};

// Appends UTF-8 text as a pattern sees it: one case-folded code point per character.
void appendFolded(const char* utf8, int bytes, std::vector<char32_t>& out);

} // namespace db
