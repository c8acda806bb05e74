// What the filter and special filter dialogs share.
#include "filter/filterdialog.h"

#include "filter/filterfile.h"

namespace filter {

void FilterDialog::saveFilterLine(const QString& line) { saveFilterFile(cmdcSaveLoad, line, m_quickFiltersChanged); }

} // namespace filter
