#pragma once
// Runs varnok-dat in-process and captures what it prints.

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

inline CliRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = RunVarnokDat(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}
