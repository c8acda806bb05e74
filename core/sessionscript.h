#pragma once

#include "core/prompter.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace core {

// The program's test hook. When the environment names a script (DRAVENNA_SESSION_SCRIPT), the
// script stands in for the player of a real program run: it answers the message boxes and file
// dialogs in turn and names the menu entries to choose; every box and dialog is written to a log
// (DRAVENNA_SESSION_LOG) so that a test can check what the player was shown. The program takes
// its normal paths; only the player's clicks come from the file.
//
// Script lines, one step each:
//   answer Yes|No|Ok    the next message box (an OK box without its line is answered OK)
//   file PATH           the next file dialog chooses PATH; "file" alone cancels it
//   menu NAME           choose the menu entry with that object name
//   close               close the main window
//   await               wait until a later start has handed its command line over
// Log lines: fields separated by tabs; tab, CR, LF and backslash written as \t \r \n \\.
class SessionScript : public Prompter {
public:
    struct Step {
        QString verb;
        QString argument;
    };

    SessionScript(const QString& scriptPath, const QString& logPath);

    // Empty when the script was read, else why not.
    QString error() const { return m_error; }

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    bool fileDialog(FileDialogState& state, bool save) override;

    // The next step the player takes on their own (menu, close, await); nothing while the script's
    // next line answers a box that has not been shown yet, or at its end.
    std::optional<Step> takeAction();

    void log(const QStringList& fields);

    static QString escape(const QString& field);
    static QStringList parseLogLine(const QString& line);

private:
    std::optional<Step> takeIf(const QString& verb);

    QList<Step> m_steps;
    qsizetype m_next = 0;
    QString m_logPath;
    QString m_error;
};

} // namespace core
