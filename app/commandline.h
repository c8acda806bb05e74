#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ui {

// What a start of the window program asks for.
struct StartRequest {
    enum class Kind { Start, Help, Version, Wrong };
    Kind kind = Kind::Start;
    QString deckArgument; // Start: the deck file as given (quotes still around it), or empty
    QString message;      // Wrong: what is wrong, one German line
};

// Reads the arguments (the program's name first). Qt's own options (-platform, -style, …) are taken
// out by QApplication before; without it they are only wrong, and only --help and --version count.
StartRequest readStartRequest(const QStringList& arguments);

QString windowProgramHelp();
QString windowProgramVersion();

// Answers --help or --version from the raw arguments, before a display is asked for; the exit code,
// or nothing when the program is to start.
std::optional<int> answerBeforeDisplay(int argc, char** argv);
// Says on standard error what is wrong with the call; the exit code.
int refuse(const StartRequest& wrong);

} // namespace ui
