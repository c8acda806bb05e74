// What a later start sends to the running program, and the test hook's script and log.
#include "core/handovermessage.h"
#include "core/sessionscript.h"
#include "tests/helpers/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest/QTest>

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

    void eachDatabaseHasItsOwnSocketName() {
        const QString a = core::handOverName(QStringLiteral("/opt/a/dravennacard.db"));
        QCOMPARE(a, core::handOverName(QStringLiteral("/opt/a/../a/dravennacard.db")));
        QVERIFY(a != core::handOverName(QStringLiteral("/opt/b/dravennacard.db")));
        // Short enough for a socket path in any temporary folder.
        QVERIFY(a.size() < 60);
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
