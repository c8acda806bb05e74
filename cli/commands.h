#pragma once

#include "cli/commandline.h"

namespace cli {

// Exit codes.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;     // check: the deck exceeds a limit
inline constexpr int kUnreadable = 2; // check: the deck cannot be read; any command: a wrong call

// Runs one command; output and messages go to standard output and standard error.
int run(const Invocation& call);

} // namespace cli
