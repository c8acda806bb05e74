// The program as players get it: installed into a prefix and started as a separate process.
// A session script (core/sessionscript.h) stands in for the player's clicks and answers.
#include "core/handoverplace.h"
#include "core/instancelock.h"
#include "core/sessionscript.h"
#include "db/database.h"
#include "tests/helpers/deckfiles.h"
#include "tests/helpers/testfiles.h"
#include "tests/helpers/testprogramdir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <grp.h>
#include <poll.h>
#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <vector>
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
              bool asPlayer, const QString& workingDir = QString(), const QMap<QString, QString>& extraEnv = {}) {
            log = logPath;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"})
                env.remove(QString::fromLatin1(name));
            env.insert(QStringLiteral("HOME"), home);
            env.insert(QStringLiteral("TMPDIR"), home + QStringLiteral("/tmp"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("DRAVENNA_SESSION_SCRIPT"), script);
            env.insert(QStringLiteral("DRAVENNA_SESSION_LOG"), logPath);
            for (auto it = extraEnv.begin(); it != extraEnv.end(); ++it)
                env.insert(it.key(), it.value());
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
                              QStringLiteral("installed"), QStringLiteral("libDravennaRes.so"), QStringLiteral("libDravennaStatistik.so")}));
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
        QVERIFY(desktop.contains("\nSingleMainWindow=true\n"));
        QVERIFY(desktop.contains("\nGenericName[de]=Deck-Editor für Sammelkarten\n"));
        // A package's staging install leaves the desktop's caches to the system's triggers.
        QVERIFY(!QFile::exists(m_root + QStringLiteral("/usr/share/mime/mime.cache")));
        QVERIFY(!QFile::exists(m_root + QStringLiteral("/usr/share/applications/mimeinfo.cache")));
    }

    // Installed into the user's own prefix, the program is the desktop's choice for .drd files at
    // once: the install step has run update-mime-database and update-desktop-database.
    void aPerUserInstallRegistersItself() {
        for (const char* tool : {"update-mime-database", "update-desktop-database"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("update-mime-database or update-desktop-database is missing (scripts/install-deps.sh --dev)");
        const QString prefix = m_tmp.filePath(QStringLiteral("user/.local"));
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DESTDIR"));
        install.setProcessEnvironment(env);
        install.start(QStringLiteral(DRAVENNA_CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(DRAVENNA_BINARY_DIR), QStringLiteral("--prefix"), prefix});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        const QByteArray globs = testing::readFile(prefix + QStringLiteral("/share/mime/globs2"));
        QVERIFY2(globs.contains(":application/x-dravenna-deck:*.drd"), globs.constData());
        QVERIFY(QFileInfo(prefix + QStringLiteral("/share/mime/mime.cache")).size() > 0);
        const QByteArray handlers = testing::readFile(prefix + QStringLiteral("/share/applications/mimeinfo.cache"));
        QVERIFY2(handlers.contains("\napplication/x-dravenna-deck=de.dravenna.deckbuilder.desktop;"), handlers.constData());
        QVERIFY(testing::readFile(prefix + QStringLiteral("/share/applications/de.dravenna.deckbuilder.desktop"))
                    .contains("\nExec=" + QFile::encodeName(prefix) + "/bin/dravenna-deckbuilder %f\n"));
    }

    void theInstalledFilesValidate() {
        const QString share = m_root + QStringLiteral("/usr/share");
        bool ran = false;
        if (const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")); !tool.isEmpty()) {
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(tool, {share + QStringLiteral("/applications/de.dravenna.deckbuilder.desktop")});
            QVERIFY(p.waitForFinished(30000));
            // Debian 12's validator (0.26) knows Desktop Entry files up to version 1.4; version 1.5
            // brought SingleMainWindow. Every other complaint counts.
            QStringList complaints = QString::fromUtf8(p.readAll()).split(u'\n', Qt::SkipEmptyParts);
            complaints.removeIf([](const QString& line) {
                return line.endsWith(QStringLiteral("error: value \"1.5\" for key \"Version\" in group \"Desktop Entry\" is not a known version")) ||
                       line.contains(QStringLiteral("error: file contains key \"SingleMainWindow\" in group \"Desktop Entry\", but keys extending"));
            });
            QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join(u'\n')));
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

        // First start: a deck from the command line, its statistics (the plugin found where the
        // install put it), saved, then closed; a later start meanwhile only brings it to the front.
        const QString saved = home + QStringLiteral("/gespeichert.drd");
        Start first(program, {home + QStringLiteral("/start.drd")}, home,
                    script(m_tmp.path(), QStringLiteral("first"),
                           "menu mnuStatistik\nmenu mnuSpeichern\nfile " + saved.toUtf8() + "\nawait\nclose\nanswer Yes\n"),
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

        // Zeros over the copy's header: the next start puts the shipped catalogue back, says so and runs.
        {
            QFile spoiled(copy);
            QVERIFY(spoiled.open(QIODevice::ReadWrite) && spoiled.write(QByteArray(100, '\0')) == 100);
        }
        Start healed(program, {}, home, script(m_tmp.path(), QStringLiteral("healed"), "close\n"), home + QStringLiteral("/healed.log"), true);
        QVERIFY(healed.finished());
        QCOMPARE(healed.process.exitCode(), 0);
        QCOMPARE(messagesIn(healed.log), QStringList{QStringLiteral("Die Kartendatenbank %1 wurde aus dem mitgelieferten Katalog neu angelegt, "
                                                                    "weil sie beschädigt war: Die Datei ist keine Datenbank.")
                                                         .arg(copy)});

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

    // Root could write the program folder, and still gets the per-user copy: the package's files
    // stay as installed.
    void rootLeavesTheProgramFolderAlone() {
        const QString lib = installedProgramDir(m_root);
        const QStringList files = QDir(lib).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        const QByteArray shipped = testing::readFile(lib + QStringLiteral("/dravennacard.db"));
        const ino_t node = inodeOf(lib + QStringLiteral("/dravennacard.db"));
        const QString home = m_tmp.filePath(QStringLiteral("root-home"));
        QVERIFY(QDir().mkpath(home + QStringLiteral("/tmp")));
        Start start(m_root + QStringLiteral("/usr/bin/dravenna-deckbuilder"), {}, home,
                    script(m_tmp.path(), QStringLiteral("as-root"), "await\nclose\n"), home + QStringLiteral("/root.log"), false);
        QVERIFY(start.reached({QStringLiteral("step"), QStringLiteral("await"), QString()}));
        QCOMPARE(QDir(lib).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
        QVERIFY(QFileInfo(home + QStringLiteral("/.local/share/DravennaDeckBuilder/dravennacard.db.lock")).isFile());
        Start wake(m_root + QStringLiteral("/usr/bin/dravenna-deckbuilder"), {}, home, script(m_tmp.path(), QStringLiteral("root-wake"), ""),
                   home + QStringLiteral("/root-wake.log"), false);
        QVERIFY(wake.finished());
        QVERIFY(start.finished());
        QCOMPARE(start.process.exitCode(), 0);
        QCOMPARE(QDir(lib).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
        QCOMPARE(inodeOf(lib + QStringLiteral("/dravennacard.db")), node);
        QCOMPARE(testing::readFile(lib + QStringLiteral("/dravennacard.db")), shipped);
    }

    // Another local user takes every socket name the player's program could use, the old one in the
    // shared temporary folder and the new one in a runtime folder that is not private: nothing of
    // the player reaches it, and the player's decks still load, with ~/.local/share a symlink.
    void anotherUserCannotTakeTheHandOver() {
        if (::geteuid() != 0)
            QSKIP("needs root to start the program as two other users");
        const QString lib = installedProgramDir(m_root);
        const QString program = m_root + QStringLiteral("/usr/bin/dravenna-deckbuilder");
        const QString home = m_tmp.filePath(QStringLiteral("victim"));
        const QString sharedTmp = m_tmp.filePath(QStringLiteral("shared-tmp"));
        const QString sharedRun = m_tmp.filePath(QStringLiteral("shared-run"));
        for (const QString& dir : {home + QStringLiteral("/.local"), home + QStringLiteral("/shared-data"), sharedTmp, sharedRun}) {
            QVERIFY(QDir().mkpath(dir));
            giveToPlayer(dir);
        }
        giveToPlayer(home);
        QVERIFY(QFile::link(home + QStringLiteral("/shared-data"), home + QStringLiteral("/.local/share")));
        for (const QString& dir : {sharedTmp, sharedRun})
            QVERIFY(::chmod(QFile::encodeName(dir).constData(), 01777) == 0);
        const QByteArray first = testing::deckFileFor(lib + QStringLiteral("/dravennacard.db"), QStringLiteral("Harald"), 3);
        const QByteArray second = testing::deckFileFor(lib + QStringLiteral("/dravennacard.db"), QStringLiteral("Edelgard von Orvane"), 8);
        testing::writeFile(home + QStringLiteral("/erstes.drd"), first);
        testing::writeFile(home + QStringLiteral("/zweites.drd"), second);
        const QString linkedDb = home + QStringLiteral("/.local/share/DravennaDeckBuilder/dravennacard.db");
        const QString realDb = home + QStringLiteral("/shared-data/DravennaDeckBuilder/dravennacard.db");

        // The squatter, a real process of user 65533, listens where the player's program might.
        QList<QByteArray> squatted;
        for (const QString& db : {linkedDb, realDb}) {
            const QByteArray hash = QCryptographicHash::hash(db.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
            squatted << QFile::encodeName(sharedTmp + QStringLiteral("/dravenna-deckbuilder-65534-") + QString::fromLatin1(hash));
        }
        squatted << QFile::encodeName(sharedRun + QStringLiteral("/DravennaDeckBuilder/") + core::handOverSocketName(linkedDb));
        const QByteArray squatFolder = QFile::encodeName(sharedRun + QStringLiteral("/DravennaDeckBuilder"));
        int report[2];
        int ready[2];
        QVERIFY(::pipe(report) == 0 && ::pipe(ready) == 0);
        const pid_t squatter = ::fork();
        if (squatter == 0) {
            if (::setresgid(65533, 65533, 65533) != 0 || ::setresuid(65533, 65533, 65533) != 0)
                ::_exit(3);
            ::umask(0);
            ::mkdir(squatFolder.constData(), 0777);
            std::vector<pollfd> fds;
            for (const QByteArray& path : squatted) {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un addr{};
                addr.sun_family = AF_UNIX;
                ::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
                if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0)
                    ::_exit(4);
                fds.push_back({fd, POLLIN, 0});
            }
            (void)!::write(ready[1], "r", 1);
            // Whatever arrives goes to the test; an acknowledgement as the program would give it.
            while (::poll(fds.data(), fds.size(), -1) > 0) {
                for (pollfd& p : fds) {
                    if (!(p.revents & POLLIN))
                        continue;
                    const int c = ::accept(p.fd, nullptr, nullptr);
                    char buffer[4096];
                    pollfd in{c, POLLIN, 0};
                    while (::poll(&in, 1, 500) == 1) {
                        const ssize_t n = ::read(c, buffer, sizeof buffer);
                        if (n <= 0)
                            break;
                        (void)!::write(report[1], buffer, size_t(n));
                        (void)!::write(c, "+", 1);
                    }
                    ::close(c);
                }
            }
            ::_exit(0);
        }
        QVERIFY(squatter > 0);
        ::close(report[1]);
        char byte = 0;
        QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
        const auto received = [&] {
            ::kill(squatter, SIGKILL);
            ::waitpid(squatter, nullptr, 0);
            QByteArray bytes;
            char buffer[4096];
            for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
                bytes.append(buffer, n);
            ::close(report[0]);
            ::close(ready[0]);
            ::close(ready[1]);
            return bytes;
        };
        auto squatterGuard = qScopeGuard([&] { received(); });

        setWritable(m_root, false);
        auto writableAgain = qScopeGuard([&] { setWritable(m_root, true); });
        const QMap<QString, QString> env{{QStringLiteral("TMPDIR"), sharedTmp}, {QStringLiteral("XDG_RUNTIME_DIR"), sharedRun}};
        const QString socketFolder = home + QStringLiteral("/.cache/DravennaDeckBuilder");

        // A first start whose deck's box is still open already listens: a later start is taken at once.
        {
            Start boxed(program, {home + QStringLiteral("/erstes.drd")}, home, QString(), QString(), true, QString(), env);
            QTRY_VERIFY_WITH_TIMEOUT(!QDir(socketFolder).entryList(QDir::System).isEmpty(), 30000);
            Start later(program, {}, home, script(m_tmp.path(), QStringLiteral("later"), ""), home + QStringLiteral("/later.log"), true,
                        QString(), env);
            QVERIFY(later.finished(8000));
            QCOMPARE(later.process.exitCode(), 0);
            QVERIFY(!QFile::exists(later.log));
            boxed.process.kill();
            QVERIFY(boxed.finished());
        }

        // The player's decks: one from the command line, one handed over by a second start.
        Start owner(program, {home + QStringLiteral("/erstes.drd")}, home,
                    script(m_tmp.path(), QStringLiteral("owner"), "await\nanswer Yes\nclose\nanswer Yes\n"), home + QStringLiteral("/owner.log"), true,
                    QString(), env);
        QVERIFY(owner.reached({QStringLiteral("step"), QStringLiteral("await"), QString()}));
        Start handing(program, {home + QStringLiteral("/zweites.drd")}, home, script(m_tmp.path(), QStringLiteral("handing"), ""),
                      home + QStringLiteral("/handing.log"), true, QString(), env);
        QVERIFY(handing.finished(30000));
        QCOMPARE(handing.process.exitCode(), 0);
        QVERIFY(!QFile::exists(handing.log));
        QVERIFY(owner.finished());
        QCOMPARE(owner.process.exitCode(), 0);
        const QString loaded = QStringLiteral("Das Dravenna-Deck wurde geladen");
        QCOMPARE(messagesIn(owner.log),
                 (QStringList{loaded, QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\nSoll das aktuelle Deck verworfen werden?"), loaded,
                              QStringLiteral("Soll der Dravenna Deck-Builder wirklich beendet werden?")}));

        // Root (another user too) holds the lock and listens at the player's socket: a start tells it
        // nothing and says why.
        {
            testing::writeFile(realDb + QStringLiteral(".lock"), "");
            giveToPlayer(realDb + QStringLiteral(".lock"));
            const auto lock = core::claimDatabase(realDb);
            QCOMPARE(lock->state(), core::InstanceLock::State::Acquired);
            const QString socketPath = socketFolder + u'/' + core::handOverSocketName(linkedDb);
            QLocalServer foreign;
            foreign.setSocketOptions(QLocalServer::WorldAccessOption);
            QVERIFY(foreign.listen(socketPath));
            Start refused(program, {home + QStringLiteral("/zweites.drd")}, home, script(m_tmp.path(), QStringLiteral("refused"), ""),
                          home + QStringLiteral("/refused.log"), true, QString(), env);
            QVERIFY(refused.finished(30000));
            QCOMPARE(refused.process.exitCode(), 1);
            QCOMPARE(messagesIn(refused.log),
                     QStringList{QStringLiteral("Der Dravenna Deck-Builder läuft bereits und kann diesen Start nicht übernehmen: "
                                                "Unter %1 wartet das Programm eines anderen Benutzers.")
                                     .arg(socketPath)});
            QByteArray heard;
            while (foreign.waitForNewConnection(200)) {
                QLocalSocket* s = foreign.nextPendingConnection();
                s->waitForReadyRead(200);
                heard += s->readAll();
            }
            QCOMPARE(heard, QByteArray());
        }
        squatterGuard.dismiss();
        QCOMPARE(received(), QByteArray());
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
