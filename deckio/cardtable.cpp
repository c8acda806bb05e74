#include "deckio/cardtable.h"
#include "deckio/deckfile.h"

#include "core/programdir.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "db/database.h"
#include "db/gridmodel.h"
#include "db/jetfunctions.h"
#include "db/queries.h"

#include <algorithm>

namespace deckio {

namespace {

const QString kSection = QStringLiteral("frmCardTableData");

QStringList column(db::Database& conn, const QString& sql) {
    QStringList values;
    for (auto rs = conn.OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
        values << db::cellText(rs.Fields(0));
    return values;
}

bool containsNumber(const QStringList& numbers, const QString& number) {
    // The catalogue compares numbers without regard to case; CardTable may spell them either way.
    return std::any_of(numbers.begin(), numbers.end(), [&](const QString& n) { return db::jetCompare(n, number) == 0; });
}

} // namespace

QString CardTableLocation::fullPath() const { return core::joinPath(path, fileName); }

CardTableLocation storedCardTableLocation() {
    const auto s = core::openSettings(kSection);
    return {s->value(QStringLiteral("Path")).toString(), s->value(QStringLiteral("FileName")).toString()};
}

void storeCardTableLocation(const CardTableLocation& location) {
    const auto s = core::openSettings(kSection);
    s->setValue(QStringLiteral("FileName"), location.fileName);
    s->setValue(QStringLiteral("Path"), location.path);
}

bool isBackLine(const QByteArray& line) { return line.left(4).toLower() == "back"; }

bool isCardLine(const QByteArray& line, Qt::CaseSensitivity cs) {
    return (cs == Qt::CaseSensitive ? line.left(4) : line.left(4).toLower()) == "card";
}

QString cardTableNumber(const QString& line) {
    const qsizetype q1 = line.indexOf(u'"');
    const qsizetype q2 = q1 < 0 ? -1 : line.indexOf(u'"', q1 + 1);
    if (q2 < 0)
        throw db::DbError(5, QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"));
    const qsizetype slash = line.lastIndexOf(u'/', q2);
    QString id = line.mid(slash + 1, q2 - slash - 1);
    for (qsizetype i = 0; i < id.size(); ++i) {
        if (id[i] >= u'0' && id[i] <= u'9') {
            id.insert(i, u' ');
            break;
        }
    }
    return id;
}

QByteArray buildCardTableDeck(db::Database& conn, const QByteArray& cardData, const QString& leaderName,
                              const QString& inquisitorName) {
    // Looked up once: the data file may hold thousands of card lines.
    const QStringList deckNumbers = column(conn, QStringLiteral("SELECT NUMMER FROM DECK"));
    const QStringList leaderNumbers = column(
        conn, QStringLiteral("SELECT NUMMER FROM ANFUEHRER WHERE NAME='") + db::quoted(leaderName) + QStringLiteral("'"));
    const QStringList inquisitorNumbers = column(
        conn, QStringLiteral("SELECT NUMMER FROM INQUISITOR WHERE NAME='") + db::quoted(inquisitorName) + QStringLiteral("'"));

    QByteArray back;
    QByteArray cards;
    QByteArray leader;
    QByteArray inquisitor;
    for (const QByteArray& line : core::splitLines(cardData)) {
        if (isBackLine(line))
            back = line;
        if (!isCardLine(line, Qt::CaseInsensitive))
            continue;
        QString number;
        try {
            number = cardTableNumber(core::decodeText(line));
        } catch (const db::DbError& e) {
            throw CardTableLineError(e, core::decodeText(line));
        }
        const QByteArray entry = back + "\r\n" + line + " 1\r\n";
        if (containsNumber(deckNumbers, number))
            cards += entry;
        if (containsNumber(leaderNumbers, number))
            leader += entry;
        if (containsNumber(inquisitorNumbers, number))
            inquisitor += entry;
    }
    return cards + leader + inquisitor;
}

void importCardTableDeck(db::Database& conn, const QByteArray& deckFile, const CardTableChoices& choose) {
    for (const QByteArray& line : core::splitLines(deckFile)) {
        if (!isCardLine(line, Qt::CaseSensitive))
            continue;
        const QString number = cardTableNumber(core::decodeText(line));
        insertCard(conn, number);
        if (const QString leader = leaderNameForNumber(conn, number); !leader.isEmpty())
            choose.leader(leader);
        if (const QString inquisitor = inquisitorNameForNumber(conn, number); !inquisitor.isEmpty())
            choose.inquisitor(inquisitor);
    }
}

} // namespace deckio
