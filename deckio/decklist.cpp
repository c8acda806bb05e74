// The plain-text deck list.
#include "deckio/decklist.h"

#include "core/errornumbers.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/queries.h"
#include "deck/entrynames.h"
#include "core/textfile.h"

namespace deckio {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString field(const db::Recordset& rs, const char* column) {
    return db::cellText(rs.Fields(QString::fromLatin1(column)));
}

[[noreturn]] void invalidArgument() {
    throw db::DbError(core::errors::kInvalidArgument, QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"));
}

} // namespace

QString buildDeckList(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry) {
    QString text;
    if (!leaderEntry.contains(QStringLiteral(" (")))
        invalidArgument();
    QString leaderFaction;
    {
        const QString name = db::quoted(deck::leaderName(leaderEntry));
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM ANFUEHRER WHERE NAME='") + name + QStringLiteral("' "));
        if (rs.RecordCount() > 0) {
            leaderFaction = field(rs, "FRAKTION");
            text += QStringLiteral("ANFÜHRER: ") + field(rs, "NAME") + QStringLiteral(" (") + leaderFaction + u')' + kCrLf;
            text += QString(10, u' ') + field(rs, "KARTEN") + QStringLiteral(" Karten / ") + field(rs, "MONDE") +
                    QStringLiteral(" Monde") + kCrLf;
        }
    }
    if (!inquisitorEntry.isEmpty() && inquisitorEntry != deck::kNoInquisitor) {
        const QString name = db::quoted(deck::inquisitorName(inquisitorEntry));
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM INQUISITOR WHERE NAME='") + name + QStringLiteral("' "));
        if (rs.RecordCount() > 0) {
            text += QStringLiteral("INQUISITOR: ") + field(rs, "NAME") + kCrLf;
            text += QString(12, u' ') + u'+' + field(rs, "KARTEN") + QStringLiteral(" Karten / +") + field(rs, "MONDE") +
                    QStringLiteral(" Monde") + kCrLf;
        }
    }

    QString previousType;
    bool first = true;
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM DECK ORDER BY KARTENART,FRAKTION,NUMMER,NAME")); !rs.Eof();
         rs.MoveNext()) {
        const QString type = field(rs, "KARTENART");
        if (first || type != previousType) {
            first = false;
            previousType = type;
            auto count = conn.OpenRecordset(QStringLiteral("SELECT COUNT(NAME) FROM DECK WHERE KARTENART='") + db::quoted(type) +
                                            QStringLiteral("' "));
            text += kCrLf + type.toUpper() + QStringLiteral(" (") + db::cellText(count.Fields(0)) + u')' + kCrLf;
        }
        const QString number = field(rs, "NUMMER");
        const qsizetype blank = number.indexOf(u' ');
        if (blank < 0)
            invalidArgument();
        text += number.left(blank) + QStringLiteral(" (") + number.mid(blank + 1) + QStringLiteral("): ") + field(rs, "NAME") +
                QStringLiteral(" (") + field(rs, "SET") + u')' + kCrLf;
    }

    text += kCrLf;
    text += QStringLiteral("Anzahl Karten: ") +
            db::cellText(conn.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0)) + kCrLf;
    text += QStringLiteral("Anzahl Monde:  ") +
            db::cellText(conn.OpenRecordset(QStringLiteral("SELECT SUM(MONDE) FROM DECK WHERE FRAKTION <> '") +
                                            db::quoted(leaderFaction) + QStringLiteral("' "))
                             .Fields(0)) +
            kCrLf;
    return text;
}

} // namespace deckio

namespace deckio {

QByteArray encodeDeckListFile(const QString& text) { return core::encodeText(text + QStringLiteral("\r\n")); }

} // namespace deckio
