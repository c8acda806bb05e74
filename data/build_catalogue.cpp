// Build-time tool: creates the card database from the SQL text files, with the program's collation
// registered so that the tables can declare it.
#include "db/database.h"
#include "db/dberror.h"

#include <QFile>
#include <cstdio>
#include <sqlite3.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: build_catalogue <target.db> <file.sql>...\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    QFile::remove(target);
    try {
        sqlite3* handle = db::openRawConnection(target, true);
        for (int i = 2; i < argc; ++i) {
            QFile file(QString::fromLocal8Bit(argv[i]));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", argv[i]);
                sqlite3_close(handle);
                return 1;
            }
            char* error = nullptr;
            if (sqlite3_exec(handle, file.readAll().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
                std::fprintf(stderr, "%s: %s\n", argv[i], error);
                sqlite3_free(error);
                sqlite3_close(handle);
                QFile::remove(target);
                return 1;
            }
        }
        sqlite3_close(handle);
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
