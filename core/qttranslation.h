#pragma once

#include <QString>

#include <functional>

class QCoreApplication;

namespace core {

// Makes Qt's own texts (dialog buttons, the file dialog, its questions) German like the rest of the
// program. False when the translation is not installed; Qt's English texts stay then.
bool installQtGermanTranslation(QCoreApplication& app);

// The program's locale is German whatever the environment says, as its texts are: Qt's file
// dialogs take sizes and dates from the system locale. Given the environment, the value LC_ALL must
// get for that, or an empty text when every category Qt reads already names a German locale (de_AT
// stays de_AT).
QString germanLocaleOverride(const std::function<QString(const char* name)>& environment);
// Applies it to this process; must run before the QApplication exists, which reads the locale once.
void makeLocaleGerman();

} // namespace core
