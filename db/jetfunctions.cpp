// The dialect's collation, LIKE and helper functions, registered on a connection.
#include "db/jetfunctions.h"

#include "db/jettranslator.h"

#include <QStringView>
#include <sqlite3.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace db {

namespace {

// ---- collation -------------------------------------------------------------------------------

// A letter's primary weight is its lower-case base letter; the accent only breaks ties.
struct Weight {
    char32_t base[2];
    int count;
    char32_t accent;
};

Weight weightOf(char32_t c) {
    if (c < 0x80) {
        const char32_t lower = (c >= 'A' && c <= 'Z') ? c + 32 : c;
        return {{lower, 0}, 1, 0};
    }
    const char32_t folded = QChar::toCaseFolded(c);
    if (folded == U'ß')
        return {{U's', U's'}, 2, folded};
    char32_t base = folded;
    if (folded <= 0xFFFF) {
        const QChar qc(static_cast<char16_t>(folded));
        if (qc.decompositionTag() == QChar::Canonical) {
            const QString d = qc.decomposition();
            if (!d.isEmpty())
                base = QChar::toCaseFolded(static_cast<char32_t>(d.at(0).unicode()));
        }
    }
    return {{base, 0}, 1, base == folded ? 0 : folded};
}

// Weight table for the Latin range, where catalogue text lives; the rest is computed on demand.
const std::array<Weight, 0x250>& latinWeights() {
    static const std::array<Weight, 0x250> table = [] {
        std::array<Weight, 0x250> t{};
        for (char32_t c = 0; c < t.size(); ++c)
            t[c] = weightOf(c);
        return t;
    }();
    return table;
}

inline Weight lookup(char32_t c) { return c < 0x250 ? latinWeights()[c] : weightOf(c); }

// Walks UTF-8 text one primary weight at a time.
class WeightStream {
public:
    WeightStream(const unsigned char* p, int n) : m_p(p), m_end(p + n) {}

    bool next(char32_t& primary, char32_t& accent) {
        if (m_pending) {
            primary = m_pending;
            accent = m_pendingAccent;
            m_pending = 0;
            return true;
        }
        if (m_p >= m_end)
            return false;
        const Weight w = lookup(decode());
        primary = w.base[0];
        accent = w.accent;
        if (w.count == 2) {
            m_pending = w.base[1];
            m_pendingAccent = w.accent;
        }
        return true;
    }

private:
    char32_t decode() {
        const unsigned char b = *m_p++;
        if (b < 0x80)
            return b;
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = b & (0x3F >> extra);
        while (extra-- > 0 && m_p < m_end && (*m_p & 0xC0) == 0x80)
            c = (c << 6) | (*m_p++ & 0x3F);
        return c;
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    char32_t m_pending = 0;
    char32_t m_pendingAccent = 0;
};

int compareUtf8(const void* a, int na, const void* b, int nb) {
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    // Plain ASCII on both sides is the common case in the catalogue.
    int i = 0;
    const int common = na < nb ? na : nb;
    for (; i < common; ++i) {
        unsigned char ca = pa[i], cb = pb[i];
        if ((ca | cb) >= 0x80)
            break;
        if (ca >= 'A' && ca <= 'Z')
            ca += 32;
        if (cb >= 'A' && cb <= 'Z')
            cb += 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i == common && (i == na || pa[i] < 0x80) && (i == nb || pb[i] < 0x80))
        return na == nb ? 0 : (na < nb ? -1 : 1);

    WeightStream sa(pa + i, na - i), sb(pb + i, nb - i);
    int accentOrder = 0;
    for (;;) {
        char32_t wa, aa, wb, ab;
        const bool hasA = sa.next(wa, aa);
        const bool hasB = sb.next(wb, ab);
        if (!hasA || !hasB)
            return hasA ? 1 : hasB ? -1 : accentOrder;
        if (wa != wb)
            return wa < wb ? -1 : 1;
        if (accentOrder == 0 && aa != ab)
            accentOrder = aa < ab ? -1 : 1;
    }
}

int collationCallback(void*, int na, const void* a, int nb, const void* b) { return compareUtf8(a, na, b, nb); }

// ---- LIKE ------------------------------------------------------------------------------------

struct PatternElement {
    enum Kind { Any, AnyRun, Digit, Literal, Set } kind = Any;
    char32_t literal = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool matches(char32_t c) const {
        switch (kind) {
        case Any:
            return true;
        case Digit:
            return c >= '0' && c <= '9';
        case Literal:
            return c == literal;
        case Set: {
            bool in = false;
            for (const auto& [lo, hi] : ranges)
                in = in || (c >= lo && c <= hi);
            return in != negated;
        }
        case AnyRun:
            break;
        }
        return false;
    }
};

PatternElement element(PatternElement::Kind kind, char32_t literal = 0) {
    PatternElement e;
    e.kind = kind;
    e.literal = literal;
    return e;
}

// Simple case folding one code point at a time, so that pattern and text fold alike without
// building a string.
inline char32_t foldCodePoint(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// Next code point of UTF-8 text; malformed bytes stand for themselves.
inline char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end) {
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = b & (0x3F >> extra);
    while (extra-- > 0 && p < end && (*p & 0xC0) == 0x80)
        c = (c << 6) | (*p++ & 0x3F);
    return c;
}

std::vector<char32_t> foldedCodePoints(const QString& s) {
    std::vector<char32_t> out;
    out.reserve(static_cast<size_t>(s.size()));
    for (char32_t c : s.toUcs4())
        out.push_back(foldCodePoint(c));
    return out;
}

bool compilePattern(const QString& pattern, std::vector<PatternElement>& out) {
    const std::vector<char32_t> p = foldedCodePoints(pattern);
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == '*') {
            if (out.empty() || out.back().kind != PatternElement::AnyRun)
                out.push_back(element(PatternElement::AnyRun));
        } else if (c == '?') {
            out.push_back(element(PatternElement::Any));
        } else if (c == '#') {
            out.push_back(element(PatternElement::Digit));
        } else if (c == '[') {
            PatternElement set = element(PatternElement::Set);
            size_t j = i + 1;
            if (j < p.size() && p[j] == '!') {
                set.negated = true;
                ++j;
            }
            bool closed = false;
            for (; j < p.size(); ++j) {
                if (p[j] == ']') {
                    closed = true;
                    break;
                }
                if (j + 2 < p.size() && p[j + 1] == '-' && p[j + 2] != ']') {
                    if (p[j + 2] < p[j])
                        return false;
                    set.ranges.emplace_back(p[j], p[j + 2]);
                    j += 2;
                } else {
                    set.ranges.emplace_back(p[j], p[j]);
                }
            }
            if (!closed)
                return false;
            i = j;
            out.push_back(std::move(set));
        } else {
            out.push_back(element(PatternElement::Literal, c));
        }
    }
    return true;
}

// One matcher for UTF-8 as stored and for text folded beforehand: `read` yields the next folded
// code point and moves on. A star remembers where it may resume.
template <typename Pos, typename Read>
bool matchRun(const std::vector<PatternElement>& pat, Pos s, const Pos end, Read read) {
    size_t pi = 0;
    size_t starPi = SIZE_MAX;
    Pos starS{};
    while (s < end) {
        if (pi < pat.size() && pat[pi].kind == PatternElement::AnyRun) {
            starPi = pi++;
            starS = s;
            continue;
        }
        Pos next = s;
        const char32_t c = read(next);
        if (pi < pat.size() && pat[pi].matches(c)) {
            ++pi;
            s = next;
        } else if (starPi != SIZE_MAX) {
            pi = starPi + 1;
            read(starS);
            s = starS;
        } else {
            return false;
        }
    }
    while (pi < pat.size() && pat[pi].kind == PatternElement::AnyRun)
        ++pi;
    return pi == pat.size();
}

bool matchCompiled(const std::vector<PatternElement>& pat, const unsigned char* text, int bytes) {
    const unsigned char* const end = text + bytes;
    return matchRun(pat, text, end, [end](const unsigned char*& p) { return foldCodePoint(nextCodePoint(p, end)); });
}

struct CompiledPattern {
    bool valid;
    std::vector<PatternElement> elements;
};

QString textArg(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // The pattern is usually a constant: compile it once per statement.
    auto* compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!compiled) {
        auto fresh = std::make_unique<CompiledPattern>();
        fresh->valid = compilePattern(textArg(argv[0]), fresh->elements);
        compiled = fresh.get();
        sqlite3_set_auxdata(ctx, 0, fresh.release(),
                            [](void* p) { delete static_cast<CompiledPattern*>(p); });
        compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!compiled) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
    }
    if (!compiled->valid) {
        sqlite3_result_error(ctx, "Ungültiges Muster in LIKE.", -1);
        return;
    }
    // Called once per row: the text is matched where SQLite holds it, no copy is made.
    const auto* text = sqlite3_value_text(argv[1]);
    const int bytes = sqlite3_value_bytes(argv[1]);
    sqlite3_result_int(ctx, text && matchCompiled(compiled->elements, text, bytes) ? 1 : 0);
}

// ---- conversions -----------------------------------------------------------------------------

QString numberText(double d) {
    // The range first: converting a double beyond long long's range is undefined.
    if (d > -1e15 && d < 1e15 && d == std::trunc(d))
        return QString::number(static_cast<long long>(d));
    return QString::number(d, 'g', 15);
}

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void cstrFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        break;
    case SQLITE_INTEGER:
        resultText(ctx, QString::number(sqlite3_value_int64(argv[0])));
        break;
    case SQLITE_FLOAT:
        resultText(ctx, numberText(sqlite3_value_double(argv[0])));
        break;
    default:
        sqlite3_result_value(ctx, argv[0]);
        break;
    }
}

template <bool FromLeft>
void sideFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textArg(argv[0]);
    const auto n = static_cast<qsizetype>(qMax<sqlite3_int64>(0, sqlite3_value_int64(argv[1])));
    resultText(ctx, FromLeft ? s.left(n) : s.right(n));
}

} // namespace

int jetCompare(const QString& a, const QString& b) { return jetCompareUtf8(a.toUtf8(), b.toUtf8()); }

int jetCompareUtf8(QByteArrayView a, QByteArrayView b) {
    return compareUtf8(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
}

bool jetLike(const QString& pattern, const QString& value, bool* valid) {
    std::vector<PatternElement> elements;
    const bool ok = compilePattern(pattern, elements);
    if (valid)
        *valid = ok;
    const QByteArray utf8 = value.toUtf8();
    return ok && matchCompiled(elements, reinterpret_cast<const unsigned char*>(utf8.constData()), static_cast<int>(utf8.size()));
}

struct LikePattern::Elements {
    std::vector<PatternElement> list;
};

std::optional<LikePattern> LikePattern::compile(const QString& pattern) {
    auto elements = std::make_shared<Elements>();
    if (!compilePattern(pattern, elements->list))
        return std::nullopt;
    LikePattern compiled;
    compiled.m_elements = std::move(elements);
    return compiled;
}

bool LikePattern::matches(const char* utf8, int bytes) const {
    return matchCompiled(m_elements->list, reinterpret_cast<const unsigned char*>(utf8), bytes);
}

bool LikePattern::matchesFolded(const char32_t* folded, qsizetype length) const {
    return matchRun(m_elements->list, folded, folded + length, [](const char32_t*& p) { return *p++; });
}

void appendFolded(const char* utf8, int bytes, std::vector<char32_t>& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    const unsigned char* const end = p + bytes;
    while (p < end)
        out.push_back(foldCodePoint(nextCodePoint(p, end)));
}

void registerJetFunctions(sqlite3* handle) {
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_collation(handle, kJetCollation, SQLITE_UTF8, nullptr, collationCallback);
    sqlite3_create_function(handle, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "jet_cstr", 1, flags, nullptr, cstrFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "jet_left", 2, flags, nullptr, sideFunction<true>, nullptr, nullptr);
    sqlite3_create_function(handle, "jet_right", 2, flags, nullptr, sideFunction<false>, nullptr, nullptr);
}

} // namespace db
