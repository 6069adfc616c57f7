#include <gtest/gtest.h>

#include "CliRunner.h"
#include "S16Files.h"
#include "ShpFiles.h"
#include "TestFiles.h"

TEST(ShpCli, ExportsInspectsAndConvertsBack) {
    TempDir dir;
    WriteFileBytes(dir / "unit.s16", CodedS16(9, 6, 5, [](int i, int x, int) {
                       return MakeColor(20 * i, 8 * x, 0);
                   }));
    CliRun run = RunCli({"to-shp", dir / "unit.s16", dir / "unit.shp"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    run = RunCli({"shp-info", dir / "unit.shp"});
    ASSERT_EQ(run.status, kExitDone);
    EXPECT_EQ(run.out.rfind("9 frames\n", 0), 0u);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 11);

    run = RunCli({"from-shp", dir / "unit.shp", "-o", dir / "out"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_NE(run.err.find("Converted 1 files"), std::string::npos);
    EXPECT_TRUE(FileExists(dir / "out/unit.s16"));
    run = RunCli({"from-shp", dir / "unit.shp", "--only-new", "-o", dir / "out"});
    EXPECT_NE(run.err.find("Converted 0 files"), std::string::npos);
    WriteFileBytes(dir / "junk.shp", Bytes{1, 2});
    EXPECT_EQ(RunCli({"from-shp", dir / "junk.shp", "-o", dir / "out"}).status, kExitFailed);
    EXPECT_EQ(RunCli({"shp-info", dir / "none.shp"}).status, kExitFailed);
}

// A dry run converts in memory: it tells each S16 file and its size, makes no
// folder, writes no file, and still fails for a file it cannot convert.
TEST(ShpCli, FromShpDryRunTellsTheFilesAndWritesNothing) {
    TempDir dir;
    WriteFileBytes(dir / "unit.s16", CodedS16(3, 6, 5, [](int i, int x, int) {
                       return MakeColor(20 * i, 8 * x, 0);
                   }));
    ASSERT_EQ(RunCli({"to-shp", dir / "unit.s16", dir / "unit.shp"}).status, kExitDone);
    WriteFileBytes(dir / "junk.shp", Bytes{1, 2});
    CliRun run = RunCli({"from-shp", dir / "unit.shp", "-o", dir / "out", "--dry-run"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_FALSE(FileExists(dir / "out"));
    ASSERT_EQ(RunCli({"from-shp", dir / "unit.shp", "-o", dir / "out"}).status, kExitDone);
    const std::string size = std::to_string(ReadFileBytes(dir / "out/unit.s16").size());
    EXPECT_EQ(run.out, "create " + (dir / "out/unit.s16") + " (" + size +
                           " bytes)\n1 files; nothing was written (dry run)\n");

    WriteFileBytes(dir / "out/unit.s16", Bytes{7});
    run = RunCli({"from-shp", dir / "unit.shp", dir / "junk.shp", "-o", dir / "out", "--dry-run"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.out.find("replace " + (dir / "out/unit.s16") + " (1 -> " + size + " bytes)"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.err.find("1 SHP files could not be converted:\njunk.shp"), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFileBytes(dir / "out/unit.s16"), Bytes{7});
    EXPECT_EQ(FolderListing(dir / "out"), std::vector<std::string>{"unit.s16"});
}

// The output folder is read once: files of any spelling of ".s16" count, and
// a file this run wrote counts for a later SHP file of the same name.
TEST(ShpCli, OnlyNewSkipsEverySpellingAndWhatTheRunWrote) {
    TempDir dir;
    const Bytes shp = ShpBytes({{FrameHeader(2, 2, 0, 0, 1, 1), Bytes{0, 0}}});
    for (const char* name : {"a/one.shp", "a/two.shp", "a/three.shp", "b/three.shp"})
        WriteFileBytes(dir / name, shp);
    WriteFileBytes(dir / "out/ONE.s16", Bytes{1});
    WriteFileBytes(dir / "out/Two.S16", Bytes{2});
    const CliRun run =
        RunCli({"from-shp", dir / "a/one.shp", dir / "a/two.shp", dir / "a/three.shp",
                dir / "b/three.shp", "--only-new", "-o", dir / "out"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_NE(run.err.find("Converted 1 files"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("one.shp: already in"), std::string::npos);
    EXPECT_NE(run.err.find("two.shp: already in"), std::string::npos);
    EXPECT_NE(run.err.find("three.shp: already in"), std::string::npos);
    EXPECT_EQ(FolderListing(dir / "out"),
              (std::vector<std::string>{"ONE.s16", "Two.S16", "three.s16"}));
    EXPECT_EQ(ReadFileBytes(dir / "out/ONE.s16"), Bytes{1});
}

TEST(ShpCli, FilesWhoseFrameTableCannotBeSoundAreRefusedByName) {
    TempDir dir;
    const Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                    0,    0,   0,   16,  0,    0,    0,    16,   8, 6, 0, 0,  0,   0,   0,   0};
    const Bytes good = ShpBytes({{FrameHeader(4, 3, 0, 0, 3, 2), Bytes{0, 0, 0}},
                                 {FrameHeader(2, 2, 0, 0, 1, 1), Bytes{0, 0}}});
    Bytes beyond = good;
    beyond[16] = 0xF0;  // frame 2's offset, far past the end
    Bytes huge = good;
    const std::size_t widthMinus1 = 8 + 2 * 8 + 2;  // frame 1's header, second field
    huge[widthMinus1] = 0x00;
    huge[widthMinus1 + 1] = 0x03;  // 769 pixels wide
    const std::string lead = " is not an SHP file or is damaged: ";
    ExpectFileRefused(
        dir / "logo.png", png, {"shp-info"},
        {(dir / "logo.png") + lead + "it claims 169478669 frames but has room for 3"});
    ExpectFileRefused(dir / "beyond.shp", beyond, {"shp-info"},
                      {(dir / "beyond.shp") + lead + "frame 2 lies outside the file"});
    ExpectFileRefused(
        dir / "huge.shp", huge, {"shp-info"},
        {(dir / "huge.shp") + lead + "frame 1 is 769 x 3, over the limits of a frame"});
    WriteFileBytes(dir / "good.shp", good);
    const CliRun run = RunCli({"shp-info", dir / "good.shp"});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out.rfind("2 frames\n", 0), 0u);
}

TEST(ShpCli, CraftedFilesWhoseDataOverlapStayBoundedOrAreRefused) {
    TempDir dir;
    std::vector<std::uint16_t> words(1000);
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<std::uint16_t>(i * 4099);
    std::vector<S16Icon> records(2000, Record(20, 50, 0, 0, 20, 50, 0, 2000, 0));
    const Bytes shared = S16Bytes(records, RawData(words));
    WriteFileBytes(dir / "shared.s16", shared);
    CliRun run = RunCli({"to-shp", dir / "shared.s16", dir / "shared.shp"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    const Bytes shp = ReadFileBytes(dir / "shared.shp");
    EXPECT_LT(shp.size(), shared.size());

    // Back again: the entries all point at one frame, which becomes one icon.
    run = RunCli({"from-shp", dir / "shared.shp", "-o", dir / "back"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_LE(ReadFileBytes(dir / "back/shared.s16").size(), shared.size());

    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].StartX = static_cast<std::int32_t>(i % 7);
    WriteFileBytes(dir / "crafted.s16", S16Bytes(records, RawData(words)));
    ExpectFailure({"to-shp", dir / "crafted.s16", dir / "crafted.shp"},
                  "Icons 1 and 2 of [" + (dir / "crafted.s16") + "] overlap in the file");
    EXPECT_FALSE(FileExists(dir / "crafted.shp"));

    // Frame 2 starts inside frame 1.
    Bytes overlapping =
        ShpBytes({{FrameHeader(3, 2, 0, 0, 2, 1), Bytes{7, 5, 6, 7, 0, 7, 8, 9, 10, 0}},
                  {FrameHeader(2, 2, 0, 0, 1, 1), Bytes{5, 5, 6, 0, 5, 7, 8, 0}}});
    overlapping[16] = static_cast<std::uint8_t>(overlapping[8] + 4);
    WriteFileBytes(dir / "crafted.shp", overlapping);
    ExpectFailure({"from-shp", dir / "crafted.shp", "-o", dir / "back"},
                  "Frames 1 and 2 of " + (dir / "crafted.shp") + " overlap in the file");
    EXPECT_FALSE(FileExists(dir / "back/crafted.s16"));
}
