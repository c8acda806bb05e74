// Generated cards added to a catalogue, for large pools.
#include "tests/helpers/generatedcatalogue.h"

#include "db/database.h"

#include <sqlite3.h>

namespace testing {

void growCatalogue(const QString& databasePath, int cards) {
    static const char* const factions[] = {"Orvane", "Sivar", "Quenta", "Bramel", "Tolven", "Garsk", "Umbrel", "Korval"};
    static const char* const types[] = {"Charakter", "Verstärkung", "Unterstützung", "Ereignis", "Ort", "Artefakt"};
    static const char* const first[] = {"Nebel", "Eisen", "Sturm", "Dorn", "Asche", "Stein", "Glut", "Moor",
                                        "Schatten", "Birken", "Öd", "Winter", "Silber", "Blut", "Morgen", "Feuer"};
    static const char* const second[] = {"krähe", "wolf", "falke", "klinge", "rabe", "wacht", "hüter", "dorn",
                                         "bär", "reiter", "schwur", "ruf", "mauer", "hand", "quelle", "fürst"};
    sqlite3* h = db::openRawConnection(databasePath, false);
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h,
                       "INSERT INTO KARTEN (NAME, \"SET\", FRAKTION, NUMMER, KARTENART, STFEUER, STERDE, ABFEUER, ABERDE, "
                       "SONDER, MONDE, FREI, PAAR, STOP, GANG) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 0, 'Text', ?9, ?10, ?11, 0, '-')",
                       -1, &st, nullptr);
    for (int i = 0; i < cards; ++i) {
        const QByteArray name = (QString::fromUtf8(first[(i / 16) % 16]) + QString::fromUtf8(second[i % 16]) +
                                 QStringLiteral(" %1").arg(i, 6, 10, QLatin1Char('0')))
                                    .toUtf8();
        const QByteArray number = QStringLiteral("GEN %1").arg(i, 6, 10, QLatin1Char('0')).toUtf8();
        const char* faction = factions[i % 8];
        const char set[2] = {faction[0], 0};
        sqlite3_bind_text(st, 1, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, set, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, faction, -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 4, number.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 5, types[i % 6], -1, SQLITE_STATIC);
        if (i % 7 == 0)
            sqlite3_bind_null(st, 6);
        else
            sqlite3_bind_int(st, 6, i % 7);
        sqlite3_bind_int(st, 7, (i / 3) % 6);
        sqlite3_bind_int(st, 8, i % 5 == 0 ? -1 : 0);
        sqlite3_bind_int(st, 9, i % 4);
        sqlite3_bind_int(st, 10, i % 9 == 0 ? -1 : 0);
        sqlite3_bind_int(st, 11, i % 11 == 0 ? -1 : 0);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(h);
}

} // namespace testing
