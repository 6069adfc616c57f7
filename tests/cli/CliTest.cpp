#include <gtest/gtest.h>

#include "CliRunner.h"

TEST(Cli, HelpSucceedsAndWrongUsageExitsWithTwo) {
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitDone);
    EXPECT_NE(help.out.find("varnok-dat"), std::string::npos);
    EXPECT_EQ(RunCli({}).status, kExitUsage);
    EXPECT_EQ(RunCli({"no-such-command"}).status, kExitUsage);
}
