#pragma once

#include "core/instancelock.h"
#include "core/textfile.h"
#include "db/database.h"
#include "db/queries.h"
#include "deckio/cardtable.h"
#include "deckio/deckfile.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <sqlite3.h>
#include <sys/resource.h>

namespace clitest {

inline QString toolPath() {
    return testing::builtProgramDir() + QStringLiteral("/dravenna-deck");
}

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// The tool with its own HOME and settings folder, so that nothing of the tester's leaks in.
inline Run tool(const QStringList& args, const QString& home, const std::function<void()>& inChild = {},
         const QString& program = toolPath()) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    p.setProcessEnvironment(env);
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// A failure reports itself in one German line on standard error and writes nothing to standard output.
inline bool failedWithOneLine(const Run& r, int code, const QString& text) {
    const QString err = QString::fromUtf8(r.err);
    const bool ok = r.code == code && r.out.isEmpty() && err.count(u'\n') == 1 && err.endsWith(u'\n') &&
                    err.startsWith(QStringLiteral("dravenna-deck: ")) && err.contains(text);
    if (!ok)
        qWarning("exit %d, stdout %s, stderr %s", r.code, r.out.left(200).constData(), r.err.constData());
    return ok;
}

inline QStringList column(db::Database& conn, const QString& sql) {
    QStringList values;
    for (auto rs = conn.OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
        values << rs.Fields(0).toString();
    return values;
}

inline QByteArray sha(const QString& path) {
    return QCryptographicHash::hash(testing::readFile(path), QCryptographicHash::Sha256);
}


// Each test gets its own program folder and HOME.
class CliTest : public QObject {
protected:
    std::unique_ptr<testing::TestProgramDir> m_dir;
    QString m_home;
    QString db() const { return m_dir->databasePath(); }
    QString file(const QString& name) const { return m_dir->filePath(name); }

    QString deckFile(const QString& name, const QString& leaderNumber, const QString& inquisitorNumber,
                     const QStringList& cards) {
        deckio::DeckFileContent content;
        content.leaderNumber = leaderNumber;
        content.inquisitorNumber = inquisitorNumber;
        content.cardNumbers = cards;
        testing::writeFile(file(name), deckio::encodeDeckFile(content));
        return file(name);
    }

    // The decks of the checks: Harald allows 40 cards and 12 foreign moons; Vater Odo adds 10 cards,
    // Isaura 4 moons.
    QStringList fewOrvane() {
        auto conn = db::Database::OpenDatabase(db());
        return column(*conn,
                      QStringLiteral("SELECT NUMMER FROM KARTEN WHERE FRAKTION = 'Orvane' ORDER BY NUMMER"))
            .mid(0, 10);
    }
    QStringList fortyOneCards() {
        auto conn = db::Database::OpenDatabase(db());
        QStringList cards = column(
            *conn, QStringLiteral("SELECT NUMMER FROM KARTEN WHERE FRAKTION = 'Orvane' ORDER BY NUMMER"));
        cards +=
            column(*conn,
                   QStringLiteral(
                       "SELECT NUMMER FROM KARTEN WHERE FRAKTION <> 'Orvane' AND MONDE = 0 ORDER BY NUMMER"))
                .mid(0, 41 - cards.size());
        return cards;
    }
    QStringList thirteenForeignMoons() {
        auto conn = db::Database::OpenDatabase(db());
        return column(*conn,
                      QStringLiteral("SELECT NUMMER FROM KARTEN WHERE FRAKTION = 'Orvane' ORDER BY NUMMER"))
                   .mid(0, 5) +
               column(
                   *conn,
                   QStringLiteral(
                       "SELECT NUMMER FROM KARTEN WHERE FRAKTION <> 'Orvane' AND MONDE = 1 ORDER BY NUMMER"))
                   .mid(0, 13);
    }

    // CardTable's card data for the whole catalogue: a back line per faction, a card line per card,
    // names in Windows-1252.
    QString cardTableData() {
        auto conn = db::Database::OpenDatabase(db());
        QByteArray data = "# Dravenna fuer CardTable\r\n";
        for (const char* table : {"KARTEN", "ANFUEHRER", "INQUISITOR"}) {
            QString back;
            for (auto rs = conn->OpenRecordset(
                     QStringLiteral("SELECT NUMMER, NAME FROM %1 ORDER BY NUMMER").arg(QLatin1String(table)));
                 !rs.Eof(); rs.MoveNext()) {
                const QString number = rs.Fields(0).toString();
                const QString group = number.section(u' ', 0, 0);
                if (group != back) {
                    back = group;
                    data += "back \"bilder/" + group.toLatin1() + "_ruecken.jpg\"\r\n";
                }
                data +=
                    core::encodeText(QStringLiteral("card \"bilder/%1/%2\" \"%3\"")
                                         .arg(group, QString(number).remove(u' '), rs.Fields(1).toString())) +
                    "\r\n";
            }
        }
        testing::writeFile(file(QStringLiteral("karten.txt")), data);
        return file(QStringLiteral("karten.txt"));
    }

    // What the window does with the deck: loaded from the command line, then one menu entry into a file.
    QByteArray programWrites(const QString& deck, const char* entry, const QString& target,
                             const QString& cardTableData = QString()) {
        testing::MainWindowFixture f;
        if (!cardTableData.isEmpty())
            deckio::storeCardTableLocation(
                {QFileInfo(cardTableData).absolutePath(), QFileInfo(cardTableData).fileName()});
        f.start(deck);
        f.prompter.choose(target);
        f.trigger(entry);
        return testing::readFile(target);
    }

    void setUp() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        m_home = file(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(m_home + QStringLiteral("/config")));
    }
};

} // namespace clitest
