#pragma once

#include <QString>
#include <QSet>
#include <QStringList>
#include <memory>
#include <vector>

namespace db {
class Database;
}

namespace deck {

inline constexpr quint32 kInDeckGrey = 0xB4B4B4;   // RGB(180, 180, 180)
inline constexpr quint32 kJustAddedGrey = 0xC8C8C8; // RGB(200, 200, 200)
inline constexpr quint32 kBlack = 0x000000;

// The deck's card numbers, case folded: what the marking pass compares pool rows with.
QSet<QString> deckNumbers(db::Database& conn);

// The deck's numbers as deckNumbers reads them, on a connection of its own that reads them again only
// when the file has changed since: a keystroke in the name box marks the pool without a query.
class InDeckNumbers {
public:
    explicit InDeckNumbers(QString databasePath);
    ~InDeckNumbers();
    const QSet<QString>& current();

private:
    QString m_path;
    std::unique_ptr<db::Database> m_connection;
    qint64 m_version = -1;
    QSet<QString> m_numbers;
};

// Colours for the pool rows: grey where the row's number is in the deck, black otherwise.
// Reads the deck's numbers once and compares as the database does (without regard to case).
std::vector<quint32> markDeckCards(db::Database& conn, const QStringList& poolNumbers);

} // namespace deck
