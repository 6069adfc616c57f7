#include <gtest/gtest.h>

#include "CliRunner.h"

TEST(Cli, HelpAndVersionSucceedAndWrongUsageExitsWithTwo) {
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitDone);
    EXPECT_NE(help.out.find("varnok-dat"), std::string::npos);
    EXPECT_EQ(RunCli({}).status, kExitUsage);
    EXPECT_EQ(RunCli({"no-such-command"}).status, kExitUsage);

    // --version answers on standard output, and only without a subcommand.
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.status, kExitDone);
    EXPECT_EQ(version.out.rfind("varnok-dat ", 0), 0U) << version.out;
    EXPECT_EQ(version.out.back(), '\n');
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(RunCli({"list", "--version"}).status, kExitUsage);
}
