#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace db {
class Database;
}

namespace filter {

// The filter dialog's six value lists, read again only after the database file has changed, so
// that opening the dialog does not scan every card each time.
class FilterValueLists {
public:
    explicit FilterValueLists(QString databasePath);
    ~FilterValueLists();

    // Kartenart, Fraktion, Gang, St. Feuer, St. Erde, Monde; each as funcFillList reads it.
    const QList<QStringList>& lists();
    // True when lists() would read the cards again.
    bool stale();

private:
    QString m_path;
    std::unique_ptr<db::Database> m_connection; // data_version counts changes per connection
    qint64 m_version = -1;
    QList<QStringList> m_lists;
};

// The columns in the order of FilterValueLists::lists().
inline const char* const kValueListColumns[] = {"KARTENART", "FRAKTION", "GANG", "STFEUER", "STERDE", "MONDE"};

} // namespace filter
