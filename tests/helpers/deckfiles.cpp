// Deck files written as the program writes them.
#include "tests/helpers/deckfiles.h"

#include "db/database.h"

namespace testing {

QByteArray deckFileFor(const QString& databasePath, const QString& leader, int cards) {
    auto conn = db::Database::OpenDatabase(databasePath);
    auto head = conn->OpenRecordset(QStringLiteral("SELECT NUMMER, FRAKTION FROM ANFUEHRER WHERE NAME = '%1'").arg(leader));
    QByteArray text = head.Fields(0).toString().toLatin1() + "\r\n\r\n";
    auto rs = conn->OpenRecordset(QStringLiteral("SELECT NUMMER FROM KARTEN WHERE FRAKTION = '%1' "
                                                 "ORDER BY NUMMER")
                                      .arg(head.Fields(1).toString()));
    QStringList numbers;
    for (; !rs.Eof() && numbers.size() < cards; rs.MoveNext())
        numbers << rs.Fields(0).toString();
    for (const QString& n : numbers)
        text += n.toLatin1() + "\r\n";
    return text;
}

} // namespace testing
