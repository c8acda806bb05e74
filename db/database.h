#pragma once

#include "db/jettranslator.h"
#include "db/schema.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// Where a statement's text comes from. Texts from users or files may only read.
enum class Trust { Program, UserCondition };

// The rows of one query, read completely when it ran (so no statement keeps the file locked).
class Recordset {
public:
    Recordset(QStringList labels, std::vector<std::vector<QVariant>> rows)
        : m_labels(std::move(labels)), m_rows(std::move(rows)) {}

    // Like Jet's, only meaningful as "empty or not".
    int RecordCount() const { return static_cast<int>(m_rows.size()); }
    bool Eof() const { return m_pos >= m_rows.size(); }
    void MoveNext() { ++m_pos; }
    QVariant Fields(int index) const;
    QVariant Fields(const QString& label) const;
    void Close() { m_pos = m_rows.size(); }

    const QStringList& labels() const { return m_labels; }
    const std::vector<std::vector<QVariant>>& rows() const { return m_rows; }

private:
    QStringList m_labels;
    std::vector<std::vector<QVariant>> m_rows;
    size_t m_pos = 0;
};

// Text of a field as a grid shows it: NULL empty, numbers in plain decimal.
QString cellText(const QVariant& value);

// Reads single rows of one statement by rowid (its parameter 1) through a statement kept prepared;
// each row's cells come as a grid shows them (see cellText).
class RowFetcher {
public:
    ~RowFetcher();
    RowFetcher(const RowFetcher&) = delete;
    RowFetcher& operator=(const RowFetcher&) = delete;

    // False when no such row exists (any more); cells are then left empty.
    bool fetch(qint64 rowid, QStringList& cells);
    // Fetches that follow each other share one read of the file while this lives: a fetch alone
    // takes and drops the file's lock, most of what reading one row costs.
    class Batch {
    public:
        explicit Batch(RowFetcher& fetcher);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        sqlite3* m_began = nullptr;
    };
    const QStringList& labels() const { return m_labels; }

private:
    friend class Database;
    RowFetcher(sqlite3_stmt* stmt, QStringList labels) : m_stmt(stmt), m_labels(std::move(labels)) {}
    sqlite3_stmt* m_stmt;
    QStringList m_labels;
};

// Rowids with the text of one column, in a query's order: the list a name filter narrows.
struct RowidTexts {
    std::vector<qint64> rowids;
    std::vector<qsizetype> ends; // where each row's text ends in `text`
    std::vector<bool> nulls;     // rows whose column is NULL, which no pattern matches
    QByteArray text;             // UTF-8 as stored, one row's after the other
};

// How a connection opens its file.
enum class Access { ReadWrite, Create, ReadOnly };

// One connection to the card database. Every text passes through the Jet dialect layer.
class Database {
public:
    static std::unique_ptr<Database> OpenDatabase(const QString& path);
    // Opens the catalogue for reading only, with a DECK of this connection's own: a temporary table
    // of the same columns, which unqualified names find before the file's. Whatever runs on it
    // leaves the file, and the deck a running program keeps in it, untouched.
    static std::unique_ptr<Database> OpenWithPrivateDeck(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Recordset OpenRecordset(const QString& jetSql, Trust trust = Trust::Program);
    void Execute(const QString& jetSql);
    void Close();

    // Runs a query and hands each row's values (null, qint64, double or text, as SQLite typed them;
    // cellText shows them as a grid does) to `row` as they are read, keeping none; returns the
    // column labels.
    using RowSink = std::function<void(const QStringList& labels, const QVariantList& values)>;
    QStringList streamRows(const QString& jetSql, Trust trust, const RowSink& row);

    // Runs already translated SQLite text; for the dialect's own tests and benchmarks.
    Recordset runNative(const QString& sqliteSql, Trust trust = Trust::Program);
    // The program's own SQLite text with its parameters ?1, ?2, … bound to values (NULL, integer,
    // real, text), so that rows read back can be written again exactly as they were. A query gives
    // its rows; a change gives no rows and its count of changed rows in changedRows.
    Recordset runBound(const QString& sqliteSql, const std::vector<QVariant>& values, int* changedRows = nullptr);
    QString translate(const QString& jetSql) const;
    Translation translateQuery(const QString& jetSql) const;
    // Runs a translated query as a whole (see prepareTranslation).
    Recordset run(const Translation& query, Trust trust);

    // The first column of every row of already translated text, as integers: the rowids of a
    // record source in its order. Empty optional when the text does not prepare; errors while it
    // runs are thrown.
    std::optional<std::vector<qint64>> runRowids(const QString& sqliteSql, Trust trust = Trust::Program);
    // Whether already translated text prepares, without running it.
    bool prepares(const QString& sqliteSql, Trust trust = Trust::Program);
    // The same for text whose second column is the text to keep beside each rowid.
    std::optional<RowidTexts> runRowidTexts(const QString& sqliteSql, Trust trust = Trust::Program);
    // Changes whenever another connection has committed a change to the file since the last call.
    qint64 dataVersion();
    // Already translated text with one parameter, the rowid, kept prepared on this connection.
    // The fetcher must not outlive the connection's Close.
    std::unique_ptr<RowFetcher> prepareRowFetch(const QString& sqliteSql, Trust trust = Trust::Program);

    const QString& path() const { return m_path; }

private:
    friend class Transaction;
    Database(sqlite3* handle, QString path, std::shared_ptr<const Schema> schema);
    static std::unique_ptr<Database> openCatalogue(const QString& path, Access access);
    void executeNative(const QString& sqliteSql);
    // Prepares one read-only statement; nullptr (nothing thrown) when lenient and it does not prepare.
    sqlite3_stmt* prepareQuery(const QString& sqliteSql, Trust trust, bool lenient = false);
    // Prepares a translated query. Where its rowid order keeps it from preparing, the text as written
    // is prepared instead: a fault is then reported as the engine sees that text (an incomplete
    // condition as incomplete), and a view, which has no rowid, still runs.
    sqlite3_stmt* prepareTranslation(const Translation& query, Trust trust);
    Recordset readAll(sqlite3_stmt* stmt, Trust trust);
    [[noreturn]] void fail() const;
    // Steps a prepared statement to its end, under the budget of a user condition where it is one.
    template <typename OnRow>
    void stepAll(sqlite3_stmt* stmt, Trust trust, OnRow onRow);

    sqlite3* m_handle;
    // runBound's statements, kept prepared by their text: a step of many rows runs one text per row.
    std::vector<std::pair<QByteArray, sqlite3_stmt*>> m_bound;
    QString m_path;
    std::shared_ptr<const Schema> m_schema;
};

// All changes made on the connection while it lives, or none: rolled back unless committed.
class Transaction {
public:
    // Immediate takes the write lock at once; deferred takes it at the first write, so it also serves a
    // read-only catalogue whose writes go to its private DECK.
    enum class Lock { Immediate, Deferred };
    explicit Transaction(Database& conn, Lock lock = Lock::Immediate);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    // False once a failed statement has ended the transaction by itself (a full disk, for one).
    bool active() const;

private:
    Database& m_conn;
    bool m_open = true;
};

// Writes a compacted copy of the database at source into the new file target.
void CompactDatabase(const QString& source, const QString& target);

// Opens an SQLite file with the dialect's functions, for building the catalogue.
sqlite3* openRawConnection(const QString& path, bool create);
sqlite3* openRawConnection(const QString& path, Access access);

} // namespace db
