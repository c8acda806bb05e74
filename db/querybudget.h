#pragma once

#include "core/errornumbers.h"
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

namespace db {

// How long a condition from a player or a file may keep the engine busy.
struct QueryBudget {
    // A query still running after this long is shown to the player, who may cancel it.
    std::chrono::milliseconds showAfter{500};
    // A query still running after this long is interrupted: ten seconds are far more than any
    // condition over the catalogue needs (the whole pool reads in milliseconds), and short enough
    // that nobody takes the program for hung.
    std::chrono::milliseconds hardLimit{10000};
};

// Watches one running query; the engine calls it every few thousand steps.
class QueryWatch {
public:
    virtual ~QueryWatch() = default;
    // elapsed: time since the query started. Returns false when the player cancelled.
    virtual bool keepRunning(std::chrono::milliseconds elapsed) = 0;
};

// Makes a watch for each guarded query; the program installs one that shows a progress window.
using QueryWatchFactory = std::function<std::unique_ptr<QueryWatch>(const QueryBudget&)>;
void setQueryWatchFactory(QueryWatchFactory factory);
std::unique_ptr<QueryWatch> makeQueryWatch(const QueryBudget& budget);

// The budget every guarded query runs under; tests shorten it.
QueryBudget queryBudget();
void setQueryBudget(const QueryBudget& budget);

// A duration in seconds as the messages show it ("10", "0,5").
QString secondsText(std::chrono::milliseconds duration);

// Error numbers of a guarded query that was stopped.
inline constexpr int kQueryCancelled = core::errors::kQueryCancelled;

} // namespace db
