#pragma once

#include <QRandomGenerator>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace testing {

// Where the generator's choices come from: a seeded generator, or a fuzzer's bytes.
class Choices {
public:
    virtual ~Choices() = default;
    // A number below n (n > 0).
    virtual unsigned below(unsigned n) = 0;
};

class SeededChoices : public Choices {
public:
    explicit SeededChoices(quint32 seed) : m_random(seed) {}
    unsigned below(unsigned n) override { return m_random.bounded(n); }

private:
    QRandomGenerator m_random;
};

// One byte per choice; once the bytes are used up every choice is the first, which always ends
// the text.
class ByteChoices : public Choices {
public:
    ByteChoices(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}
    unsigned below(unsigned n) override {
        if (m_left == 0)
            return 0;
        --m_left;
        return *m_data++ % n;
    }

private:
    const uint8_t* m_data;
    size_t m_left;
};

// The parts the main window puts together for the pool: a filter as a player or a filter file
// writes it, the sort dialog's or a header's order, and a typed name.
struct PoolSource {
    QString where; // "WHERE …" with its trailing blank, or empty
    QString order; // "ORDER BY …", or empty
    QString name;  // what is typed into the name field, or empty
};

// A pool source from the dialect's grammar over every column of the catalogue: NULLs, ties,
// umlauts, brackets, IIF, IN, BETWEEN, sub-selects on DECK, aliases, LIKE with every wildcard,
// and orders by columns, aliases, expressions and position, also inside the condition.
PoolSource poolSource(Choices& choices);

} // namespace testing
