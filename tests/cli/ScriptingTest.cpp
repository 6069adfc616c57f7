// The command line as scripts use it: standard output as the output file,
// patterns of item names, dry runs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "BmpBuilder.h"
#include "CliRunner.h"
#include "DatFiles.h"
#include "S16Files.h"

namespace {

class Scripting : public ::testing::Test {
protected:
    void SetUp() override {
        unit = CodedS16(9, 4, 4, [](int i, int, int) { return MakeColor(8 * i, 0, 0); });
        panel = CodedS16(2, 6, 2, [](int, int x, int) { return MakeColor(0, 4 * x, 0); });
        WriteFileBytes(archive, DatBytes({{"PANEL01.S16", panel},
                                          {"README.TXT", {'h', 'i'}},
                                          {"UNIT01.S16", unit},
                                          {"UNIT02.S16", unit}}));
    }

    // Runs the program itself with standard output going to `output`;
    // arguments must not need quoting.
    CliRun RunInto(const std::string& output, const std::vector<std::string>& args) const {
        std::string command = VARNOK_DAT_PROGRAM;
        for (const std::string& arg : args)
            command += " " + arg;
        command += " >" + output + " 2>" + (dir / "run.err");
        const int status = std::system(command.c_str());
        CliRun run;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = ReadFileText(dir / "run.err");
        return run;
    }

    TempDir dir;
    std::string archive = dir / "KELPAR.dat";
    Bytes unit, panel;
};

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

}  // namespace

TEST_F(Scripting, DashWritesTheOneFileToStandardOutputAndNothingElse) {
    CliRun run = RunCli({"extract", archive, "unit02.s16", "-o", "-"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(AsBytes(run.out), unit);
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(FileExists("-"));
    run = RunCli({"extract", archive, "--filter", "PANEL", "-o", "-"});
    EXPECT_EQ(AsBytes(run.out), panel);

    run = RunCli({"extract", archive, "--units", "-o", "-"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("-o - writes one item to standard output, but 2 items were chosen"),
              std::string::npos);

    ASSERT_EQ(
        RunCli({"to-bmp", archive + ":PANEL01.S16", "--icon", "2", "-o", dir / "i.bmp"}).status,
        kExitDone);
    run = RunCli({"to-bmp", archive + ":PANEL01.S16", "--icon", "2", "-o", "-"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(AsBytes(run.out), ReadFileBytes(dir / "i.bmp"));
    ASSERT_EQ(RunCli({"to-bmp", archive + ":UNIT01.S16", "--collage", "-o", dir / "c.bmp"}).status,
              kExitDone);
    EXPECT_EQ(AsBytes(RunCli({"to-bmp", archive + ":UNIT01.S16", "--collage", "-o", "-"}).out),
              ReadFileBytes(dir / "c.bmp"));
    ExpectFailure({"to-bmp", archive + ":UNIT01.S16", "--all", "-o", "-"},
                  "--all writes a file per icon");
    ASSERT_EQ(
        RunCli({"to-png", archive + ":UNIT01.S16", "--icon", "3", "-o", dir / "i.png"}).status,
        kExitDone);
    run = RunCli({"to-png", archive + ":UNIT01.S16", "--icon", "3", "-o", "-"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(AsBytes(run.out), ReadFileBytes(dir / "i.png"));
    run = ExpectFailure({"to-png", archive + ":UNIT01.S16", "--sheet", "-o", "-"},
                        "--sheet writes a picture and its description");
    EXPECT_TRUE(run.out.empty());

    EXPECT_EQ(RunCli({"report", archive, "-o", "-"}).out, RunCli({"report", archive}).out);
    EXPECT_FALSE(FileExists("-"));
}

TEST_F(Scripting, AFullStandardOutputIsAnErrorWithAMessage) {
    if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"extract", archive, "UNIT01.S16", "-o", "-"},
          {"to-bmp", archive + ":UNIT01.S16", "-o", "-"},
          {"report", archive, "-o", "-"},
          {"list", archive, "--json"}}) {
        SCOPED_TRACE(args.front());
        const CliRun run = RunInto("/dev/full", args);
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_NE(run.err.find("Error on writing [standard output]"), std::string::npos) << run.err;
    }
}

TEST_F(Scripting, PatternsChooseItemsInAnyLetterCase) {
    CliRun run = RunCli({"extract", archive, "unit*", "-o", dir / "out"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(FolderListing(dir / "out"), (std::vector<std::string>{"UNIT01.S16", "UNIT02.S16"}));
    ExpectFailure({"extract", archive, "X*", "-o", dir / "none"},
                  "X* matches no item of " + archive);
    EXPECT_FALSE(FileExists(dir / "none"));

    // New files in a folder of their own, in lower case: the pattern picks
    // the items, each takes the file of its name.
    WriteFileBytes(dir / "new/unit01.s16", panel);
    WriteFileBytes(dir / "new/unit02.s16", panel);
    run = RunCli({"replace", archive, dir / "new/UNIT0[12]*"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"list", archive}).out,
              "PANEL01.S16  (2)\nREADME.TXT  (0)\nUNIT01.S16  (2)\nUNIT02.S16  (2)\n");
    // A matched item without a file stops the command before anything changes.
    const Bytes before = ReadFileBytes(archive);
    ExpectFailure({"replace", archive, dir / "new/*.S16"}, "matches the item PANEL01.S16, but");
    EXPECT_EQ(ReadFileBytes(archive), before);

    run = RunCli({"remove", archive, "?NIT*", "readme.txt"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"list", archive}).out, "PANEL01.S16  (2)\n");
    EXPECT_EQ(RunCli({"remove", archive, "UNIT*"}).status, kExitFailed);
}

TEST_F(Scripting, DryRunsTellTheChangeAndWriteNothing) {
    WriteFileBytes(dir / "NEW.S16", panel);
    WriteFileBytes(dir / "unit01.s16", panel);
    WriteFileBytes(dir / "lone.s16", unit);
    WriteFileBytes(dir / "pic.bmp",
                   Bmp24(5, 4, [](int x, int y) { return MakeColor(0, 8 * x, y); }));
    namespace fs = std::filesystem;
    fs::last_write_time(archive, fs::last_write_time(archive) - std::chrono::hours(1));
    fs::last_write_time(dir / "lone.s16", fs::last_write_time(archive));
    const auto listing = FolderListing(dir.Path());
    const auto archiveTime = fs::last_write_time(archive);
    const Bytes archiveBytes = ReadFileBytes(archive);
    const Bytes loneBytes = ReadFileBytes(dir / "lone.s16");
    const std::string size = std::to_string(archiveBytes.size());

    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> told;
    };
    const std::string panelSize = std::to_string(panel.size());
    const std::string unitSize = std::to_string(unit.size());
    const Case cases[] = {
        {{"add", archive, dir / "NEW.S16"},
         {"add NEW.S16 (" + panelSize + " bytes)\n",
          archive + ": " + size + " -> " +
              std::to_string(archiveBytes.size() + 17 + panel.size())}},
        {{"replace", archive, dir / "unit01.s16"},
         {"replace UNIT01.S16 (" + unitSize + " -> " + panelSize + " bytes)\n"}},
        {{"remove", archive, "UNIT*", "readme.txt"},
         {"remove README.TXT (2 bytes)\nremove UNIT01.S16 (" + unitSize + " bytes)\n"}},
        {{"repack", archive}, {"remove README.TXT (2 bytes)\n", "add NEW.S16", "add lone.s16"}},
        {{"insert-icon", dir / "lone.s16", dir / "pic.bmp", "--at", "2"},
         {"insert icon 2\n", "lone.s16: 9 -> 10 icons, " + unitSize + " -> "}},
        {{"remove-icon", dir / "lone.s16", "9"}, {"remove icon 9\n", ": 9 -> 8 icons"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--dry-run");
        SCOPED_TRACE(args.front());
        const CliRun run = RunCli(args);
        ASSERT_EQ(run.status, kExitDone) << run.err;
        for (const std::string& text : c.told)
            EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
        EXPECT_NE(run.out.find("nothing was written (dry run)\n"), std::string::npos);
        EXPECT_EQ(run.err.find("removed"), std::string::npos) << run.err;
        EXPECT_EQ(FolderListing(dir.Path()), listing);
        EXPECT_EQ(ReadFileBytes(archive), archiveBytes);
        EXPECT_EQ(fs::last_write_time(archive), archiveTime);
        EXPECT_EQ(ReadFileBytes(dir / "lone.s16"), loneBytes);
        EXPECT_EQ(fs::last_write_time(dir / "lone.s16"), archiveTime);
    }
    // A dry run refuses what the command would refuse.
    EXPECT_EQ(RunCli({"remove-icon", dir / "lone.s16", "10", "--dry-run"}).status, kExitFailed);
    EXPECT_EQ(RunCli({"add", archive, dir / "unit01.s16", "--dry-run"}).status, kExitFailed);
}
