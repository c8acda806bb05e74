// Whether a card database file is whole: it opens, passes SQLite's quick check and has the program's tables.
#include "db/cataloguecheck.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/enginemessages.h"

#include <QFileInfo>
#include <QSet>
#include <sqlite3.h>

namespace db {

namespace {

// The rows' first column as text; throws with the engine's message when the statement fails.
QStringList firstColumn(sqlite3* handle, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    QStringList values;
    int rc = sqlite3_prepare_v2(handle, sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        throw DbError(rc, germanEngineMessage(QString::fromUtf8(sqlite3_errmsg(handle))));
    return values;
}

} // namespace

QString catalogueProblem(const QString& path) {
    if (!QFileInfo(path).isFile())
        return QStringLiteral("Die Datei %1 fehlt.").arg(path);
    // A connection of its own, not the program's: the schema a damaged file shows must not be
    // remembered for the whole one that replaces it.
    sqlite3* handle = nullptr;
    try {
        handle = openRawConnection(path, Access::ReadWrite);
        const QStringList check = firstColumn(handle, "PRAGMA quick_check");
        QString problem;
        if (check != QStringList{QStringLiteral("ok")})
            problem = QStringLiteral("Die Datei ist beschädigt (%1).").arg(check.value(0));
        const QStringList names = firstColumn(handle, "SELECT upper(name) FROM sqlite_schema WHERE type = 'table'");
        const QSet<QString> tables(names.begin(), names.end());
        for (const char* table : {"KARTEN", "DECK", "ANFUEHRER", "INQUISITOR", "FRAKTIONEN", "KARTENART"})
            if (problem.isEmpty() && !tables.contains(QLatin1String(table)))
                problem = QStringLiteral("Die Tabelle %1 fehlt.").arg(QLatin1String(table));
        sqlite3_close(handle);
        return problem;
    } catch (const DbError& e) {
        sqlite3_close(handle);
        return e.description();
    }
}

} // namespace db
