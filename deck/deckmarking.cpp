// The deck's card numbers the pool rows are marked against.
#include "deck/deckmarking.h"

#include "db/database.h"

namespace deck {

QSet<QString> deckNumbers(db::Database& conn) {
    QSet<QString> inDeck;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER FROM DECK")); !rs.Eof(); rs.MoveNext())
        inDeck.insert(rs.Fields(0).toString().toCaseFolded());
    return inDeck;
}

InDeckNumbers::InDeckNumbers(QString databasePath) : m_path(std::move(databasePath)) {}

InDeckNumbers::~InDeckNumbers() = default;

const QSet<QString>& InDeckNumbers::current() {
    if (!m_connection)
        m_connection = db::Database::OpenDatabase(m_path);
    // Another connection's commit changes the version; this one never writes.
    const qint64 version = m_connection->dataVersion();
    if (version != m_version || version < 0) {
        m_numbers = deckNumbers(*m_connection);
        m_version = version;
    }
    return m_numbers;
}

std::vector<quint32> markDeckCards(db::Database& conn, const QStringList& poolNumbers) {
    const QSet<QString> inDeck = deckNumbers(conn);
    std::vector<quint32> colors;
    colors.reserve(static_cast<size_t>(poolNumbers.size()));
    for (const QString& number : poolNumbers)
        colors.push_back(inDeck.contains(number.toCaseFolded()) ? kInDeckGrey : kBlack);
    return colors;
}

} // namespace deck
