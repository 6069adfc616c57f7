#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "CliRunner.h"
#include "TestFiles.h"

// The sanitizers reserve more address space than any limit allows.
#ifndef __SANITIZE_ADDRESS__

namespace {

// The address space this process uses now, in bytes.
rlim_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    unsigned long long pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Runs the program in a child whose address space may grow by `headroom`
// only; standard error goes to `errPath`.
CliRun RunWithLittleMemory(const std::vector<std::string>& args, rlim_t headroom,
                           const std::string& errPath) {
    CliRun run;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        // Whatever happens, the child ends here and never goes on with the tests.
        int status = 98;  // an exception escaped the program
        try {
            std::ostringstream out;
            std::ostringstream err;
            const rlim_t limit = AddressSpaceInUse() + headroom;
            const rlimit lowered{limit, limit};
            if (setrlimit(RLIMIT_AS, &lowered) != 0) _exit(99);
            status = RunVarnokDat(args, out, err);
            std::ofstream(errPath) << err.str();
        } catch (...) {
        }
        _exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    const Bytes err = ReadFileBytes(errPath);
    run.err.assign(err.begin(), err.end());
    return run;
}

}  // namespace

TEST(CliMemory, RunningOutOfMemoryIsAMessageAndExit1) {
    TempDir dir;
    // A sparse SHP file of 200 MB: read whole, it needs more memory than the child may have.
    const std::string shp = dir / "huge.shp";
    WriteFileBytes(shp, Bytes(16, 0));
    ASSERT_EQ(truncate(shp.c_str(), 200 << 20), 0);
    const CliRun run = RunWithLittleMemory({"shp-info", shp}, 64 << 20, dir / "err.txt");
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find(" Not enough  memory \nvarnok-dat shp-info was stopped"),
              std::string::npos)
        << run.err;
}
#endif
