#pragma once

class QCoreApplication;

namespace core {

// Makes Qt's own texts (dialog buttons, the file dialog, its questions) German like the rest of the
// program. False when the translation is not installed; Qt's English texts stay then.
bool installQtGermanTranslation(QCoreApplication& app);

} // namespace core
