// Every save of the main window and the filter dialogs on a disk that refuses the bytes (file-size
// limit, full file system) and with text that Windows-1252 cannot hold: the old file stays byte for
// byte, the failure is reported, no success is shown.
#include "db/database.h"
#include "deckio/cardtable.h"
#include "filter/frmfilter.h"
#include "filter/frmspezfilter.h"
#include "cardview/frmdruckoptionen.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using testing::MainWindowFixture;

namespace {

// Lowers this process's file-size limit for its lifetime; SIGXFSZ is ignored so that a write
// beyond it fails with EFBIG instead of ending the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool set() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

struct SavePath {
    const char* name;
    const char* errorTitle;
    const char* successTitle;
    QString extension;
    std::function<void(MainWindowFixture&, const QString& path)> save;
};

void fillDeck(MainWindowFixture& f) {
    f.chooseLeader(QStringLiteral("Harald"));
    f.chooseInquisitor(QStringLiteral("Vater Odo"));
    f.addByNumber({QStringLiteral("ORVANE 05"), QStringLiteral("ORVANE 07")});
    testing::writeFile(f.dir.filePath(QStringLiteral("karten.txt")),
                       "back \"b.jpg\"\r\ncard \"bilder/orvane/ORVANE05\" \"Schwur\"\r\ncard \"bilder/orvane/ORVANE07\" \"N\"\r\n");
    deckio::storeCardTableLocation({f.dir.path(), QStringLiteral("karten.txt")});
}

std::vector<SavePath> savePaths() {
    return {
        {"deck file", "Dravenna-Deck speichern", "Dravenna-Deck erfolgreich gespeichert", QStringLiteral("drd"),
         [](MainWindowFixture& f, const QString& path) {
             f.prompter.choose(path);
             f.trigger("mnuSpeichern");
         }},
        {"deck list", "Dravenna-Deckliste speichern", "Dravenna-Deckliste erfolgreich gespeichert", QStringLiteral("txt"),
         [](MainWindowFixture& f, const QString& path) {
             f.prompter.choose(path);
             f.trigger("mnuDeckliste");
         }},
        {"CardTable deck", "Dravenna-Deckliste speichern", "CardTable-Datei erfolgreich gespeichert", QStringLiteral("ctd"),
         [](MainWindowFixture& f, const QString& path) {
             f.prompter.choose(path);
             f.trigger("mnuCTExport");
         }},
        {"PDF", "Deck als PDF speichern", "PDF erfolgreich gespeichert", QStringLiteral("pdf"),
         [](MainWindowFixture& f, const QString& path) {
             QVERIFY(f.withDialog<cardview::frmDruckoptionen>("mnuAlsPdf", [&](cardview::frmDruckoptionen& d) {
                 f.prompter.choose(path);
                 d.accept();
             }));
         }},
        {"filter dialog", "Dravenna-Filter speichern", "Dravenna-Filter erfolgreich gespeichert", QStringLiteral("drfilter"),
         [](MainWindowFixture& f, const QString& path) {
             QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [&](filter::frmFilter& d) {
                 d.chkFrei->setChecked(true);
                 f.prompter.choose(path);
                 d.cmdSave->click();
             }));
         }},
        {"special filter", "Dravenna-Filter speichern", "Dravenna-Filter erfolgreich gespeichert", QStringLiteral("drfilter"),
         [](MainWindowFixture& f, const QString& path) {
             QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [&](filter::frmSpezFilter& d) {
                 d.txtFilter->setPlainText(QStringLiteral("[Frei] = TRUE AND [Monde] > 1"));
                 f.prompter.choose(path);
                 d.cmdSave->click();
             }));
         }},
    };
}

bool anySuccess(const MainWindowFixture& f) {
    for (const auto& m : f.prompter.messages)
        if (m.title.contains(QStringLiteral("erfolgreich")))
            return true;
    return false;
}

// The save failed: reported in the operation's error box, nothing shown as a success, the old
// file unchanged and no temporary file left beside it.
void expectRefused(const MainWindowFixture& f, const SavePath& p, const QString& path, const QByteArray& old,
                   const QString& reason) {
    QVERIFY2(!f.prompter.messages.empty(), p.name);
    const auto& last = f.prompter.messages.back();
    QCOMPARE(last.title, QString::fromUtf8(p.errorTitle));
    QCOMPARE(last.icon, core::Icon::Critical);
    QCOMPARE(last.text, QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + reason);
    QVERIFY2(!anySuccess(f), p.name);
    QCOMPARE(testing::readFile(path), old);
    const QStringList beside = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(beside == QStringList{QFileInfo(path).fileName()}, qPrintable(beside.join(u',')));
}

} // namespace

class TstSaveFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileSizeLimitLeavesEveryOldFileAndIsReported() {
        for (const SavePath& p : savePaths()) {
            MainWindowFixture f;
            f.start();
            fillDeck(f);
            QTemporaryDir target;
            const QString path = target.filePath(QStringLiteral("alt.") + p.extension);
            const QByteArray old = QByteArray("alter Inhalt, der bleiben muss\r\n").repeated(40);
            testing::writeFile(path, old);
            {
                FileSizeLimit limit(12);
                QVERIFY(limit.set());
                p.save(f, path);
            }
            expectRefused(f, p, path, old,
                          QStringLiteral("Fehler beim Zugriff auf '%1': Die Datei überschreitet die erlaubte Dateigröße.").arg(path));

            // Without the limit the same save goes through and replaces the old file.
            f.prompter.messages.clear();
            p.save(f, path);
            QVERIFY2(!f.prompter.messages.empty() && f.prompter.messages.back().title == QString::fromUtf8(p.successTitle),
                     p.name);
            QVERIFY(testing::readFile(path) != old);
        }
    }

    void fullFileSystemLeavesEveryOldFileAndIsReported() {
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        QTemporaryDir mountPoint;
        if (mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("tmpfs cannot be mounted here");
        struct Unmount {
            QString at;
            ~Unmount() { umount2(QFile::encodeName(at).constData(), MNT_DETACH); }
        } unmount{mountPoint.path()};

        for (const SavePath& p : savePaths()) {
            MainWindowFixture f;
            f.start();
            fillDeck(f);
            const QString dir = mountPoint.filePath(QString::fromUtf8(p.name));
            QVERIFY(QDir().mkdir(dir));
            const QString path = dir + QStringLiteral("/alt.") + p.extension;
            const QByteArray old = QByteArray("alter Inhalt\r\n");
            testing::writeFile(path, old);
            // Fill every free block.
            const QString filler = mountPoint.filePath(QStringLiteral("voll"));
            {
                QFile fill(filler);
                QVERIFY(fill.open(QIODevice::WriteOnly));
                const QByteArray block(4096, 'x');
                while (fill.write(block) == block.size() && fill.flush()) {
                }
            }
            p.save(f, path);
            expectRefused(f, p, path, old,
                          QStringLiteral("Fehler beim Zugriff auf '%1': Auf dem Datenträger ist nicht genug Platz frei.").arg(path));
            QVERIFY(QFile::remove(filler));
        }
    }

    // A FIFO chosen as the file gets the bytes and stays a FIFO: only a regular file is replaced.
    void everySaveWritesIntoAFifo() {
        for (const SavePath& p : savePaths()) {
            MainWindowFixture f;
            f.start();
            fillDeck(f);
            QTemporaryDir target;
            testing::FifoReader fifo(target.filePath(QStringLiteral("roehre.") + p.extension));
            QVERIFY(fifo.made());
            p.save(f, target.filePath(QStringLiteral("roehre.") + p.extension));
            const QByteArray got = fifo.received();
            // Text files end with a line break, a PDF with its end-of-file mark.
            QVERIFY2(p.extension == u"pdf" ? got.startsWith("%PDF") && got.trimmed().endsWith("%%EOF") : got.endsWith("\r\n"),
                     p.name);
            QVERIFY2(!f.prompter.messages.empty() && f.prompter.messages.back().title == QString::fromUtf8(p.successTitle),
                     p.name);
            QVERIFY(fifo.stillAFifo());
        }
    }

    void charactersOutsideWindows1252AreRefused() {
        const QString refused =
            QStringLiteral("Das Zeichen 'Ł' (U+0141) kann in einer Windows-1252-Textdatei nicht gespeichert werden. "
                           "Es wurde nichts geschrieben.");
        {
            // A special-filter condition: no file, no list rebuild, no success.
            MainWindowFixture f;
            f.start();
            const QString path = f.dir.filePath(QStringLiteral("Łódź.drfilter"));
            QVERIFY(f.withDialog<filter::frmSpezFilter>("mnuSpezFilter", [&](filter::frmSpezFilter& d) {
                d.txtFilter->setPlainText(QStringLiteral("[Name] = 'Łukasz'"));
                f.prompter.choose(path);
                d.cmdSave->click();
            }));
            QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + refused);
            QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Filter speichern"));
            QVERIFY(!anySuccess(f));
            QVERIFY(!QFile::exists(path));
            QCOMPARE(f.window->cmbQuickFilter->findText(QStringLiteral("Łódź")), -1);

            // The name field of the filter dialog goes the same way.
            f.prompter.messages.clear();
            QVERIFY(f.withDialog<filter::frmFilter>("mnuFilter", [&](filter::frmFilter& d) {
                d.txtName->setText(QStringLiteral("Łukasz"));
                f.prompter.choose(path);
                d.cmdSave->click();
            }));
            QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + refused);
            QVERIFY(!anySuccess(f));
            QVERIFY(!QFile::exists(path));
        }
        {
            // A deck list naming a card whose name the code page lacks; umlauts are fine.
            MainWindowFixture f;
            db::Database::OpenDatabase(f.dir.databasePath())
                ->Execute(QStringLiteral("UPDATE KARTEN SET NAME = 'Łucja die Kühne' WHERE NUMMER = 'ORVANE 07'"));
            f.start();
            fillDeck(f);
            const QString path = f.dir.filePath(QStringLiteral("liste.txt"));
            testing::writeFile(path, "alte Liste\r\n");
            f.prompter.choose(path);
            f.trigger("mnuDeckliste");
            QCOMPARE(f.prompter.messages.back().text, QStringLiteral("Fehler im Dravenna Deck-Builder:\r\n") + refused);
            QCOMPARE(f.prompter.messages.back().title, QStringLiteral("Dravenna-Deckliste speichern"));
            QVERIFY(!anySuccess(f));
            QCOMPARE(testing::readFile(path), QByteArray("alte Liste\r\n"));
        }
    }
};

QTEST_MAIN(TstSaveFaults)
#include "tst_savefaults.moc"
