#pragma once

#include <QString>

namespace core {

class AppError;

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// State of the main window's one open/save dialog; it keeps the last file name between uses.
struct FileDialogState {
    QString dialogTitle;
    QString filter;        // "Beschreibung|*.ext|…" pairs
    int filterIndex = 1;   // 1-based, as the filter pairs are counted
    QString fileName;
    QString initDir;
    QString defaultExt;
    unsigned flags = 0;    // Windows dialog flags, mapped onto the platform dialog's options
};

// Flag values of the Windows file dialog that the program uses.
namespace dialogflags {
inline constexpr unsigned OverwritePrompt = 0x2;
inline constexpr unsigned HideReadOnly = 0x4;
inline constexpr unsigned NoReadOnlyReturn = 0x8000;
inline constexpr unsigned PathMustExist = 0x800;
inline constexpr unsigned FileMustExist = 0x1000;
} // namespace dialogflags

// Readies the dialog for one use: title, flags, the folder of the player's files to start in, a filter list
// "<filterName> (*.<ext>)|*.<ext>|Alle Dateien (*.*)|*.*", and the remembered file name only when it
// still has that extension. The default extension is the owner's and stays as it is.
void prepareFileDialog(FileDialogState& state, const QString& title, const QString& extension, const QString& filterName,
                       unsigned flags);

// The extension a bare file name typed into the dialog gets: that of the dialog's own file type (its
// first pattern, "*.txt" gives "txt"), else the dialog's default extension. A deck list typed as
// "liste" must become "liste.txt", not a deck file.
QString dialogExtension(const FileDialogState& state);

// Message boxes and file dialogs: production shows real ones, tests script the answers.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) = 0;
    // Returns false when the user cancels; on success state.fileName holds the chosen path.
    virtual bool fileDialog(FileDialogState& state, bool save) = 0;
};

Prompter& prompter();

// An error's description as a message box shows it: a text that holds a whole statement or a whole
// file is cut to a length a player can read.
QString readableDescription(const core::AppError& e);

// Shows an engine failure the way the program reports errors of one operation.
void showError(const QString& title, const core::AppError& e);
// Replaces the prompter (tests); nullptr restores the one installed by the program.
void setPrompter(Prompter* p);
void setDefaultPrompter(Prompter* p);

} // namespace core
