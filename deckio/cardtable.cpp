// CardTable's files: its card data, the decks built from it and read back, where its data lies.
#include "deckio/cardtable.h"
#include "core/errornumbers.h"
#include "deck/entrynames.h"

#include "core/programdir.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "db/database.h"
#include "db/jetfunctions.h"
#include "db/queries.h"


namespace deckio {

namespace {

const QString kSection = QStringLiteral("frmCardTableData");

QStringList column(db::Database& conn, const QString& sql) {
    QStringList values;
    for (auto rs = conn.OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
        values << db::cellText(rs.Fields(0));
    return values;
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
        throw db::DbError(core::errors::kInvalidArgument, QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"));
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
    // The catalogue compares numbers without regard to case; CardTable may spell them either way.
    const deck::NumberIndex deckNumbers(column(conn, QStringLiteral("SELECT NUMMER FROM DECK")));
    const deck::NumberIndex leaderNumbers(column(
        conn, QStringLiteral("SELECT NUMMER FROM ANFUEHRER WHERE NAME='") + db::quoted(leaderName) + QStringLiteral("'")));
    const deck::NumberIndex inquisitorNumbers(column(
        conn, QStringLiteral("SELECT NUMMER FROM INQUISITOR WHERE NAME='") + db::quoted(inquisitorName) + QStringLiteral("'")));

    core::LineDecoder decode;
    QByteArray back;
    QByteArray cards;
    QByteArray leader;
    QByteArray inquisitor;
    for (const QByteArray& line : core::splitLines(cardData)) {
        if (isBackLine(line))
            back = line;
        // A card line with a NUL byte in it names no card.
        if (!isCardLine(line, Qt::CaseInsensitive) || line.contains('\0'))
            continue;
        QString number;
        try {
            number = cardTableNumber(decode(line));
        } catch (const db::DbError& e) {
            throw CardTableLineError(e, decode(line));
        }
        const QByteArray entry = back + "\r\n" + line + " 1\r\n";
        if (deckNumbers.contains(number))
            cards += entry;
        if (leaderNumbers.contains(number))
            leader += entry;
        if (inquisitorNumbers.contains(number))
            inquisitor += entry;
    }
    return cards + leader + inquisitor;
}

QByteArray encodeCardTableFile(const QByteArray& content) { return content + "\r\n"; }

CardTableDeck parseCardTableDeck(const QByteArray& deckFile) {
    core::LineDecoder decode;
    CardTableDeck deck;
    for (const QByteArray& line : core::splitLines(deckFile)) {
        // A card line with a NUL byte in it names no card: it is passed over like an unknown number.
        if (!isCardLine(line, Qt::CaseSensitive) || line.contains('\0'))
            continue;
        try {
            deck.numbers << cardTableNumber(decode(line));
        } catch (const db::DbError& e) {
            deck.failure = e;
            break;
        }
    }
    return deck;
}

} // namespace deckio
