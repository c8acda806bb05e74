// A later start's command line and dropped deck files reach the running program.
#include "app/handoverchannel.h"
#include "core/handoverplace.h"
#include "core/handovermessage.h"
#include "tests/helpers/deckfiles.h"
#include "tests/helpers/mainwindowfixture.h"
#include "tests/helpers/testfiles.h"

#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest/QTest>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/un.h>
#include <atomic>
#include <thread>
#include <unistd.h>

using testing::MainWindowFixture;

namespace {

const QString kDiscard = QStringLiteral("Es sind noch Karten im aktuellen Deck.\r\n\r\nSoll das aktuelle Deck verworfen werden?");

// A socket path in a private folder of this test's own.
QString freshName() {
    static QTemporaryDir folder;
    return folder.filePath(QStringLiteral("handover-") + QUuid::createUuid().toString(QUuid::Id128).left(12));
}

// Hands over from another thread, as a second process would, while this thread serves events.
bool handOverFromElsewhere(const QString& name, const QString& path, int waitMs) {
    std::atomic<bool> taken = false;
    std::thread later([&] { taken = ui::handOverToRunningProgram({name}, path, waitMs).isEmpty(); });
    QDeadlineTimer deadline(waitMs + 2000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (later.joinable() && taken)
            break;
    }
    later.join();
    return taken;
}

// A connection of the test's own, made as a later start's would be; -1 when there is none.
int connectTo(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0)
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

class TstHandOver : public QObject {
    Q_OBJECT

    static QString writeDeck(MainWindowFixture& f, const QString& name, const QString& leader, int cards) {
        const QString path = f.dir.filePath(name);
        testing::writeFile(path, testing::deckFileFor(f.dir.databasePath(), leader, cards));
        return path;
    }
    static void handOver(MainWindowFixture& f, const QString& path) {
        QSignalSpy done(f.window.get(), &ui::frmMain::handOverDone);
        f.window->takeHandOver(path);
        QTRY_COMPARE(done.count(), 1);
    }

private Q_SLOTS:
    void aLaterStartReachesTheRunningProgram() {
        ui::HandOverServer server;
        const QString name = freshName();
        QString why;
        QVERIFY2(server.listen(name, &why), qPrintable(why));
        QSignalSpy spy(&server, &ui::HandOverServer::handedOver);
        QVERIFY(handOverFromElsewhere(name, QStringLiteral("/home/p/mein deck.drd"), 5000));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("/home/p/mein deck.drd"));
        // A start without a deck hands over an empty path: the program only comes to the front.
        QVERIFY(handOverFromElsewhere(name, QString(), 5000));
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toString(), QString());
        // Listening again on the same name keeps the socket file there.
        QVERIFY2(server.listen(name, &why), qPrintable(why));
        QVERIFY(handOverFromElsewhere(name, QStringLiteral("/home/p/wieder.drd"), 5000));
        QTRY_COMPARE(spy.count(), 3);
    }

    void withoutARunningProgramTheHandOverFails() {
        QElapsedTimer t;
        t.start();
        QCOMPARE(ui::handOverToRunningProgram({freshName()}, QStringLiteral("/a.drd"), 400),
                 QStringLiteral("Das laufende Programm ist nicht erreichbar."));
        QVERIFY(t.elapsed() < 3000);
    }

    void aSocketLeftByAKilledProgramIsReplaced() {
        const QString name = freshName();
        const QByteArray path = QFile::encodeName(name);
        // What a killed program leaves: the socket file, nobody listening.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));

        ui::HandOverServer server;
        QString why;
        QVERIFY2(server.listen(name, &why), qPrintable(why));
        QSignalSpy spy(&server, &ui::HandOverServer::handedOver);
        QVERIFY(handOverFromElsewhere(name, QStringLiteral("/x.drd"), 5000));
        QTRY_COMPARE(spy.count(), 1);
    }

    // A message may come in pieces; what is not one is dropped with its connection, unanswered.
    void theServerReadsPiecesAndDropsWhatIsNotAMessage() {
        ui::HandOverServer server;
        const QString name = freshName();
        QVERIFY(server.listen(name, nullptr));
        QSignalSpy spy(&server, &ui::HandOverServer::handedOver);
        const auto answerOf = [](int fd) {
            char answer = 'x';
            QDeadlineTimer deadline(3000);
            while (!deadline.hasExpired()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                const ssize_t n = ::recv(fd, &answer, 1, MSG_DONTWAIT);
                if (n == 1)
                    return QByteArray(1, answer);
                if (n == 0)
                    return QByteArray("closed");
            }
            return QByteArray("nothing");
        };
        const int foreign = connectTo(name);
        QVERIFY(foreign >= 0);
        QVERIFY(::write(foreign, "GET / HTTP/1.1\r\nHost: x\r\n\r\n", 27) == 27);
        QCOMPARE(answerOf(foreign), QByteArray("closed"));
        ::close(foreign);

        const QByteArray message = core::encodeHandOver(QStringLiteral("/home/p/stückweise.drd"));
        const int own = connectTo(name);
        QVERIFY(own >= 0);
        QVERIFY(::write(own, message.constData(), 7) == 7);
        QTest::qWait(100);
        QCOMPARE(spy.count(), 0);
        QVERIFY(::write(own, message.constData() + 7, size_t(message.size() - 7)) == message.size() - 7);
        QCOMPARE(answerOf(own), QByteArray(1, core::kHandOverAck));
        ::close(own);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("/home/p/stückweise.drd"));
    }

    // Root can enter any folder: a message of another user is not read, its sender gets no answer,
    // and the program's own user is still heard.
    void aMessageOfAnotherUserIsNotHeard() {
        QTemporaryDir open;
        QVERIFY(::chmod(QFile::encodeName(open.path()).constData(), 0755) == 0);
        const QString name = open.filePath(QStringLiteral("handover"));
        ui::HandOverServer server;
        QVERIFY(server.listen(name, nullptr));
        QVERIFY(::chmod(QFile::encodeName(name).constData(), 0777) == 0);
        QSignalSpy spy(&server, &ui::HandOverServer::handedOver);
        const QByteArray message = core::encodeHandOver(QStringLiteral("/home/p/fremd.drd"));
        const QByteArray path = QFile::encodeName(name);
        const pid_t child = ::fork();
        if (child == 0) {
            // As user nobody: connect, send, wait for the answer. 0 = answered, 1 = not, 2 = no connection.
            if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
                ::_exit(3);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un addr{};
            addr.sun_family = AF_UNIX;
            ::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
            if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
                ::_exit(2);
            (void)!::write(fd, message.constData(), size_t(message.size()));
            pollfd wait{fd, POLLIN, 0};
            char answer = 0;
            ::_exit(::poll(&wait, 1, 3000) == 1 && ::read(fd, &answer, 1) == 1 && answer == core::kHandOverAck ? 0 : 1);
        }
        QVERIFY(child > 0);
        int status = 0;
        QDeadlineTimer deadline(10000);
        while (::waitpid(child, &status, WNOHANG) == 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 1);
        QTest::qWait(100);
        QCOMPARE(spy.count(), 0);
        QVERIFY(handOverFromElsewhere(name, QStringLiteral("/home/p/eigen.drd"), 5000));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("/home/p/eigen.drd"));
    }

    void aHandedOverDeckLoadsIntoAnEmptyDeckWithoutAsking() {
        MainWindowFixture f;
        f.start();
        const QString deck = writeDeck(f, QStringLiteral("übergeben.drd"), QStringLiteral("Harald"), 5);
        QCOMPARE(f.deckRows(), 0);
        handOver(f, deck);
        QCOMPARE(f.deckRows(), 5);
        QCOMPARE(f.window->cmbLeader->currentText(), QStringLiteral("Harald (Orvane: 40 Karten / 12 Monde )"));
        QCOMPARE(f.prompter.messages.size(), 1u);
        QCOMPARE(f.prompter.messages[0].text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QCOMPARE(f.prompter.messages[0].title, QStringLiteral("Dravenna-Deck geladen"));
        QVERIFY(f.prompter.dialogs.empty());
    }

    void aDeckWithCardsIsDiscardedOnlyOnYes() {
        MainWindowFixture f;
        const QString first = writeDeck(f, QStringLiteral("erstes.drd"), QStringLiteral("Harald"), 3);
        const QString second = writeDeck(f, QStringLiteral("zweites.drd"), QStringLiteral("Edelgard von Orvane"), 7);
        f.start(first);
        QCOMPARE(f.deckRows(), 3);
        const QStringList before = f.deckNames();
        const QString leaderBefore = f.window->cmbLeader->currentText();
        f.prompter.messages.clear();

        f.prompter.answer(core::Answer::No);
        handOver(f, second);
        QCOMPARE(f.prompter.messages.size(), 1u);
        QCOMPARE(f.prompter.messages[0].text, kDiscard);
        QCOMPARE(f.prompter.messages[0].title, QStringLiteral("Dravenna-Deck laden"));
        QCOMPARE(f.prompter.messages[0].icon, core::Icon::Question);
        QCOMPARE(f.prompter.messages[0].buttons, core::Buttons::YesNo);
        // No leaves everything.
        QCOMPARE(f.deckNames(), before);
        QCOMPARE(f.window->cmbLeader->currentText(), leaderBefore);

        f.prompter.answer(core::Answer::Yes);
        handOver(f, second);
        QCOMPARE(f.prompter.messages.size(), 3u);
        QCOMPARE(f.prompter.messages[1].text, kDiscard);
        QCOMPARE(f.prompter.messages[2].text, QStringLiteral("Das Dravenna-Deck wurde geladen"));
        QCOMPARE(f.deckRows(), 7);
        QCOMPARE(f.deckCountInDatabase(), 7);
        QVERIFY(f.window->cmbLeader->currentText().startsWith(QStringLiteral("Edelgard von Orvane (")));
    }

    void aPathThatNamesNoFileOnlyBringsTheWindowToTheFront() {
        MainWindowFixture f;
        const QString first = writeDeck(f, QStringLiteral("erstes.drd"), QStringLiteral("Harald"), 3);
        f.start(first);
        f.prompter.messages.clear();
        f.window->showMinimized();
        QTRY_VERIFY(f.window->isMinimized());
        handOver(f, f.dir.filePath(QStringLiteral("gibt es nicht.drd")));
        QVERIFY(!f.window->isMinimized());
        QVERIFY(f.window->isVisible());
        QVERIFY(f.prompter.messages.empty());
        QCOMPARE(f.deckRows(), 3);
        f.window->showMinimized();
        QTRY_VERIFY(f.window->isMinimized());
        handOver(f, QString());
        QVERIFY(!f.window->isMinimized());
        QVERIFY(f.prompter.messages.empty());
    }

    void aDeckWaitsUntilTheOpenDialogIsClosed() {
        MainWindowFixture f;
        f.start();
        const QString deck = writeDeck(f, QStringLiteral("später.drd"), QStringLiteral("Harald"), 4);
        QDialog dialog(f.window.get());
        dialog.setModal(true);
        dialog.show();
        QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
        QSignalSpy done(f.window.get(), &ui::frmMain::handOverDone);
        f.window->takeHandOver(deck);
        QTest::qWait(600);
        QCOMPARE(done.count(), 0);
        QCOMPARE(f.deckRows(), 0);
        dialog.close();
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(f.deckRows(), 4);
    }

    void theProgramIconIsThereAtEverySize() {
        const QIcon icon = ui::programIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
        for (const QSize& size : icon.availableSizes()) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), size);
            // Drawn, not blank: the card's face is opaque in the middle.
            QCOMPARE(qAlpha(image.pixel(size.width() / 2 + size.width() / 8, size.height() / 2)), 255);
        }
    }

    void aDroppedDeckFileLoadsLikeDeckLaden() {
        MainWindowFixture f;
        const QString first = writeDeck(f, QStringLiteral("erstes.drd"), QStringLiteral("Harald"), 3);
        const QString dropped = writeDeck(f, QStringLiteral("GEZOGEN.DRD"), QStringLiteral("Edelgard von Orvane"), 6);
        testing::writeFile(f.dir.filePath(QStringLiteral("notiz.txt")), "x");
        f.start(first);
        f.prompter.messages.clear();

        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(f.dir.filePath(QStringLiteral("notiz.txt")))});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.window.get(), &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(f.dir.filePath(QStringLiteral("notiz.txt"))), QUrl::fromLocalFile(dropped)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QSignalSpy done(f.window.get(), &ui::frmMain::handOverDone);
        f.prompter.answer(core::Answer::Yes);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.window.get(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(f.prompter.messages.size(), 2u);
        QCOMPARE(f.prompter.messages[0].text, kDiscard);
        QCOMPARE(f.deckRows(), 6);
    }
};

QTEST_MAIN(TstHandOver)
#include "tst_handover.moc"
