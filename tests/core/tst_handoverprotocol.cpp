// What a later start sends to the running program, and the test hook's script and log.
#include "core/handovermessage.h"
#include "core/handoverplace.h"
#include "core/sessionscript.h"
#include "tests/helpers/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

class TstHandOverProtocol : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aMessageArrivesWholeOrInPieces() {
        for (const QString& path : {QStringLiteral("/home/p/Decks/mein deck.drd"), QStringLiteral("/tmp/Übergabe\nzwei.drd"),
                                    QString()}) {
            const QByteArray message = core::encodeHandOver(path);
            for (qsizetype cut = 0; cut < message.size(); ++cut) {
                QString got = QStringLiteral("untouched");
                QCOMPARE(core::decodeHandOver(message.left(cut), &got), core::HandOverParse::Incomplete);
                QCOMPARE(got, QStringLiteral("untouched"));
            }
            QString got;
            QCOMPARE(core::decodeHandOver(message, &got), core::HandOverParse::Complete);
            QCOMPARE(got, path);
        }
    }

    void foreignOrOversizedMessagesAreRefused() {
        QString got;
        QCOMPARE(core::decodeHandOver("GET / HTTP/1.1\r\n", &got), core::HandOverParse::Invalid);
        QCOMPARE(core::decodeHandOver(core::encodeHandOver(QStringLiteral("/a.drd")) + "x", &got), core::HandOverParse::Invalid);
        QCOMPARE(core::decodeHandOver("DRAVENNA-HANDOVER 1\n-1\n", &got), core::HandOverParse::Invalid);
        QCOMPARE(core::decodeHandOver("DRAVENNA-HANDOVER 1\n99999999999\n", &got), core::HandOverParse::Invalid);
        QCOMPARE(core::decodeHandOver("DRAVENNA-HANDOVER 1\n123456789012345", &got), core::HandOverParse::Invalid);
        QCOMPARE(core::decodeHandOver(QByteArray("DRAVENNA-HANDOVER 1\n3\na\0b", 25), &got), core::HandOverParse::Invalid);
        QCOMPARE(core::decodeHandOver(QByteArray(core::kMaxHandOverBytes + 1, 'D'), &got), core::HandOverParse::Invalid);
        QVERIFY(got.isEmpty());
    }

    void theDeckPathIsTakenFromTheStartsFolder() {
        QCOMPARE(core::handedOverDeckPath({QStringLiteral("prog")}, QStringLiteral("/home/p")), QString());
        QCOMPARE(core::handedOverDeckPath({QStringLiteral("prog"), QStringLiteral("\"")}, QStringLiteral("/home/p")), QString());
        QCOMPARE(core::handedOverDeckPath({QStringLiteral("prog"), QStringLiteral("decks/a.drd")}, QStringLiteral("/home/p")),
                 QStringLiteral("/home/p/decks/a.drd"));
        QCOMPARE(core::handedOverDeckPath({QStringLiteral("prog"), QStringLiteral("\"../b c.drd\"")}, QStringLiteral("/home/p")),
                 QStringLiteral("/home/b c.drd"));
        QCOMPARE(core::handedOverDeckPath({QStringLiteral("prog"), QStringLiteral("/x/y.drd")}, QStringLiteral("/home/p")),
                 QStringLiteral("/x/y.drd"));
    }

    void eachDatabaseHasOneSocketNameWhicheverPathLeadsToIt() {
        QTemporaryDir tmp;
        // The data folder reached through a symlinked share folder, before and after its database exists.
        const QString real = tmp.filePath(QStringLiteral("real/DravennaDeckBuilder"));
        QVERIFY(QDir().mkpath(real));
        QVERIFY(QFile::link(tmp.filePath(QStringLiteral("real")), tmp.filePath(QStringLiteral("share"))));
        const QString viaLink = tmp.filePath(QStringLiteral("share/DravennaDeckBuilder/dravennacard.db"));
        const QString name = core::handOverSocketName(viaLink);
        testing::writeFile(real + QStringLiteral("/dravennacard.db"), "x");
        QCOMPARE(core::handOverSocketName(viaLink), name);
        QCOMPARE(core::handOverSocketName(real + QStringLiteral("/../DravennaDeckBuilder/dravennacard.db")), name);
        QVERIFY(name != core::handOverSocketName(tmp.filePath(QStringLiteral("other/dravennacard.db"))));
    }

    // The socket lies in $XDG_RUNTIME_DIR while that is private, else in the cache folder; a folder
    // someone else could enter or replace is never used.
    void theSocketLiesOnlyInAPrivateFolder() {
        QTemporaryDir tmp;
        const QString run = tmp.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(run));
        QVERIFY(::chmod(QFile::encodeName(run).constData(), 0700) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("cache"))));
        const QString db = tmp.filePath(QStringLiteral("dravennacard.db"));
        const QString name = core::handOverSocketName(db);
        const QString inRun = run + QStringLiteral("/DravennaDeckBuilder");
        const QString inCache = tmp.filePath(QStringLiteral("cache/DravennaDeckBuilder"));
        QString why;
        QCOMPARE(core::handOverListenPath(db, &why), inRun + u'/' + name);
        struct stat made {};
        QVERIFY(::stat(QFile::encodeName(inRun).constData(), &made) == 0);
        QCOMPARE(made.st_mode & 07777, 0700u);
        QCOMPARE(core::handOverConnectPaths(db, &why), QStringList{inRun + u'/' + name}); // the cache folder not made yet

        const QList<std::pair<std::function<void()>, QString>> spoiled{
            {[&] { ::chmod(QFile::encodeName(inRun).constData(), 0755); }, QStringLiteral("Der Ordner %1 ist für andere Benutzer offen.")},
            {[&] { QVERIFY(::chown(QFile::encodeName(inRun).constData(), 65534, 65534) == 0); },
             QStringLiteral("Der Ordner %1 gehört einem anderen Benutzer.")},
            {[&] {
                 QVERIFY(QDir(inRun).removeRecursively());
                 QVERIFY(QFile::link(tmp.path(), inRun));
             },
             QStringLiteral("%1 ist ein symbolischer Verweis, kein eigener Ordner.")},
            {[&] {
                 QVERIFY(QFile::remove(inRun));
                 testing::writeFile(inRun, "");
             },
             QStringLiteral("%1 ist kein Ordner.")},
        };
        for (const auto& [spoil, problem] : spoiled) {
            spoil();
            QCOMPARE(core::privateFolderProblem(inRun), problem.arg(inRun));
            QCOMPARE(core::handOverListenPath(db, &why), inCache + u'/' + name);
            QCOMPARE(core::handOverConnectPaths(db, &why), QStringList{inCache + u'/' + name});
        }
        // A runtime folder open to others is not used at all.
        QVERIFY(QFile::remove(inRun));
        QVERIFY(::chmod(QFile::encodeName(run).constData(), 01777) == 0);
        QCOMPARE(core::handOverListenPath(db, &why), inCache + u'/' + name);
        QVERIFY(!QFile::exists(inRun));
        // Nowhere private: the reason instead of a path.
        QVERIFY(::chmod(QFile::encodeName(inCache).constData(), 0770) == 0);
        why.clear();
        QCOMPARE(core::handOverListenPath(db, &why), QString());
        QCOMPARE(why, QStringLiteral("Der Ordner %1 ist für andere Benutzer offen.").arg(inCache));
        QCOMPARE(core::handOverConnectPaths(db, &why), QStringList{});
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_CACHE_HOME");
    }

    void theSessionScriptAnswersInTurnAndLogsEveryBox() {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("script"));
        const QString log = dir.filePath(QStringLiteral("log"));
        testing::writeFile(script, "# the player\nawait\nanswer Yes\nmenu mnuSpeichern\nfile /tmp/a b.drd\nanswer No\nfile\nclose\n");
        core::SessionScript s(script, log);
        QCOMPARE(s.error(), QString());
        QCOMPARE(s.takeAction()->verb, QStringLiteral("await"));
        // The next line answers a box: no action until it is shown.
        QVERIFY(!s.takeAction());
        QCOMPARE(s.message(QStringLiteral("Frage?\r\nZeile"), QStringLiteral("Titel"), core::Icon::Question, core::Buttons::YesNo),
                 core::Answer::Yes);
        // An OK box does not use up the script's next line.
        QCOMPARE(s.message(QStringLiteral("Info"), QStringLiteral("T\tab"), core::Icon::Information, core::Buttons::Ok),
                 core::Answer::Ok);
        const auto menu = s.takeAction();
        QCOMPARE(menu->verb, QStringLiteral("menu"));
        QCOMPARE(menu->argument, QStringLiteral("mnuSpeichern"));
        core::FileDialogState state;
        state.dialogTitle = QStringLiteral("Dravenna-Deck speichern");
        state.initDir = QStringLiteral("/home/p");
        QVERIFY(s.fileDialog(state, true));
        QCOMPARE(state.fileName, QStringLiteral("/tmp/a b.drd"));
        QCOMPARE(s.message(QStringLiteral("Wirklich?"), QStringLiteral("X"), core::Icon::Question, core::Buttons::YesNo),
                 core::Answer::No);
        QVERIFY(!s.fileDialog(state, false));
        QCOMPARE(s.takeAction()->verb, QStringLiteral("close"));
        // Past the script's end a question gets the answer that changes nothing.
        QCOMPARE(s.message(QStringLiteral("Noch?"), QStringLiteral("Y"), core::Icon::Question, core::Buttons::YesNo), core::Answer::No);

        const QStringList lines = QString::fromUtf8(testing::readFile(log)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 9);
        QCOMPARE(core::SessionScript::parseLogLine(lines[0]), (QStringList{u"step"_qs, u"await"_qs, QString()}));
        QCOMPARE(core::SessionScript::parseLogLine(lines[1]),
                 (QStringList{u"message"_qs, u"Titel"_qs, u"Frage?\r\nZeile"_qs, u"Question"_qs, u"YesNo"_qs, u"Yes"_qs}));
        QCOMPARE(core::SessionScript::parseLogLine(lines[2]),
                 (QStringList{u"message"_qs, u"T\tab"_qs, u"Info"_qs, u"Information"_qs, u"Ok"_qs, u"Ok"_qs}));
        QCOMPARE(core::SessionScript::parseLogLine(lines[4]),
                 (QStringList{u"file"_qs, u"Dravenna-Deck speichern"_qs, u"save"_qs, u"/home/p"_qs, u"/tmp/a b.drd"_qs}));
        QCOMPARE(core::SessionScript::parseLogLine(lines[8]),
                 (QStringList{u"message"_qs, u"Y"_qs, u"Noch?"_qs, u"Question"_qs, u"YesNo"_qs, u"unscripted"_qs}));
    }

    void anUnknownStepIsRefused() {
        QTemporaryDir dir;
        testing::writeFile(dir.filePath(QStringLiteral("s")), "answer Yes\nclick somewhere\n");
        core::SessionScript s(dir.filePath(QStringLiteral("s")), QString());
        QCOMPARE(s.error(), QStringLiteral("unknown step: click somewhere"));
        QVERIFY(!core::SessionScript(dir.filePath(QStringLiteral("missing")), QString()).error().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstHandOverProtocol)
#include "tst_handoverprotocol.moc"
