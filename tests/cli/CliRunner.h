#pragma once
// Runs varnok-dat in-process and captures what it prints.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
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

// Writes `bytes` to `path` and runs the command `args` followed by `path`: the
// file must be refused, with nothing on standard output and every one of
// `expected` in the message.
inline void ExpectFileRefused(const std::string& path, const Bytes& bytes,
                              std::vector<std::string> args,
                              const std::vector<std::string>& expected) {
    SCOPED_TRACE(path);
    WriteFileBytes(path, bytes);
    args.push_back(path);
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, "");
    for (const std::string& text : expected)
        EXPECT_NE(run.err.find(text), std::string::npos) << text << "\n" << run.err;
}

// Runs `args`, which must fail with exit 1 and `text` in its message.
inline CliRun ExpectFailure(const std::vector<std::string>& args, const std::string& text) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, kExitFailed) << args[0] << "\n" << run.err;
    EXPECT_NE(run.err.find(text), std::string::npos) << text << "\n" << run.err;
    return run;
}
