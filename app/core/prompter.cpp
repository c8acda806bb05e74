#include "app/core/prompter.h"

#include <QtGlobal>

namespace core {

namespace {
Prompter* g_default = nullptr;
Prompter* g_override = nullptr;
} // namespace

Prompter& prompter() {
    Prompter* p = g_override ? g_override : g_default;
    Q_ASSERT_X(p, "prompter", "no prompter installed");
    return *p;
}

void setPrompter(Prompter* p) { g_override = p; }
void setDefaultPrompter(Prompter* p) { g_default = p; }

} // namespace core
