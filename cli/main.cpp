// dravenna-deck: checks, lists, converts and queries decks with the program's own rules and formats.
#include "cli/commandline.h"
#include "cli/commands.h"
#include "cli/output.h"

#include <QCoreApplication>
#include <csignal>

int main(int argc, char** argv) {
    // Under a file-size limit a write must fail with a message, not end the tool half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    const cli::Parsed parsed = cli::parseCommandLine(QCoreApplication::arguments().mid(1));
    if (!parsed.invocation) {
        cli::reportError(parsed.error);
        return cli::kUnreadable;
    }
    return cli::run(*parsed.invocation);
}
