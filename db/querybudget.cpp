// The time a condition from a player or a file may keep the engine busy.
#include "db/querybudget.h"

namespace db {

namespace {
QueryWatchFactory g_factory;
QueryBudget g_budget;
} // namespace

void setQueryWatchFactory(QueryWatchFactory factory) { g_factory = std::move(factory); }

std::unique_ptr<QueryWatch> makeQueryWatch(const QueryBudget& budget) {
    return g_factory ? g_factory(budget) : nullptr;
}

QueryBudget queryBudget() { return g_budget; }
void setQueryBudget(const QueryBudget& budget) { g_budget = budget; }

} // namespace db
