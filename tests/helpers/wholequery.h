#pragma once

#include "db/database.h"
#include "db/datacontrol.h"

#include <QSet>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <memory>
#include <vector>

namespace testing {

// The whole query's answers (refusal, or labels and every row's cells and marking) by text, in one
// block taken when it is made: a fuzzer runs an input a second time when it leaves more allocations
// behind than it freed, which a cache of ordinary containers would do for every new text. When the
// block is full it starts again empty.
class WholeAnswers {
public:
    explicit WholeAnswers(std::size_t units = std::size_t{64} << 20,
                          std::size_t slots = std::size_t{1} << 18);
    // The answer for text, null when none is kept.
    const char16_t* find(QStringView text) const;
    // Keeps the answer, as differenceFromWholeQuery writes it, for text; false when it does not fit.
    bool keep(QStringView text, const std::vector<char16_t>& answer);

private:
    std::unique_ptr<char16_t[]> m_block;
    std::size_t m_units, m_used = 0;
    struct Slot {
        std::size_t hash = 0;
        std::size_t at = 0; // where the text's length stands in m_block, plus one; 0 for a free slot
    };
    std::unique_ptr<Slot[]> m_slots;
    std::size_t m_slotCount, m_taken = 0;
};

// The data control refreshed, against its record source run as a whole and read in full: the same
// refusal, or the same labels, the rows in the same order with every cell the same, and the same
// grey or black marking against the deck's numbers. Returns the first difference, empty when none.
// A query cut short by the time budget on either side gives no verdict (empty), and says so in
// *cutShort: how often that happens is the caller's to watch, or nothing is compared at all.
// With `remembered`, a text asked for again is answered from there instead of running it again as a
// whole: only for a caller whose file, deck and deck numbers stay as they are.
QString differenceFromWholeQuery(db::DataControl& source, db::Database& whole,
                                 const QSet<QString>& deckNumbers, bool* cutShort = nullptr,
                                 WholeAnswers* remembered = nullptr);

} // namespace testing
