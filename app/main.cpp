// The window program's start: arguments, the one running instance, the main window.
#include "core/datalocation.h"
#include "core/handovermessage.h"
#include "core/handoverplace.h"
#include "core/instancelock.h"
#include "core/programdir.h"
#include "core/prompter.h"
#include "core/qttranslation.h"
#include "core/sessionscript.h"
#include "db/cataloguecheck.h"
#include "db/dberror.h"
#include "core/dialogprompter.h"
#include "app/commandline.h"
#include "app/deferredicons.h"
#include "app/firstpaint.h"
#include "app/frmmain.h"
#include "app/handoverchannel.h"
#include "app/nodisplay.h"
#include "db/flexgrid.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <csignal>
#include <optional>

namespace {

const QString kTitle = QStringLiteral("Dravenna Deck-Builder");

void tell(const QString& text, core::Icon icon) {
    // The window icon comes after the main window's first picture; a box before it needs it now.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(ui::programIcon());
    core::prompter().message(text, kTitle, icon, core::Buttons::Ok);
}

// The test hook's player: takes the script's menu choices and closings in turn whenever the
// program is idle and the script is not waiting for a box or a hand-over.
class ScriptedPlayer : public QObject {
public:
    ScriptedPlayer(core::SessionScript& script, ui::frmMain& window) : m_script(script), m_window(window) {
        connect(&window, &ui::frmMain::handOverDone, this, [this] {
            m_awaiting = false;
            schedule();
        });
    }
    void schedule() { QTimer::singleShot(0, this, [this] { step(); }); }

private:
    void step() {
        if (m_awaiting || QApplication::activeModalWidget())
            return;
        // The start-up deck's box comes first, as it does for a player.
        if (m_window.holdsBoxes()) {
            QTimer::singleShot(50, this, [this] { step(); });
            return;
        }
        const auto action = m_script.takeAction();
        if (!action)
            return;
        if (action->verb == u"await") {
            m_awaiting = true;
            return;
        }
        if (action->verb == u"close") {
            m_window.close();
        } else if (QAction* entry = m_window.findChild<QAction*>(action->argument)) {
            entry->trigger();
        } else {
            m_script.log({QStringLiteral("error"), QStringLiteral("no menu entry ") + action->argument});
        }
        schedule();
    }

    core::SessionScript& m_script;
    ui::frmMain& m_window;
    bool m_awaiting = false;
};

} // namespace

int main(int argc, char** argv) {
    // Under a file-size limit a write must fail with an error that a save reports, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const std::optional<int> answered = ui::answerBeforeDisplay(argc, argv))
        return *answered;
    core::makeLocaleGerman();
    std::optional<ui::NoDisplayGuard> noDisplay(std::in_place);
    QApplication app(argc, argv);
    noDisplay.reset();
    QApplication::setStyle(new ui::DeferredIconStyle(QApplication::style()->name()));
    // Read again without Qt's own options, which QApplication has taken out.
    const ui::StartRequest start = ui::readStartRequest(QCoreApplication::arguments());
    if (start.kind == ui::StartRequest::Kind::Wrong)
        return ui::refuse(start);
    core::installQtGermanTranslation(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("de.dravenna.deckbuilder"));
    ui::DialogPrompter prompter;
    core::setDefaultPrompter(&prompter);

    // The test hook (see core/sessionscript.h): a script stands in for the player.
    std::unique_ptr<core::SessionScript> script;
    if (const QString path = qEnvironmentVariable("DRAVENNA_SESSION_SCRIPT"); !path.isEmpty()) {
        script = std::make_unique<core::SessionScript>(path, qEnvironmentVariable("DRAVENNA_SESSION_LOG"));
        if (!script->error().isEmpty()) {
            qCritical("DRAVENNA_SESSION_SCRIPT %s: %s", qPrintable(path), qPrintable(script->error()));
            return 2;
        }
        core::setDefaultPrompter(script.get());
    }

    // Installed read-only, the program keeps its database in the player's data folder.
    const core::DataLocation location = core::chooseDataLocation(core::programDirectory(), core::perUserDataDirectory());
    if (location.perUser) {
        const QString folder = QFileInfo(location.databasePath).absolutePath();
        if (!QDir().mkpath(folder)) {
            tell(QStringLiteral("Der Ordner für die Daten des Dravenna Deck-Builders kann nicht angelegt werden:\r\n") + folder,
                 core::Icon::Critical);
            return 1;
        }
        core::setPerUserDirectory(folder);
    }

    QStringList args{QCoreApplication::arguments().value(0)};
    if (!start.deckArgument.isEmpty())
        args << start.deckArgument;
    const auto lock = core::claimDatabase(core::databasePath());
    if (lock->state() == core::InstanceLock::State::CannotCreate) {
        tell(lock->reason(), core::Icon::Critical);
        return 1;
    }
    if (lock->state() == core::InstanceLock::State::HeldByLiveProgram) {
        // The program that owns the database takes this start's deck and comes to the front.
        QString why;
        const QStringList sockets = core::handOverConnectPaths(core::databasePath(), &why);
        if (!sockets.isEmpty())
            why = ui::handOverToRunningProgram(sockets, core::handedOverDeckPath(args, QDir::currentPath()), 10000);
        if (why.isEmpty())
            return 0;
        tell(QStringLiteral("Der Dravenna Deck-Builder läuft bereits und kann diesen Start nicht übernehmen: ") + why, core::Icon::Exclamation);
        return 1;
    }

    // Listening before anything can show a box: a later start meanwhile waits for no one. What it
    // hands over before the window exists is kept for the window.
    std::unique_ptr<ui::frmMain> window;
    ui::HandOverServer server; // gone before the window it hands to
    QStringList handedOverEarly;
    QObject::connect(&server, &ui::HandOverServer::handedOver, &server, [&window, &handedOverEarly](const QString& deckPath) {
        if (window)
            window->takeHandOver(deckPath);
        else
            handedOverEarly << deckPath;
    });
    QString listenProblem;
    const QString socketPath = core::handOverListenPath(core::databasePath(), &listenProblem);
    if (socketPath.isEmpty() || !server.listen(socketPath, &listenProblem))
        qWarning("Spätere Starts können ihr Deck nicht übergeben: %s", qPrintable(listenProblem));

    if (location.perUser) {
        const QString shipped = core::joinPath(core::programDirectory(), QStringLiteral("dravennacard.db"));
        QString notice;
        if (const QString why = core::refreshPerUserCopy(shipped, location.databasePath, db::catalogueProblem, &notice); !why.isEmpty()) {
            tell(why, core::Icon::Critical);
            return 1;
        }
        if (!notice.isEmpty())
            tell(notice, core::Icon::Exclamation);
    }

    try {
        window = std::make_unique<ui::frmMain>(args.size() > 1 ? args.at(1) : QString());
    } catch (const db::DbError& e) {
        tell(core::readableDescription(e), core::Icon::Critical);
        return 1;
    }
    // Its sizes are decoded when a window gets it: not before the first picture.
    ui::AfterFirstPaint::run(window->flxPool->viewport(), [] {
        if (QApplication::windowIcon().isNull())
            QApplication::setWindowIcon(ui::programIcon());
    });
    // On the window itself, whose first paint pass draws every child before it is flushed; installed
    // last, so it reports before anything that waits for that paint (the card window) runs.
    ui::FirstPaintReport::installIfAsked(window.get());
    for (const QString& deckPath : std::as_const(handedOverEarly))
        window->takeHandOver(deckPath);

    window->show();
    std::unique_ptr<ScriptedPlayer> player;
    if (script) {
        player = std::make_unique<ScriptedPlayer>(*script, *window);
        player->schedule();
    }
    return app.exec();
}
