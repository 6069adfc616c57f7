#include <gtest/gtest.h>

#include "CliRunner.h"

TEST(Cli, HelpSucceedsAndWrongUsageExitsWithTwo) {
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitDone);
    EXPECT_NE(help.out.find("varnok-dat"), std::string::npos);
    EXPECT_EQ(RunCli({}).status, kExitUsage);
    EXPECT_EQ(RunCli({"no-such-command"}).status, kExitUsage);
}

TEST(Cli, VersionAnswersWithoutASubcommandOnStandardOutput) {
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.status, kExitDone);
    EXPECT_EQ(version.out.rfind("varnok-dat ", 0), 0U) << version.out;
    EXPECT_EQ(version.out.back(), '\n');
    EXPECT_EQ(version.err, "");
    // A subcommand does not take it.
    EXPECT_EQ(RunCli({"list", "--version"}).status, kExitUsage);
}
