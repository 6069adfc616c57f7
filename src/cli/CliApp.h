#pragma once
// The varnok-dat command-line program: subcommands over the core operations.
// Exit status 0 = done, 1 = the operation failed, 2 = wrong usage.

#include <ostream>
#include <string>
#include <vector>

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs the program with `args` (program name excluded).
int RunVarnokDat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
