// One connection to the card database: every text through the dialect, reads guarded by a budget.
#include "db/database.h"

#include "core/errornumbers.h"
#include "db/dberror.h"
#include "db/enginemessages.h"
#include "db/jetfunctions.h"
#include "db/jettranslator.h"
#include "db/querybudget.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <cmath>
#include <cstring>
#include <sqlite3.h>

namespace db {

namespace errors = core::errors;

namespace {

// Finalizes a prepared statement however its scope is left.
struct Finalizer {
    sqlite3_stmt* s;
    ~Finalizer() { sqlite3_finalize(s); }
};

constexpr int kBusyTimeoutMs = 5000;

QString engineMessage(sqlite3* handle) { return germanEngineMessage(QString::fromUtf8(sqlite3_errmsg(handle))); }

struct AuthorizerState {
    QString deniedFunction;
};

// Only reading is allowed for conditions typed by users or read from files, and only the functions
// the dialect offers: the engine has others that allocate without bound or reveal its internals.
int readOnlyAuthorizer(void* state, int action, const char*, const char* function, const char*, const char*) {
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        if (function && isEngineFunctionOfTheDialect(QString::fromUtf8(function)))
            return SQLITE_OK;
        static_cast<AuthorizerState*>(state)->deniedFunction = QString::fromUtf8(function ? function : "");
        return SQLITE_DENY;
    default:
        return SQLITE_DENY;
    }
}

// A guarded query's clock and watch; the engine asks it every few thousand steps whether to go on.
struct QueryGuard {
    enum class Stop { None, Cancelled, TimedOut };
    QueryBudget budget = queryBudget();
    QElapsedTimer clock;
    std::unique_ptr<QueryWatch> watch;
    Stop stop = Stop::None;

    static int progress(void* self) {
        auto* guard = static_cast<QueryGuard*>(self);
        const std::chrono::milliseconds elapsed(guard->clock.elapsed());
        if (elapsed >= guard->budget.hardLimit) {
            guard->stop = Stop::TimedOut;
            return 1;
        }
        if (guard->watch && !guard->watch->keepRunning(elapsed)) {
            guard->stop = Stop::Cancelled;
            return 1;
        }
        return 0;
    }
};

constexpr int kStepsBetweenChecks = 1000;

// Runs a statement of a user condition under the budget: installs the guard while it lives and
// turns an interruption into the player's message.
class GuardedRun {
public:
    GuardedRun(sqlite3* handle, Trust trust) : m_handle(handle) {
        if (trust != Trust::UserCondition)
            return;
        m_guard.watch = makeQueryWatch(m_guard.budget);
        m_guard.clock.start();
        sqlite3_progress_handler(m_handle, kStepsBetweenChecks, &QueryGuard::progress, &m_guard);
    }
    ~GuardedRun() { sqlite3_progress_handler(m_handle, 0, nullptr, nullptr); }
    GuardedRun(const GuardedRun&) = delete;
    GuardedRun& operator=(const GuardedRun&) = delete;

    // Throws when the last step was interrupted by the guard.
    void checkInterrupted(int step) const {
        if (step != SQLITE_INTERRUPT || m_guard.stop == QueryGuard::Stop::None)
            return;
        if (m_guard.stop == QueryGuard::Stop::TimedOut)
            throw DbError(kQueryCancelled, QStringLiteral("Die Abfrage wurde nach %1 Sekunden abgebrochen, weil sie zu lange "
                                                          "dauerte. Bitte die Bedingung vereinfachen.")
                                               .arg(secondsText(m_guard.budget.hardLimit)));
        throw DbError(kQueryCancelled, QStringLiteral("Die Abfrage wurde abgebrochen."));
    }

private:
    sqlite3* m_handle;
    QueryGuard m_guard;
};

} // namespace

QString secondsText(std::chrono::milliseconds duration) {
    return QString::number(static_cast<double>(duration.count()) / 1000.0, 'g', 6).replace(u'.', u',');
}

namespace {

std::shared_ptr<const Schema> loadSchema(sqlite3* handle, const QString& path) {
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<const Schema>> cache;
    const QString key = QFileInfo(path).absoluteFilePath();
    QMutexLocker lock(&mutex);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return it.value();

    auto schema = std::make_shared<Schema>();
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "SELECT m.name, p.name FROM sqlite_schema m, pragma_table_info(m.name) p "
                      "WHERE m.type IN ('table','view')";
    if (sqlite3_prepare_v2(handle, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw DbError(sqlite3_errcode(handle), engineMessage(handle));
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        schema->addName(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
        schema->addName(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))));
    }
    sqlite3_finalize(stmt);
    cache.insert(key, schema);
    return schema;
}

QVariant columnValue(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                          sqlite3_column_bytes(stmt, i)));
    }
}

bool onlyBlanks(const char* tail) {
    for (; *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';')
            return false;
    return true;
}

} // namespace

QString cellText(const QVariant& value) {
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        // Within long long's range only: converting a double beyond it is undefined.
        if (d >= -0x1p63 && d < 0x1p63 && d == std::trunc(d))
            return QString::number(static_cast<long long>(d));
        return QString::number(d, 'g', 15);
    }
    return value.toString();
}

QVariant Recordset::Fields(int index) const {
    if (Eof())
        throw DbError(errors::kNoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
    if (index < 0 || index >= m_labels.size())
        throw DbError(errors::kItemNotFound, QStringLiteral("Element in dieser Auflistung nicht gefunden."));
    return m_rows[m_pos][static_cast<size_t>(index)];
}

QVariant Recordset::Fields(const QString& label) const {
    for (int i = 0; i < m_labels.size(); ++i)
        if (m_labels[i].compare(label, Qt::CaseInsensitive) == 0)
            return Fields(i);
    throw DbError(errors::kItemNotFound, QStringLiteral("Element in dieser Auflistung nicht gefunden."));
}

sqlite3* openRawConnection(const QString& path, bool create) {
    return openRawConnection(path, create ? Access::Create : Access::ReadWrite);
}

sqlite3* openRawConnection(const QString& path, Access access) {
    // Each connection lives on one thread, so the engine's locks around every call and its global
    // count of allocated memory (a lock per allocation) only cost time: ~10 % of reading 100,000 rows.
    static const bool unlocked = [] { return sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK; }();
    Q_UNUSED(unlocked);
    sqlite3* handle = nullptr;
    const int flags = (access == Access::ReadOnly ? SQLITE_OPEN_READONLY
                                                  : SQLITE_OPEN_READWRITE | (access == Access::Create ? SQLITE_OPEN_CREATE : 0)) |
                      SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = handle ? engineMessage(handle) : germanEngineMessage(QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_close(handle);
        throw DbError(rc, QStringLiteral("Die Datei '%1' kann nicht geöffnet werden: %2").arg(path, message));
    }
    sqlite3_extended_result_codes(handle, 0);
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    // Nothing may slip through untranslated: a double-quoted word is a name, never a string.
    sqlite3_db_config(handle, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerJetFunctions(handle);
    return handle;
}

std::unique_ptr<Database> Database::openCatalogue(const QString& path, Access access) {
    sqlite3* handle = openRawConnection(path, access);
    try {
        auto schema = loadSchema(handle, path);
        if (!schema->resolve(QStringLiteral("KARTEN")))
            throw DbError(errors::kNotADatabase, QStringLiteral("Die Datei '%1' ist keine Kartendatenbank.").arg(path));
        return std::unique_ptr<Database>(new Database(handle, path, std::move(schema)));
    } catch (const DbError&) {
        sqlite3_close(handle);
        throw;
    }
}

std::unique_ptr<Database> Database::OpenDatabase(const QString& path) { return openCatalogue(path, Access::ReadWrite); }

std::unique_ptr<Database> Database::OpenWithPrivateDeck(const QString& path) {
    std::unique_ptr<Database> conn = openCatalogue(path, Access::ReadOnly);
    // The file's own definition, made temporary: the same columns, types and collations.
    const Recordset definition = conn->runNative(
        QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = 'DECK' COLLATE NOCASE"));
    const QString sql = definition.Eof() ? QString() : definition.Fields(0).toString();
    static const QString kCreate = QStringLiteral("CREATE TABLE ");
    if (!sql.startsWith(kCreate, Qt::CaseInsensitive))
        throw DbError(errors::kNotADatabase, QStringLiteral("Die Datei '%1' ist keine Kartendatenbank.").arg(path));
    conn->executeNative(QStringLiteral("CREATE TEMP TABLE ") + sql.mid(kCreate.size()));
    // Nothing here writes the file, so it may be read through a mapping: a whole large catalogue
    // then costs no copy per page and no re-read once the page cache is full.
    conn->executeNative(QStringLiteral("PRAGMA mmap_size = 268435456"));
    return conn;
}

Database::Database(sqlite3* handle, QString path, std::shared_ptr<const Schema> schema)
    : m_handle(handle), m_path(std::move(path)), m_schema(std::move(schema)) {}

Database::~Database() { Close(); }

void Database::Close() {
    for (auto& bound : m_bound)
        sqlite3_finalize(bound.second);
    m_bound.clear();
    if (m_handle) {
        sqlite3_close_v2(m_handle);
        m_handle = nullptr;
    }
}

void Database::fail() const {
    // The engine's parser has a fixed stack; deep nesting runs out of it before the translator's bound.
    if (std::strcmp(sqlite3_errmsg(m_handle), "parser stack overflow") == 0)
        throw DbError(errors::kTooComplex, kTooDeeplyNested);
    throw DbError(sqlite3_errcode(m_handle), engineMessage(m_handle));
}

QString Database::translate(const QString& jetSql) const { return translateJet(jetSql, *m_schema); }

Translation Database::translateQuery(const QString& jetSql) const { return translateJetQuery(jetSql, *m_schema); }

Recordset Database::OpenRecordset(const QString& jetSql, Trust trust) { return run(translateQuery(jetSql), trust); }

sqlite3_stmt* Database::prepareTranslation(const Translation& query, Trust trust) {
    if (query.sql.size() != query.unordered.size())
        if (sqlite3_stmt* stmt = prepareQuery(query.sql, trust, true))
            return stmt;
    return prepareQuery(query.unordered, trust);
}

Recordset Database::run(const Translation& query, Trust trust) { return readAll(prepareTranslation(query, trust), trust); }

sqlite3_stmt* Database::prepareQuery(const QString& sqliteSql, Trust trust, bool lenient) {
    if (!m_handle)
        throw DbError(errors::kObjectClosed, QStringLiteral("Objekt ungültig oder nicht mehr festgelegt."));
    const QByteArray utf8 = sqliteSql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    AuthorizerState authorizer;
    if (trust == Trust::UserCondition)
        sqlite3_set_authorizer(m_handle, readOnlyAuthorizer, &authorizer);
    const int rc = sqlite3_prepare_v2(m_handle, utf8.constData(), static_cast<int>(utf8.size()), &stmt, &tail);
    if (trust == Trust::UserCondition)
        sqlite3_set_authorizer(m_handle, nullptr, nullptr);
    if (rc != SQLITE_OK && !authorizer.deniedFunction.isEmpty())
        throw DbError(errors::kUndefinedFunction, QStringLiteral("Die Funktion '%1' ist in Filter-Bedingungen nicht erlaubt.")
                                .arg(authorizer.deniedFunction));
    if (rc != SQLITE_OK) {
        if (lenient)
            return nullptr;
        fail();
    }
    if (!stmt)
        throw DbError(errors::kSyntaxError, QStringLiteral("Die Abfrage ist leer."));
    if (!onlyBlanks(tail)) {
        sqlite3_finalize(stmt);
        throw DbError(errors::kTextAfterStatement, QStringLiteral("Zeichen nach dem Ende der SQL-Anweisung gefunden."));
    }
    if (!sqlite3_stmt_readonly(stmt)) {
        sqlite3_finalize(stmt);
        throw DbError(errors::kQueryWrites, QStringLiteral("Eine Auswahlabfrage darf keine Daten ändern."));
    }
    return stmt;
}

namespace {

QStringList columnLabels(sqlite3_stmt* stmt) {
    QStringList labels;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        labels << QString::fromUtf8(sqlite3_column_name(stmt, i));
    return labels;
}

// The current row's cells as a grid shows them; all empty when there is no row.
void readCells(sqlite3_stmt* stmt, bool found, QStringList& cells) {
    const int columns = sqlite3_column_count(stmt);
    cells.resize(columns);
    for (int i = 0; i < columns; ++i) {
        QString& cell = cells[i];
        switch (found ? sqlite3_column_type(stmt, i) : SQLITE_NULL) {
        case SQLITE_NULL:
            cell.clear();
            break;
        case SQLITE_INTEGER:
            cell = QString::number(sqlite3_column_int64(stmt, i));
            break;
        case SQLITE_FLOAT:
            cell = cellText(QVariant(sqlite3_column_double(stmt, i)));
            break;
        default:
            cell = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)), sqlite3_column_bytes(stmt, i));
            break;
        }
    }
}

// The current row's values with the type SQLite gave each.
void readValues(sqlite3_stmt* stmt, QVariantList& values) {
    const int columns = sqlite3_column_count(stmt);
    values.resize(columns);
    for (int i = 0; i < columns; ++i) {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL:
            values[i] = QVariant();
            break;
        case SQLITE_INTEGER:
            values[i] = QVariant(static_cast<qint64>(sqlite3_column_int64(stmt, i)));
            break;
        case SQLITE_FLOAT:
            values[i] = QVariant(sqlite3_column_double(stmt, i));
            break;
        default:
            values[i] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                          sqlite3_column_bytes(stmt, i));
            break;
        }
    }
}

} // namespace

template <typename OnRow>
void Database::stepAll(sqlite3_stmt* stmt, Trust trust, OnRow onRow) {
    const GuardedRun run(m_handle, trust);
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
        onRow();
    run.checkInterrupted(step);
    if (step != SQLITE_DONE)
        fail();
}

Recordset Database::runNative(const QString& sqliteSql, Trust trust) { return readAll(prepareQuery(sqliteSql, trust), trust); }

Recordset Database::readAll(sqlite3_stmt* stmt, Trust trust) {
    const Finalizer finalizer{stmt};
    const int columns = sqlite3_column_count(stmt);
    std::vector<std::vector<QVariant>> rows;
    stepAll(stmt, trust, [&] {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(columnValue(stmt, i));
        rows.push_back(std::move(row));
    });
    return Recordset(columnLabels(stmt), std::move(rows));
}

QStringList Database::streamRows(const QString& jetSql, Trust trust, const RowSink& row) {
    sqlite3_stmt* stmt = prepareTranslation(translateQuery(jetSql), trust);
    const Finalizer finalizer{stmt};
    const QStringList labels = columnLabels(stmt);
    QVariantList values;
    stepAll(stmt, trust, [&] {
        readValues(stmt, values);
        row(labels, values);
    });
    return labels;
}

std::optional<std::vector<qint64>> Database::runRowids(const QString& sqliteSql, Trust trust) {
    sqlite3_stmt* stmt = prepareQuery(sqliteSql, trust, true);
    if (!stmt)
        return std::nullopt;
    const Finalizer finalizer{stmt};
    std::vector<qint64> rowids;
    stepAll(stmt, trust, [&] { rowids.push_back(sqlite3_column_int64(stmt, 0)); });
    return rowids;
}

bool Database::prepares(const QString& sqliteSql, Trust trust) {
    sqlite3_stmt* stmt = prepareQuery(sqliteSql, trust, true);
    sqlite3_finalize(stmt);
    return stmt != nullptr;
}

std::optional<RowidTexts> Database::runRowidTexts(const QString& sqliteSql, Trust trust) {
    sqlite3_stmt* stmt = prepareQuery(sqliteSql, trust, true);
    if (!stmt)
        return std::nullopt;
    const Finalizer finalizer{stmt};
    RowidTexts rows;
    stepAll(stmt, trust, [&] {
        rows.rowids.push_back(sqlite3_column_int64(stmt, 0));
        rows.nulls.push_back(sqlite3_column_type(stmt, 1) == SQLITE_NULL);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        rows.text.append(text, sqlite3_column_bytes(stmt, 1));
        rows.ends.push_back(rows.text.size());
    });
    return rows;
}

qint64 Database::dataVersion() {
    sqlite3_stmt* stmt = prepareQuery(QStringLiteral("PRAGMA data_version"), Trust::Program);
    const Finalizer finalizer{stmt};
    return sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
}

std::unique_ptr<RowFetcher> Database::prepareRowFetch(const QString& sqliteSql, Trust trust) {
    sqlite3_stmt* stmt = prepareQuery(sqliteSql, trust);
    return std::unique_ptr<RowFetcher>(new RowFetcher(stmt, columnLabels(stmt)));
}

RowFetcher::~RowFetcher() { sqlite3_finalize(m_stmt); }

RowFetcher::Batch::Batch(RowFetcher& fetcher) {
    sqlite3* db = sqlite3_db_handle(fetcher.m_stmt);
    // Inside a transaction of its own the connection already reads once.
    if (sqlite3_get_autocommit(db) && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK)
        m_began = db;
}

RowFetcher::Batch::~Batch() {
    if (m_began && sqlite3_exec(m_began, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(m_began, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool RowFetcher::fetch(qint64 rowid, QStringList& cells) {
    sqlite3_bind_int64(m_stmt, 1, rowid);
    const bool found = sqlite3_step(m_stmt) == SQLITE_ROW;
    readCells(m_stmt, found, cells);
    // A statement left on a row would hold the read lock and keep writers out.
    sqlite3_reset(m_stmt);
    return found;
}

Recordset Database::runBound(const QString& sqliteSql, const std::vector<QVariant>& values, int* changedRows) {
    if (!m_handle)
        throw DbError(errors::kObjectClosed, QStringLiteral("Objekt ungültig oder nicht mehr festgelegt."));
    const QByteArray utf8 = sqliteSql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    for (const auto& bound : m_bound)
        if (bound.first == utf8)
            stmt = bound.second;
    if (!stmt) {
        const char* tail = nullptr;
        if (sqlite3_prepare_v3(m_handle, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                               &tail) != SQLITE_OK)
            fail();
        if (!stmt || !onlyBlanks(tail)) {
            sqlite3_finalize(stmt);
            throw DbError(errors::kTextAfterStatement, QStringLiteral("Genau eine SQL-Anweisung erwartet."));
        }
        constexpr size_t kKept = 8;
        if (m_bound.size() == kKept) {
            sqlite3_finalize(m_bound.front().second);
            m_bound.erase(m_bound.begin());
        }
        m_bound.emplace_back(utf8, stmt);
    }
    // Reset after every run, whatever its end: a statement left on a row would hold the file's lock.
    struct Resetter {
        sqlite3_stmt* s;
        ~Resetter() {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
    } const resetter{stmt};
    for (size_t i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        const int at = static_cast<int>(i) + 1;
        int rc;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, at);
        } else if (v.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(stmt, at, v.toDouble());
        } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Bool) {
            rc = sqlite3_bind_int64(stmt, at, v.toLongLong());
        } else {
            const QByteArray text = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, at, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            fail();
    }
    const int columns = sqlite3_column_count(stmt);
    QStringList labels;
    for (int i = 0; i < columns; ++i)
        labels << QString::fromUtf8(sqlite3_column_name(stmt, i));
    std::vector<std::vector<QVariant>> rows;
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(columnValue(stmt, i));
        rows.push_back(std::move(row));
    }
    if (step != SQLITE_DONE)
        fail();
    if (changedRows)
        *changedRows = sqlite3_stmt_readonly(stmt) ? 0 : sqlite3_changes(m_handle);
    return Recordset(std::move(labels), std::move(rows));
}

Transaction::Transaction(Database& conn, Lock lock) : m_conn(conn) {
    m_conn.executeNative(lock == Lock::Immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

bool Transaction::active() const { return m_open && m_conn.m_handle && !sqlite3_get_autocommit(m_conn.m_handle); }

Transaction::~Transaction() {
    if (!m_open || !m_conn.m_handle)
        return;
    // A failed statement may already have ended the transaction; then there is nothing left to undo.
    if (!sqlite3_get_autocommit(m_conn.m_handle))
        sqlite3_exec(m_conn.m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    m_conn.executeNative(QStringLiteral("COMMIT"));
    m_open = false;
}

void Database::Execute(const QString& jetSql) { executeNative(translate(jetSql)); }

void Database::executeNative(const QString& sqliteSql) {
    if (!m_handle)
        throw DbError(errors::kObjectClosed, QStringLiteral("Objekt ungültig oder nicht mehr festgelegt."));
    const QByteArray utf8 = sqliteSql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_handle, utf8.constData(), static_cast<int>(utf8.size()), &stmt, &tail) != SQLITE_OK)
        fail();
    const Finalizer finalizer{stmt};
    if (!stmt || !onlyBlanks(tail))
        throw DbError(errors::kTextAfterStatement, QStringLiteral("Genau eine SQL-Anweisung erwartet."));
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (step != SQLITE_DONE)
        fail();
}

void CompactDatabase(const QString& source, const QString& target) {
    sqlite3* handle = openRawConnection(source, false);
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(handle, "VACUUM INTO ?1", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray t = target.toUtf8();
        sqlite3_bind_text(stmt, 1, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(stmt);
    }
    const QString message = engineMessage(handle);
    sqlite3_finalize(stmt);
    sqlite3_close_v2(handle);
    if (rc != SQLITE_DONE)
        throw DbError(rc, message);
}

} // namespace db
