#include "core/instancelock.h"
#include "core/programdir.h"
#include "core/prompter.h"
#include "core/qttranslation.h"
#include "db/dberror.h"
#include "core/dialogprompter.h"
#include "app/firstpaint.h"
#include "app/frmmain.h"
#include "db/flexgrid.h"

#include <QApplication>
#include <csignal>

int main(int argc, char** argv) {
    // Under a file-size limit a write must fail with an error that a save reports, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    core::installQtGermanTranslation(app);
    ui::DialogPrompter prompter;
    core::setDefaultPrompter(&prompter);

    const auto lock = core::claimDatabase(core::databasePath());
    if (lock->state() == core::InstanceLock::State::CannotCreate) {
        core::prompter().message(lock->reason(), QStringLiteral("Dravenna Deck-Builder"), core::Icon::Critical,
                                 core::Buttons::Ok);
        return 1;
    }
    if (lock->state() == core::InstanceLock::State::HeldByLiveProgram) {
        core::prompter().message(QStringLiteral("Der Dravenna Deck-Builder läuft bereits.\r\n\r\n"
                                                "Ein zweites Programm würde das Deck des ersten verwerfen und wird "
                                                "deshalb beendet."),
                                 QStringLiteral("Dravenna Deck-Builder"), core::Icon::Exclamation, core::Buttons::Ok);
        return 1;
    }

    const QStringList args = QCoreApplication::arguments();
    std::unique_ptr<ui::frmMain> window;
    try {
        window = std::make_unique<ui::frmMain>(args.size() > 1 ? args.at(1) : QString());
    } catch (const db::DbError& e) {
        core::prompter().message(core::readableDescription(e), QStringLiteral("Dravenna Deck-Builder"), core::Icon::Critical,
                                 core::Buttons::Ok);
        return 1;
    }
    ui::FirstPaintReport::installIfAsked(window->flxPool->viewport());
    window->show();
    return app.exec();
}
