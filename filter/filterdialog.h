#pragma once

#include "core/prompter.h"
#include "core/keptdialog.h"

#include <functional>

namespace filter {

// What the filter and special filter dialogs share: the owner's filter text they set, and saving
// a filter file that the quick-filter list then offers.
class FilterDialog : public ui::KeptDialog {
public:
    // where is the owner's filter text; quickFiltersChanged runs after a filter file was saved.
    FilterDialog(QWidget* owner, QString& where, std::function<void()> quickFiltersChanged)
        : KeptDialog(owner), m_where(where), m_quickFiltersChanged(std::move(quickFiltersChanged)) {}

    // The dialog's own file dialog; it remembers the last file name while the dialog stays loaded.
    core::FileDialogState cmdcSaveLoad;

protected:
    QString& where() { return m_where; }
    void saveFilterLine(const QString& line);

private:
    QString& m_where;
    std::function<void()> m_quickFiltersChanged;
};

} // namespace filter
