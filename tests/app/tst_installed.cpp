// The program as players get it: installed into a prefix and started as a separate process.
// A session script (core/sessionscript.h) stands in for the player's clicks and answers.
#include "core/sessionscript.h"
#include "db/database.h"
#include "tests/helpers/deckfiles.h"
#include "tests/helpers/testfiles.h"
#include "tests/helpers/testprogramdir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

QString installedProgramDir(const QString& root) { return root + QStringLiteral("/usr/lib/dravenna-deckbuilder"); }

QList<QStringList> logOf(const QString& path) {
    QList<QStringList> lines;
    for (const QString& line : QString::fromUtf8(testing::readFile(path)).split(u'\n', Qt::SkipEmptyParts))
        lines << core::SessionScript::parseLogLine(line);
    return lines;
}

// The texts of the message boxes in a log, in order.
QStringList messagesIn(const QString& log) {
    QStringList texts;
    for (const QStringList& fields : logOf(log))
        if (fields.value(0) == u"message")
            texts << fields.value(2);
    return texts;
}

bool logHas(const QString& log, const QStringList& fields) { return logOf(log).contains(fields); }

void setWritable(const QString& root, bool writable) {
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString& p : paths) {
        const QByteArray native = QFile::encodeName(p);
        struct stat st {};
        if (::lstat(native.constData(), &st) != 0 || S_ISLNK(st.st_mode))
            continue;
        ::chmod(native.constData(), writable ? (st.st_mode | S_IWUSR) : (st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)));
    }
}

void giveToPlayer(const QString& path) {
    if (::geteuid() == 0)
        QVERIFY(::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0);
}

qint64 deckRowsIn(const QString& db) {
    return db::Database::OpenDatabase(db)->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toLongLong();
}

ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class TstInstalled : public QObject {
    Q_OBJECT

    // One start of the program: its own HOME, the offscreen platform, a session script. Run as an
    // unprivileged user when the test runs as root, for whom no folder is read-only.
    struct Start {
        QProcess process;
        QString log;

        Start(const QString& program, const QStringList& args, const QString& home, const QString& script, const QString& logPath,
              bool asPlayer, const QString& workingDir = QString()) {
            log = logPath;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"})
                env.remove(QString::fromLatin1(name));
            env.insert(QStringLiteral("HOME"), home);
            env.insert(QStringLiteral("TMPDIR"), home + QStringLiteral("/tmp"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("DRAVENNA_SESSION_SCRIPT"), script);
            env.insert(QStringLiteral("DRAVENNA_SESSION_LOG"), logPath);
            process.setProcessEnvironment(env);
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            if (!workingDir.isEmpty())
                process.setWorkingDirectory(workingDir);
            if (asPlayer && ::geteuid() == 0) {
                process.setChildProcessModifier([] {
                    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                        ::_exit(125);
                });
            }
            process.start(program, args);
        }
        bool finished(int ms = 60000) { return process.waitForFinished(ms); }
        // Waits until the program's log holds this line (the script's steps are logged as taken).
        bool reached(const QStringList& fields, int ms = 30000) {
            QDeadlineTimer deadline(ms);
            while (!deadline.hasExpired() && process.state() != QProcess::NotRunning) {
                if (logHas(log, fields))
                    return true;
                QTest::qWait(50);
            }
            return logHas(log, fields);
        }
    };

    static QString script(const QString& dir, const QString& name, const QByteArray& text) {
        const QString path = dir + u'/' + name;
        testing::writeFile(path, text);
        return path;
    }

    QTemporaryDir m_tmp;
    QString m_root;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        QVERIFY(::chmod(QFile::encodeName(m_tmp.path()).constData(), 0755) == 0);
        m_root = m_tmp.filePath(QStringLiteral("root"));
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), m_root);
        install.setProcessEnvironment(env);
        install.start(QStringLiteral(DRAVENNA_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(DRAVENNA_BINARY_DIR), QStringLiteral("--prefix"), QStringLiteral("/usr")});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    }

    void theInstallPutsTheProgramFolderUnderLib() {
        const QString lib = installedProgramDir(m_root);
        QCOMPARE(QDir(lib).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("Charaktere Feuer.drfilter"), QStringLiteral("Frei.drfilter"), QStringLiteral("Ohne Feuer und Erde.drfilter"),
                              QStringLiteral("dravenna-deck"), QStringLiteral("dravenna-deckbuilder"), QStringLiteral("dravennacard.db"),
                              QStringLiteral("libDravennaRes.so")}));
        QVERIFY(QFileInfo(lib + QStringLiteral("/dravenna-deckbuilder")).isExecutable());
        QVERIFY(QFileInfo(lib + QStringLiteral("/dravenna-deck")).isExecutable());
        const QFileInfo toolLink(m_root + QStringLiteral("/usr/bin/dravenna-deck"));
        QVERIFY(toolLink.isSymLink());
        QCOMPARE(toolLink.symLinkTarget(), lib + QStringLiteral("/dravenna-deck"));
        // The catalogue as built, untouched by runs from the build folder.
        QCOMPARE(deckRowsIn(lib + QStringLiteral("/dravennacard.db")), 0);
        const QFileInfo link(m_root + QStringLiteral("/usr/bin/dravenna-deckbuilder"));
        QVERIFY(link.isSymLink());
        QCOMPARE(link.symLinkTarget(), lib + QStringLiteral("/dravenna-deckbuilder"));
        QCOMPARE(QFile::symLinkTarget(link.filePath()), QFileInfo(lib + QStringLiteral("/dravenna-deckbuilder")).canonicalFilePath());
        for (const char* file : {"/usr/share/applications/de.dravenna.deckbuilder.desktop", "/usr/share/metainfo/de.dravenna.deckbuilder.metainfo.xml",
                                 "/usr/share/mime/packages/de.dravenna.deckbuilder.xml",
                                 "/usr/share/icons/hicolor/scalable/apps/de.dravenna.deckbuilder.svg",
                                 "/usr/share/icons/hicolor/48x48/apps/de.dravenna.deckbuilder.png",
                                 "/usr/share/icons/hicolor/256x256/apps/de.dravenna.deckbuilder.png"})
            QVERIFY2(QFileInfo(m_root + QLatin1String(file)).isFile(), file);
        const QByteArray desktop = testing::readFile(m_root + QStringLiteral("/usr/share/applications/de.dravenna.deckbuilder.desktop"));
        QVERIFY(desktop.contains("\nExec=/usr/bin/dravenna-deckbuilder %f\n"));
        QVERIFY(desktop.contains("\nName=Dravenna Deck-Builder\n"));
        QVERIFY(desktop.contains("\nMimeType=application/x-dravenna-deck;\n"));
        QVERIFY(desktop.contains("\nIcon=de.dravenna.deckbuilder\n"));
    }

    void theInstalledFilesValidate() {
        const QString share = m_root + QStringLiteral("/usr/share");
        bool ran = false;
        if (const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")); !tool.isEmpty()) {
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(tool, {share + QStringLiteral("/applications/de.dravenna.deckbuilder.desktop")});
            QVERIFY(p.waitForFinished(30000));
            const QByteArray out = p.readAll();
            QVERIFY2(p.exitCode() == 0 && out.trimmed().isEmpty(), out.constData());
            ran = true;
        }
        if (const QString tool = QStandardPaths::findExecutable(QStringLiteral("appstreamcli")); !tool.isEmpty()) {
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(tool, {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--explain"),
                           share + QStringLiteral("/metainfo/de.dravenna.deckbuilder.metainfo.xml")});
            QVERIFY(p.waitForFinished(60000));
            QVERIFY2(p.exitCode() == 0, p.readAll().constData());
            ran = true;
        }
        if (const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database")); !tool.isEmpty()) {
            // The MIME package builds into a database that maps the extensions to the types.
            QTemporaryDir data;
            const QString mime = data.filePath(QStringLiteral("mime"));
            QVERIFY(QDir().mkpath(mime + QStringLiteral("/packages")));
            QVERIFY(QFile::copy(share + QStringLiteral("/mime/packages/de.dravenna.deckbuilder.xml"),
                                mime + QStringLiteral("/packages/de.dravenna.deckbuilder.xml")));
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(tool, {mime});
            QVERIFY(p.waitForFinished(60000));
            const QByteArray out = p.readAll();
            QVERIFY2(p.exitCode() == 0 && out.trimmed().isEmpty(), out.constData());
            const QByteArray globs = testing::readFile(mime + QStringLiteral("/globs2"));
            QVERIFY2(globs.contains(":application/x-dravenna-deck:*.drd"), globs.constData());
            QVERIFY2(globs.contains(":application/x-dravenna-filter:*.drfilter"), globs.constData());
            ran = true;
        }
        if (!ran)
            QSKIP("desktop-file-validate, appstreamcli and update-mime-database are missing (scripts/install-deps.sh --dev)");
    }

    void aReadOnlyInstallKeepsItsDataPerUser() {
        const QString lib = installedProgramDir(m_root);
        const QString program = m_root + QStringLiteral("/usr/bin/dravenna-deckbuilder");
        const QByteArray shipped = testing::readFile(lib + QStringLiteral("/dravennacard.db"));
        const QString home = m_tmp.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home + QStringLiteral("/tmp")));
        giveToPlayer(home);
        giveToPlayer(home + QStringLiteral("/tmp"));
        const QByteArray deck = testing::deckFileFor(lib + QStringLiteral("/dravennacard.db"), QStringLiteral("Harald"), 9);
        testing::writeFile(home + QStringLiteral("/start.drd"), deck);
        setWritable(m_root, false);
        const QString data = home + QStringLiteral("/.local/share/DravennaDeckBuilder");
        const QString copy = data + QStringLiteral("/dravennacard.db");

        // The command-line tool from bin/, before the program ever ran: it reads the shipped
        // catalogue and makes nothing in the player's data folder.
        const QString tool = m_root + QStringLiteral("/usr/bin/dravenna-deck");
        const auto runTool = [&](const QStringList& args) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
                env.remove(QString::fromLatin1(name));
            env.insert(QStringLiteral("HOME"), home);
            p.setProcessEnvironment(env);
            if (::geteuid() == 0)
                p.setChildProcessModifier([] {
                    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                        ::_exit(125);
                });
            p.start(tool, args);
            p.waitForFinished(60000);
            return std::make_pair(p.exitCode(), p.readAllStandardOutput() + p.readAllStandardError());
        };
        const auto checked = runTool({QStringLiteral("check"), home + QStringLiteral("/start.drd")});
        QVERIFY2(checked.first == 0 && checked.second.contains("Das Deck hält seine Grenzen ein."), checked.second.constData());
        QVERIFY(!QFile::exists(data));

        // First start: a deck from the command line, saved, then closed; a later start meanwhile
        // only brings it to the front.
        const QString saved = home + QStringLiteral("/gespeichert.drd");
        Start first(program, {home + QStringLiteral("/start.drd")}, home,
                    script(m_tmp.path(), QStringLiteral("first"), "menu mnuSpeichern\nfile " + saved.toUtf8() + "\nawait\nclose\nanswer Yes\n"),
                    home + QStringLiteral("/first.log"), true);
        QVERIFY(first.reached({QStringLiteral("step"), QStringLiteral("await"), QString()}));
        // The deck lives in the per-user copy, locked beside it; the program folder got nothing.
        QCOMPARE(deckRowsIn(copy), 9);
        QVERIFY(QFile::exists(copy + QStringLiteral(".lock")));
        QVERIFY(!QFile::exists(lib + QStringLiteral("/dravennacard.db.lock")));
        // The tool lists a deck while the program runs, and leaves the program's deck alone.
        const auto listed = runTool({QStringLiteral("list"), home + QStringLiteral("/start.drd")});
        QVERIFY2(listed.first == 0 && listed.second.startsWith("ANFÜHRER: Harald (Orvane)\n"), listed.second.constData());
        QCOMPARE(deckRowsIn(copy), 9);
        const ino_t running = inodeOf(copy);
        Start second(program, {}, home, script(m_tmp.path(), QStringLiteral("second"), ""), home + QStringLiteral("/second.log"), true);
        QVERIFY(second.finished());
        QCOMPARE(second.process.exitCode(), 0);
        QVERIFY(!QFile::exists(second.log)); // it showed nothing
        QVERIFY(first.finished());
        QCOMPARE(first.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.process.exitCode(), 0);
        QCOMPARE(testing::readFile(saved), deck);
        QCOMPARE(messagesIn(first.log),
                 (QStringList{QStringLiteral("Das Dravenna-Deck wurde geladen"), QStringLiteral("Das Dravenna-Deck wurde gespeichert unter:\r\n") + saved,
                              QStringLiteral("Soll der Dravenna Deck-Builder wirklich beendet werden?")}));
        // The deck dialog started at home, not in the hidden data folder.
        QVERIFY(logHas(first.log, {QStringLiteral("file"), QStringLiteral("Dravenna-Deck speichern"), QStringLiteral("save"), home, saved}));
        // Closing emptied the deck and compacted the copy into a new file, lock and temporary file gone.
        QCOMPARE(deckRowsIn(copy), 0);
        QVERIFY(inodeOf(copy) != running);
        QVERIFY(!QFile::exists(copy + QStringLiteral(".lock")));
        QVERIFY(!QFile::exists(copy + QStringLiteral(".temp")));
        QCOMPARE(testing::readFile(lib + QStringLiteral("/dravennacard.db")), shipped);
        QVERIFY(QFileInfo(home + QStringLiteral("/.config/DravennaDeckBuilder.conf")).isFile());

        // Second start: the copy is kept (its stamp is not written again).
        const QString stamp = copy + QStringLiteral(".shipped");
        const QDateTime stamped = QFileInfo(stamp).lastModified();
        QTest::qWait(1100);
        Start again(program, {}, home, script(m_tmp.path(), QStringLiteral("again"), "close\n"), home + QStringLiteral("/again.log"), true);
        QVERIFY(again.finished());
        QCOMPARE(again.process.exitCode(), 0);
        QCOMPARE(messagesIn(again.log), QStringList{});
        QCOMPARE(QFileInfo(stamp).lastModified(), stamped);

        // A new version ships a changed catalogue: the copy is made again and nothing of its old deck stays.
        setWritable(m_root, true);
        db::Database::OpenDatabase(lib + QStringLiteral("/dravennacard.db"))
            ->Execute(QStringLiteral("UPDATE KARTEN SET NAME = 'Neu im Katalog' WHERE NUMMER = 'ORVANE 10'"));
        setWritable(m_root, false);
        {
            // As a killed program leaves it.
            auto conn = db::Database::OpenDatabase(copy);
            conn->Execute(QStringLiteral("INSERT INTO DECK SELECT * FROM KARTEN"));
        }
        giveToPlayer(copy);
        Start updated(program, {}, home, script(m_tmp.path(), QStringLiteral("updated"), "await\nclose\n"), home + QStringLiteral("/updated.log"),
                      true);
        QVERIFY(updated.reached({QStringLiteral("step"), QStringLiteral("await"), QString()}));
        QCOMPARE(db::Database::OpenDatabase(copy)
                     ->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM KARTEN WHERE NAME = 'Neu im Katalog'"))
                     .Fields(0)
                     .toInt(),
                 1);
        QCOMPARE(deckRowsIn(copy), 0);
        Start wake(program, {}, home, script(m_tmp.path(), QStringLiteral("wake"), ""), home + QStringLiteral("/wake.log"), true);
        QVERIFY(wake.finished());
        QCOMPARE(wake.process.exitCode(), 0);
        QVERIFY(updated.finished());
        QCOMPARE(updated.process.exitCode(), 0);
        QVERIFY(QFileInfo(stamp).lastModified() > stamped);
        setWritable(m_root, true);
    }

    // A second start with a deck file hands it to the first and ends; the first asks before it
    // discards a deck with cards.
    void aSecondStartHandsItsDeckToTheFirst_data() {
        QTest::addColumn<bool>("firstHasDeck");
        QTest::addColumn<QString>("answer");
        QTest::newRow("deck with cards, Yes") << true << QStringLiteral("Yes");
        QTest::newRow("deck with cards, No") << true << QStringLiteral("No");
        QTest::newRow("empty deck") << false << QString();
    }
    void aSecondStartHandsItsDeckToTheFirst() {
        QFETCH(bool, firstHasDeck);
        QFETCH(QString, answer);
        // A portable copy of the program folder: writable, so the database beside the program is used.
        testing::TestProgramDir folder;
        QFile::copy(testing::builtProgramDir() + QStringLiteral("/dravenna-deckbuilder"), folder.filePath(QStringLiteral("dravenna-deckbuilder")));
        QFile::setPermissions(folder.filePath(QStringLiteral("dravenna-deckbuilder")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString program = folder.filePath(QStringLiteral("dravenna-deckbuilder"));
        QTemporaryDir home;
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("tmp"))));
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("Decks"))));
        const QByteArray firstDeck = testing::deckFileFor(folder.databasePath(), QStringLiteral("Harald"), 3);
        const QByteArray secondDeck = testing::deckFileFor(folder.databasePath(), QStringLiteral("Edelgard von Orvane"), 8);
        testing::writeFile(home.filePath(QStringLiteral("erstes.drd")), firstDeck);
        testing::writeFile(home.filePath(QStringLiteral("Decks/zweites deck.drd")), secondDeck);
        const QString saved = home.filePath(QStringLiteral("danach.drd"));

        QByteArray steps = "await\n";
        if (!answer.isEmpty())
            steps += "answer " + answer.toUtf8() + "\n";
        steps += "menu mnuSpeichern\nfile " + saved.toUtf8() + "\nclose\nanswer Yes\n";
        const QStringList firstArgs = firstHasDeck ? QStringList{home.filePath(QStringLiteral("erstes.drd"))} : QStringList{};
        Start first(program, firstArgs, home.path(), script(home.path(), QStringLiteral("first"), steps), home.filePath(QStringLiteral("first.log")),
                    false);
        QVERIFY(first.reached({QStringLiteral("step"), QStringLiteral("await"), QString()}));
        const qsizetype shownBefore = messagesIn(first.log).size();

        // Started from the deck's folder with a relative path, as a file manager or shell would.
        Start second(program, {QStringLiteral("\"zweites deck.drd\"")}, home.path(), script(home.path(), QStringLiteral("second"), ""),
                     home.filePath(QStringLiteral("second.log")), false, home.filePath(QStringLiteral("Decks")));
        QVERIFY(second.finished(30000));
        QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process.exitCode(), 0);
        QVERIFY(!QFile::exists(second.log));

        QVERIFY(first.finished());
        QCOMPARE(first.process.exitCode(), 0);
        const QStringList shown = messagesIn(first.log).mid(shownBefore);
        const QString discard = QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\nSoll das aktuelle Deck verworfen werden?");
        const QString loaded = QStringLiteral("Das Dravenna-Deck wurde geladen");
        const QString savedText = QStringLiteral("Das Dravenna-Deck wurde gespeichert unter:\r\n") + saved;
        const QString quit = QStringLiteral("Soll der Dravenna Deck-Builder wirklich beendet werden?");
        if (!firstHasDeck) {
            QCOMPARE(shown, (QStringList{loaded, savedText, quit}));
            QCOMPARE(testing::readFile(saved), secondDeck);
        } else {
            QVERIFY(logHas(first.log, {QStringLiteral("message"), QStringLiteral("Dravenna-Deck laden"), discard, QStringLiteral("Question"),
                                       QStringLiteral("YesNo"), answer}));
            if (answer == u"Yes") {
                QCOMPARE(shown, (QStringList{discard, loaded, savedText, quit}));
                QCOMPARE(testing::readFile(saved), secondDeck);
            } else {
                QCOMPARE(shown, (QStringList{discard, savedText, quit}));
                QCOMPARE(testing::readFile(saved), firstDeck);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TstInstalled)
#include "tst_installed.moc"
