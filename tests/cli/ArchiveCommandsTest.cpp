#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "CliRunner.h"
#include "DatFiles.h"
#include "S16Files.h"

namespace {

class ArchiveCli : public ::testing::Test {
protected:
    void SetUp() override {
        unit = CodedS16(9, 4, 4, [](int i, int, int) { return MakeColor(8 * i, 0, 0); });
        panel = CodedS16(1, 6, 2, [](int, int x, int) { return MakeColor(0, 4 * x, 0); });
        WriteFileBytes(
            archive,
            DatBytes({{"PANEL01.S16", panel}, {"UNIT01.S16", unit}, {"UNIT02.S16", unit}}));
    }

    TempDir dir;
    std::string archive = dir / "KELPAR.dat";
    Bytes unit, panel;
};

}  // namespace

TEST_F(ArchiveCli, ListsReportsAndCompares) {
    CliRun run = RunCli({"list", archive, "--units"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, "UNIT01.S16  (9)\nUNIT02.S16  (9)\n");
    EXPECT_EQ(RunCli({"list", archive, "--filter", "$02"}).out, "UNIT02.S16  (9)\n");
    EXPECT_EQ(RunCli({"list", archive, "--units", "--interface"}).status, kExitUsage);

    run = RunCli({"report", archive, "--names-only"});
    EXPECT_EQ(run.out,
              "*** KELPAR.dat\n*** 3 items\n//////////////\nPANEL01.S16\nUNIT01.S16\nUNIT02.S16\n");
    ASSERT_EQ(RunCli({"report", archive, "-o", dir / "r.txt"}).status, kExitDone);
    EXPECT_NE(ReadFileText(dir / "r.txt").find("UNIT01.S16       9 icons\n"), std::string::npos);

    run = RunCli({"compare", archive, archive, "--differences-only"});
    EXPECT_NE(run.out.find("*** 3 items in both files"), std::string::npos);
    EXPECT_EQ(RunCli({"compare", archive, dir / "none.dat"}).status, kExitFailed);
    EXPECT_EQ(RunCli({"list", dir / "none.dat"}).status, kExitFailed);
}

TEST_F(ArchiveCli, ExtractsAndUnpacks) {
    CliRun run = RunCli({"extract", archive, "unit02.s16", "-o", dir.Path()});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(ReadFileBytes(dir / "UNIT02.S16"), unit);
    EXPECT_EQ(RunCli({"extract", archive, "NOPE.S16", "-o", dir.Path()}).status, kExitFailed);
    run = RunCli({"extract", archive, "UNIT01.S16", "-o", dir / "new/folder"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(ReadFileBytes(dir / "new/folder/UNIT01.S16"), unit);
    ASSERT_EQ(RunCli({"unpack", archive, dir / "all"}).status, kExitDone);
    EXPECT_EQ(FolderListing(dir / "all"),
              (std::vector<std::string>{"PANEL01.S16", "UNIT01.S16", "UNIT02.S16"}));
}

TEST_F(ArchiveCli, AddsReplacesAndRemoves) {
    WriteFileBytes(dir / "new.s16", panel);
    ASSERT_EQ(RunCli({"add", archive, dir / "new.s16"}).status, kExitDone);
    EXPECT_EQ(RunCli({"list", archive}).out,
              "NEW.S16  (1)\nPANEL01.S16  (1)\nUNIT01.S16  (9)\nUNIT02.S16  (9)\n");
    WriteFileBytes(dir / "unit01.s16", panel);
    ASSERT_EQ(RunCli({"replace", archive, dir / "unit01.s16"}).status, kExitDone);
    EXPECT_EQ(RunCli({"list", archive, "--filter", "UNIT01"}).out, "UNIT01.S16  (1)\n");
    EXPECT_EQ(RunCli({"replace", archive, dir / "new.bmp"}).status, kExitFailed);
    CliRun run = RunCli({"remove", archive, "unit02.s16", "new.s16"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_NE(run.err.find("UNIT02.S16 \t removed"), std::string::npos);
    EXPECT_EQ(RunCli({"list", archive}).out, "PANEL01.S16  (1)\nUNIT01.S16  (1)\n");
    EXPECT_EQ(RunCli({"add", archive, dir / "missing.s16"}).status, kExitFailed);
}

TEST_F(ArchiveCli, RepacksAFolderAndReadsSpritesFromArchives) {
    WriteFileBytes(dir / "pack/B.s16", unit);
    WriteFileBytes(dir / "pack/A.s16", panel);
    const CliRun run = RunCli({"repack", dir / "pack/NEW.dat"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"list", dir / "pack/NEW.dat"}).out, "A.S16  (1)\nB.S16  (9)\n");
    EXPECT_EQ(RunCli({"repack", dir / "empty/NEW.dat"}).status, kExitFailed);

    const CliRun icons = RunCli({"icons", archive + ":unit01.s16"});
    ASSERT_EQ(icons.status, kExitDone) << icons.err;
    EXPECT_EQ(std::count(icons.out.begin(), icons.out.end(), '\n'), 10);
    EXPECT_EQ(RunCli({"icons", archive + ":NONE.S16"}).status, kExitFailed);
    ASSERT_EQ(
        RunCli({"to-bmp", archive + ":UNIT02.S16", "--icon", "9", "-o", dir / "nine.bmp"}).status,
        kExitDone);
}

TEST_F(ArchiveCli, SeveralNamesMakeOneRewriteWithOneBackup) {
    const Bytes before = ReadFileBytes(archive);
    CliRun run = RunCli({"remove", archive, "UNIT01.S16", "panel01.s16"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"list", archive}).out, "UNIT02.S16  (9)\n");
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR_back.dat"), before);

    // A name that is not there stops the command before anything changes.
    const Bytes one = ReadFileBytes(archive);
    ExpectFailure({"remove", archive, "UNIT02.S16", "NOPE.S16"}, "NOPE.S16 is not an item of");
    EXPECT_EQ(ReadFileBytes(archive), one);

    WriteFileBytes(archive, DatBytes({{"A.S16", unit}, {"B.S16", unit}, {"C.S16", unit}}));
    const Bytes three = ReadFileBytes(archive);
    WriteFileBytes(dir / "new/a.s16", panel);
    WriteFileBytes(dir / "new/C.S16", panel);
    run = RunCli({"replace", archive, dir / "new/a.s16", dir / "new/C.S16"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"list", archive}).out, "A.S16  (1)\nB.S16  (9)\nC.S16  (1)\n");
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR_back.dat"), three);
    // One missing replacement: nothing is replaced.
    const Bytes replaced = ReadFileBytes(archive);
    EXPECT_EQ(RunCli({"replace", archive, dir / "new/C.S16", dir / "new/B.S16"}).status,
              kExitFailed);
    EXPECT_EQ(ReadFileBytes(archive), replaced);
}

TEST_F(ArchiveCli, AddRefusesLongAndTakenNamesAndNumbersReachEveryItem) {
    const Bytes before = ReadFileBytes(archive);
    WriteFileBytes(dir / "LONGNAME1234.S16", panel);
    CliRun run = ExpectFailure({"add", archive, dir / "LONGNAME1234.S16"},
                               "LONGNAME1234.S16: an item name has at most 12 characters");
    WriteFileBytes(dir / "new/unit01.s16", panel);
    run = RunCli({"add", archive, dir / "new/unit01.s16"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("unit01.s16 is already an item of " + archive +
                           ": use replace to change it (--allow-duplicate"),
              std::string::npos);
    WriteFileBytes(dir / "a/X.S16", panel);
    WriteFileBytes(dir / "b/x.s16", panel);
    ExpectFailure({"add", archive, dir / "a/X.S16", dir / "b/x.s16"},
                  "x.s16 is named twice among the files to add");
    EXPECT_EQ(ReadFileBytes(archive), before);

    run = RunCli({"add", archive, dir / "new/unit01.s16", "--allow-duplicate"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"list", archive}).out,
              "PANEL01.S16  (1)\nUNIT01.S16  (9)\nUNIT01.S16  (1)\nUNIT02.S16  (9)\n");

    // The second of two equal names is reachable by its number only.
    run = RunCli({"extract", archive, "#3", "-o", dir / "out"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(ReadFileBytes(dir / "out/UNIT01.S16"), panel);
    const CliRun icons = RunCli({"icons", archive + ":#3"});
    ASSERT_EQ(icons.status, kExitDone) << icons.err;
    EXPECT_EQ(std::count(icons.out.begin(), icons.out.end(), '\n'), 2);
    WriteFileBytes(dir / "UNIT01.S16", CodedS16(2, 3, 3, [](int, int, int) { return 0u; }));
    run = RunCli({"replace", archive, "#3=" + (dir / "UNIT01.S16")});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"list", archive, "--filter", "UNIT01"}).out,
              "UNIT01.S16  (9)\nUNIT01.S16  (2)\n");
    ExpectFailure({"remove", archive, "#2", "#9"},
                  "#9 is not an item of " + archive + ": its items are #1 to #4");
    ASSERT_EQ(RunCli({"remove", archive, "#2"}).status, kExitDone);
    EXPECT_EQ(RunCli({"list", archive}).out,
              "PANEL01.S16  (1)\nUNIT01.S16  (2)\nUNIT02.S16  (9)\n");
    EXPECT_EQ(RunCli({"icons", archive + ":#0"}).status, kExitFailed);
}

TEST_F(ArchiveCli, AddTakesTheS16FilesTheIconCommandsRead) {
    // The last icon removed: an S16 of no icons, which icons reads and add stores.
    WriteFileBytes(dir / "UNIT05.S16", panel);
    ASSERT_EQ(RunCli({"remove-icon", dir / "UNIT05.S16", "1"}).status, kExitDone);
    ASSERT_EQ(RunCli({"icons", dir / "UNIT05.S16"}).status, kExitDone);
    CliRun run = RunCli({"add", archive, dir / "UNIT05.S16"});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    // An icon over the size limits: icons refuses the file, and so does add.
    Bytes wide = panel;
    wide[20] = 0xE8;  // icon 1 is 1,000 pixels wide
    wide[21] = 0x03;
    WriteFileBytes(dir / "UNIT06.S16", wide);
    EXPECT_EQ(RunCli({"icons", dir / "UNIT06.S16"}).status, kExitFailed);
    run = RunCli({"add", archive, dir / "UNIT06.S16"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: " + (dir / "UNIT06.S16") +
                           " does not read as an S16 file: icon 1 is 1000 x 2, over the limits of "
                           "an icon (--force stores it anyway)\n");
    EXPECT_EQ(RunCli({"list", archive, "--filter", "UNIT0"}).out,
              "UNIT01.S16  (9)\nUNIT02.S16  (9)\nUNIT05.S16  (0)\n");
}

TEST_F(ArchiveCli, FilesNamedS16MustReadAsS16UnlessForced) {
    const Bytes before = ReadFileBytes(archive);
    WriteFileBytes(dir / "UNIT04.S16", Bmp24(4, 4, [](int, int) { return 0u; }));
    CliRun run =
        ExpectFailure({"add", archive, dir / "UNIT04.S16"},
                      "error: " + (dir / "UNIT04.S16") + " does not read as an S16 file: ");
    EXPECT_NE(run.err.find("(--force stores it anyway)\n"), std::string::npos);
    WriteFileBytes(dir / "new/UNIT01.S16", {});
    EXPECT_EQ(RunCli({"replace", archive, dir / "new/UNIT01.S16"}).status, kExitFailed);
    EXPECT_EQ(ReadFileBytes(archive), before);

    WriteFileBytes(dir / "VERSION.TXT", {'v', '1'});
    run = RunCli({"add", archive, dir / "VERSION.TXT"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    run = RunCli({"add", archive, dir / "UNIT04.S16", "--force"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    run = RunCli({"replace", archive, dir / "new/UNIT01.S16", "--force"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"report", archive, "--names-only"}).out,
              "*** KELPAR.dat\n*** 5 items\n//////////////\nPANEL01.S16\nUNIT01.S16\nUNIT02.S16\n"
              "UNIT04.S16\nVERSION.TXT\n");
}

TEST_F(ArchiveCli, ExtractWithoutNamesWritesWhatListShows) {
    CliRun run = RunCli({"extract", archive, "--units", "-o", dir / "units"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(FolderListing(dir / "units"), (std::vector<std::string>{"UNIT01.S16", "UNIT02.S16"}));
    EXPECT_NE(run.err.find("2 items saved to"), std::string::npos);
    ASSERT_EQ(RunCli({"extract", archive, "--interface", "-o", dir / "other"}).status, kExitDone);
    EXPECT_EQ(FolderListing(dir / "other"), (std::vector<std::string>{"PANEL01.S16"}));
    ASSERT_EQ(RunCli({"extract", archive, "--filter", "$02", "-o", dir / "two"}).status, kExitDone);
    EXPECT_EQ(FolderListing(dir / "two"), (std::vector<std::string>{"UNIT02.S16"}));
    EXPECT_EQ(ReadFileBytes(dir / "two/UNIT02.S16"), unit);
    ASSERT_EQ(RunCli({"extract", archive, "-o", dir / "all"}).status, kExitDone);
    EXPECT_EQ(FolderListing(dir / "all").size(), 3u);
    EXPECT_EQ(RunCli({"extract", archive, "UNIT01.S16", "--units"}).status, kExitUsage);
}

TEST_F(ArchiveCli, ControlCharactersInNamesAreShownEscaped) {
    WriteFileBytes(archive, DatBytes({{"A\nB.S16", unit},
                                      {"C\x1b[2J.S16", panel},
                                      {"D\\E\t.TXT", {1, 2}},
                                      {"F\x7f.S16", panel}}));
    CliRun run = RunCli({"list", archive});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, "A\\nB.S16  (9)\nC\\x1B[2J.S16  (1)\nD\\\\E\\t.TXT  (0)\nF\\x7F.S16  (1)\n");
    run = RunCli({"report", archive});
    EXPECT_NE(run.out.find("A\\nB.S16         9 icons\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    run = RunCli({"remove", archive, "#2"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_NE(run.err.find("C\\x1B[2J.S16 \t removed"), std::string::npos);
}

TEST(ArchiveHelp, TellsWhatIsKeptAndHowNamesAreMadeDistinct) {
    for (const char* command : {"unpack", "extract"}) {
        const CliRun run = RunCli({command, "--help"});
        EXPECT_EQ(run.status, kExitDone);
        for (const char* text :
             {"Files already in the folder are kept, and the command exits 1, unless --overwrite.",
              "the second as NAME~2.EXT", "The archive itself is never written over."}) {
            EXPECT_NE(run.out.find(text), std::string::npos) << command << ": " << text;
        }
    }
    const CliRun run = RunCli({"repack", "--help"});
    EXPECT_NE(run.out.find("An archive already at NEW_ARCHIVE is kept as <name>_back.dat, and "
                           "how many of its items the new one lacks is told."),
              std::string::npos)
        << run.out;
}

// The status is what the operation did, whatever it told on the way: an item
// not written fails the command, a message that only informs does not, and a
// damaged archive fails it even when the rewrite asked for is made.
TEST_F(ArchiveCli, TheExitStatusFollowsWhatTheOperationDid) {
    WriteFileBytes(dir / "out/UNIT01.S16", {7});
    CliRun run = RunCli({"unpack", archive, dir / "out"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: [" + (dir / "out/UNIT01.S16") +
                           "] already exists and is kept: the item is not written\n");
    EXPECT_EQ(FolderListing(dir / "out"),
              (std::vector<std::string>{"PANEL01.S16", "UNIT01.S16", "UNIT02.S16"}));
    EXPECT_EQ(ReadFileBytes(dir / "out/UNIT01.S16"), Bytes{7});

    run = RunCli({"remove", archive, "UNIT02.S16"});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.err, "UNIT02.S16 \t removed\n");

    Bytes cut = DatBytes({{"A.TXT", Filler(10, 1)}, {"B.TXT", Filler(10, 2)}, {"C.TXT", {3}}});
    cut.pop_back();
    const std::string damaged = dir / "CUT.dat";
    WriteFileBytes(damaged, cut);
    run = ExpectFailure(
        {"remove", damaged, "A.TXT"},
        "error: [" + damaged + "] is damaged: 1 items lie outside the file and are not listed\n");
    EXPECT_NE(run.err.find("A.TXT \t removed"), std::string::npos) << run.err;
    run = RunCli({"list", damaged});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, "B.TXT  (0)\n");
}

// SPRITE is a file when one of that name exists, else ARCHIVE.dat:ITEM when
// it reads so; every refusal names what was given.
TEST_F(ArchiveCli, TheSpriteArgumentIsAFileOrAnArchiveItem) {
    const std::string mixed = dir / "MIXED.Dat";
    WriteFileBytes(mixed, DatBytes({{"NOTES.TXT", Filler(4, 1)}, {"UNIT01.S16", unit}}));
    EXPECT_EQ(RunCli({"icons", mixed + ":unit01.s16"}).status, kExitDone);
    CliRun run = RunCli({"icons", mixed + ":notes.txt"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: " + mixed + ":notes.txt is not an S16 item\n");

    WriteFileBytes(dir / "odd.dat:NOTES.TXT", unit);  // a file, though it reads as an item
    run = RunCli({"icons", dir / "odd.dat:NOTES.TXT"});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 10);

    for (const std::string& notItem : {mixed + ":", dir / "KELPAR.bin:UNIT01.S16"}) {
        run = RunCli({"icons", notItem});
        EXPECT_EQ(run.status, kExitFailed) << notItem;
        EXPECT_NE(run.err.find("[" + notItem + "]"), std::string::npos) << run.err;
    }
}

// A folder that cannot be made stops a command before it writes anything, in
// one message naming the folder rather than one per file.
TEST_F(ArchiveCli, AnOutputFolderThatCannotBeMadeIsNamedOnce) {
    WriteFileBytes(dir / "plain", {1});
    const std::string folder = dir / "plain/sub";
    const std::vector<std::vector<std::string>> commands{
        {"unpack", archive, folder},
        {"extract", archive, "-o", folder},
        {"from-shp", dir / "none.shp", "-o", folder},
        {"sample", folder}};
    for (const std::vector<std::string>& args : commands) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, kExitFailed) << args[0];
        EXPECT_EQ(run.err, "error: Error on creating [" + folder + "/]: Not a directory\n")
            << args[0];
    }
}
