// A data control's rows compared with its record source read in full.
#include "tests/helpers/wholequery.h"

#include "db/dberror.h"
#include "db/gridmodel.h"
#include "db/querybudget.h"
#include "deck/deckmarking.h"

#include <QHashFunctions>
#include <algorithm>
#include <bit>
#include <optional>

namespace testing {

namespace {

// An answer: Refused and the refusal, or Rows, the labels' count and labels, the rows' count and
// per row its colour and cells. A text is its length (one unit, or kLong and two) and its units.
enum Kind : char16_t { Refused = 1, Rows = 2 };
constexpr char16_t kLong = 0xFFFF;

void putNumber(std::vector<char16_t>& out, quint32 n) {
    out.push_back(static_cast<char16_t>(n & 0xFFFF));
    out.push_back(static_cast<char16_t>(n >> 16));
}

void putText(std::vector<char16_t>& out, QStringView text) {
    const auto size = static_cast<quint32>(text.size());
    if (size < kLong) {
        out.push_back(static_cast<char16_t>(size));
    } else {
        out.push_back(kLong);
        putNumber(out, size);
    }
    out.insert(out.end(), text.utf16(), text.utf16() + size);
}

class Reader {
public:
    explicit Reader(const char16_t* at) : m_at(at) {}
    quint32 number() {
        const quint32 n = m_at[0] | quint32{m_at[1]} << 16;
        m_at += 2;
        return n;
    }
    QStringView text() {
        quint32 size = *m_at++;
        if (size == kLong)
            size = number();
        const QStringView t(m_at, static_cast<qsizetype>(size));
        m_at += size;
        return t;
    }
    char16_t kind() { return *m_at++; }
    const char16_t* at() const { return m_at; }

private:
    const char16_t* m_at;
};

// The whole query's answer for text, marked against the deck's numbers; false when the time budget
// cut it short, which is no answer.
bool wholeAnswer(db::Database& whole, const QString& text, const QSet<QString>& deckNumbers,
                 std::vector<char16_t>& out) {
    std::optional<db::Recordset> all;
    try {
        all = whole.OpenRecordset(text, db::Trust::UserCondition);
    } catch (const db::DbError& e) {
        if (e.number() == db::kQueryCancelled)
            return false;
        out.push_back(Refused);
        putText(out, e.description());
        return true;
    }
    db::GridModel rows;
    rows.load(*all);
    const QStringList& labels = rows.labels();
    rows.markRows(labels.size() > 7 ? 7 : 0, deckNumbers, deck::kInDeckGrey);
    out.push_back(Rows);
    putNumber(out, static_cast<quint32>(labels.size()));
    for (const QString& label : labels)
        putText(out, label);
    putNumber(out, static_cast<quint32>(rows.rowCount()));
    for (int r = 0; r < rows.rowCount(); ++r) {
        putNumber(out, rows.rowColor(r));
        for (int c = 0; c < labels.size(); ++c)
            putText(out, rows.cell(r, c));
    }
    return true;
}

QStringList labelsOf(Reader in, quint32 count) {
    QStringList labels;
    for (quint32 i = 0; i < count; ++i)
        labels << in.text().toString();
    return labels;
}

} // namespace

WholeAnswers::WholeAnswers(std::size_t units, std::size_t slots)
    : m_block(new char16_t[units]), m_units(units), m_slots(new Slot[std::bit_ceil(slots)]),
      m_slotCount(std::bit_ceil(slots)) {}

const char16_t* WholeAnswers::find(QStringView text) const {
    const std::size_t hash = qHash(text);
    for (std::size_t i = hash & (m_slotCount - 1);; i = (i + 1) & (m_slotCount - 1)) {
        const Slot& slot = m_slots[i];
        if (slot.at == 0)
            return nullptr;
        if (slot.hash != hash)
            continue;
        Reader in(m_block.get() + slot.at - 1);
        if (in.text() == text)
            return in.at();
    }
}

bool WholeAnswers::keep(QStringView text, const std::vector<char16_t>& answer) {
    std::vector<char16_t> head; // the text as the answers' texts are written
    head.reserve(static_cast<std::size_t>(text.size()) + 3);
    putText(head, text);
    const std::size_t units = head.size() + answer.size();
    if (units > m_units)
        return false;
    if (m_used + units > m_units || 2 * (m_taken + 1) > m_slotCount) {
        std::fill(m_slots.get(), m_slots.get() + m_slotCount, Slot{});
        m_used = m_taken = 0;
    }
    const std::size_t hash = qHash(text);
    std::size_t i = hash & (m_slotCount - 1);
    while (m_slots[i].at != 0)
        i = (i + 1) & (m_slotCount - 1);
    m_slots[i] = Slot{hash, m_used + 1};
    std::copy(head.begin(), head.end(), m_block.get() + m_used);
    std::copy(answer.begin(), answer.end(), m_block.get() + m_used + head.size());
    m_used += units;
    ++m_taken;
    return true;
}

QString differenceFromWholeQuery(db::DataControl& source, db::Database& whole,
                                 const QSet<QString>& deckNumbers, bool* cutShort, WholeAnswers* remembered) {
    std::vector<char16_t> computed;
    const char16_t* answer = remembered ? remembered->find(source.RecordSource) : nullptr;
    bool cut = false; // by the time budget: a matter of the machine's load, not of the rows
    if (!answer) {
        cut = !wholeAnswer(whole, source.RecordSource, deckNumbers, computed);
        if (!cut && remembered)
            remembered->keep(source.RecordSource, computed);
        answer = computed.data();
    }
    QString refusal;
    try {
        source.Refresh();
    } catch (const db::DbError& e) {
        refusal = e.description();
        cut = cut || e.number() == db::kQueryCancelled;
    }
    if (cutShort)
        *cutShort = cut;
    if (cut)
        return {};

    Reader in(answer);
    const char16_t kind = in.kind();
    if (kind == Refused || !refusal.isEmpty()) {
        const QString wholeRefusal = kind == Refused ? in.text().toString() : QString();
        return wholeRefusal == refusal && !refusal.isEmpty()
                   ? QString()
                   : QStringLiteral("refused as '%1', the whole query as '%2'").arg(refusal, wholeRefusal);
    }
    const quint32 columns = in.number();
    db::GridModel& shown = source.model();
    const QStringList& labels = shown.labels();
    bool sameLabels = static_cast<quint32>(labels.size()) == columns;
    const Reader atLabels = in;
    for (quint32 c = 0; c < columns; ++c) {
        const QStringView label = in.text();
        sameLabels = sameLabels && label == labels[static_cast<qsizetype>(c)];
    }
    if (!sameLabels)
        return QStringLiteral("labels %1 instead of %2")
            .arg(labels.join(u'|'), labelsOf(atLabels, columns).join(u'|'));
    const quint32 rows = in.number();
    if (static_cast<quint32>(shown.rowCount()) != rows)
        return QStringLiteral("%1 rows instead of %2").arg(shown.rowCount()).arg(rows);
    shown.markRows(columns > 7 ? 7 : 0, deckNumbers, deck::kInDeckGrey);
    for (int r = 0; r < shown.rowCount(); ++r) {
        const quint32 color = in.number();
        for (int c = 0; c < static_cast<int>(columns); ++c) {
            const QStringView expected = in.text();
            if (const QString cell = shown.cell(r, c); cell != expected)
                return QStringLiteral("row %1 column %2: '%3' instead of '%4'")
                    .arg(r)
                    .arg(c)
                    .arg(cell, expected.toString());
        }
        if (shown.rowColor(r) != color)
            return QStringLiteral("row %1 coloured %2 instead of %3")
                .arg(r)
                .arg(shown.rowColor(r), 0, 16)
                .arg(color, 0, 16);
    }
    return {};
}

} // namespace testing
