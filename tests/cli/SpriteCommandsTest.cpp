#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "CliRunner.h"
#include "S16Files.h"
#include "sprite/S16Image.h"

namespace {

class SpriteCommands : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(sprite, CodedS16(9, 8, 6, [](int icon, int x, int) {
                           return MakeColor(8 * icon, 4 * x, 0);
                       }));
        WriteFileBytes(dir / "pic.bmp",
                       Bmp24(5, 4, [](int x, int y) { return MakeColor(0, 8 * x, 8 * y); }));
    }

    TempDir dir;
    std::string sprite = dir / "unit.s16";
};

}  // namespace

TEST_F(SpriteCommands, IconsPrintsTheTable) {
    const CliRun run = RunCli({"icons", sprite});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_NE(run.out.find("Width"), std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 10);
    EXPECT_EQ(RunCli({"icons", dir / "none.s16"}).status, kExitFailed);
}

TEST_F(SpriteCommands, ToBmpWritesOneIconAllIconsOrACollage) {
    ASSERT_EQ(RunCli({"to-bmp", sprite, "--icon", "3", "-o", dir / "three.bmp"}).status, kExitDone);
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(dir / "three.bmp"));
    EXPECT_EQ(picture.GetColor(0, 0), MakeColor(24, 0, 0));

    const CliRun all = RunCli({"to-bmp", sprite, "--all", "-o", dir / "all.bmp"});
    ASSERT_EQ(all.status, kExitDone) << all.err;
    EXPECT_TRUE(FileExists(dir / "all_009.bmp"));
    EXPECT_NE(all.err.find("Done, All 9 icons saved as BMP"), std::string::npos);

    ASSERT_EQ(
        RunCli({"to-bmp", sprite, "--collage", "--size", "300x250", "-o", dir / "c.bmp"}).status,
        kExitDone);
    ASSERT_TRUE(picture.Load(dir / "c.bmp"));
    EXPECT_EQ(picture.Width(), 28);  // 3 x (8 + 1) + 1
    EXPECT_EQ(picture.Height(), 21);

    EXPECT_EQ(RunCli({"to-bmp", sprite, "--all", "--collage", "-o", dir / "x.bmp"}).status,
              kExitUsage);
    for (const char* size : {"big", "10x", "0x10", "10x20x"}) {
        EXPECT_EQ(
            RunCli({"to-bmp", sprite, "--collage", "--size", size, "-o", dir / "x.bmp"}).status,
            kExitUsage)
            << size;
    }
    const CliRun missing = RunCli({"to-bmp", sprite, "--icon", "99", "-o", dir / "x.bmp"});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_NE(missing.err.find("Icon 99 is not in " + sprite + " (9 icons)"), std::string::npos);
    EXPECT_EQ(RunCli({"to-bmp", sprite, "--icon", "0", "-o", dir / "x.bmp"}).status, kExitFailed);
    EXPECT_FALSE(FileExists(dir / "x.bmp"));
}

TEST_F(SpriteCommands, InsertAndRemoveIcons) {
    ASSERT_EQ(RunCli({"insert-icon", sprite, dir / "pic.bmp", "--at", "2"}).status, kExitDone);
    S16Image image;
    ASSERT_TRUE(image.OpenFile(sprite));
    EXPECT_EQ(image.IconCount(), 10);
    EXPECT_EQ(image.Icon(2).TWidth, 5);
    image.CloseFile();
    ASSERT_EQ(RunCli({"remove-icon", sprite, "2"}).status, kExitDone);
    ASSERT_TRUE(image.OpenFile(sprite));
    EXPECT_EQ(image.IconCount(), 9);
    image.CloseFile();
    const CliRun outOfRange = RunCli({"remove-icon", sprite, "12"});
    EXPECT_EQ(outOfRange.status, kExitFailed);
    EXPECT_NE(outOfRange.err.find("Icon 12 is not in"), std::string::npos);
}

TEST_F(SpriteCommands, MakeBuildsInEachMode) {
    WriteFileBytes(dir / "sheet.bmp",
                   Bmp24(27, 9, [](int x, int) { return MakeColor(8 * (x / 3), 0, 0); }));
    EXPECT_EQ(RunCli({"make", "--cloned", dir / "pic.bmp"}).status, kExitDone);
    EXPECT_TRUE(FileExists(dir / "pic.s16"));
    EXPECT_EQ(RunCli({"make", "--sheet", "9x1", dir / "sheet.bmp"}).status, kExitDone);
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "sheet.s16"));
    EXPECT_EQ(image.Icon(1).TWidth, 3);
    image.CloseFile();
    EXPECT_EQ(
        RunCli({"make", "--list", dir / "list.s16", dir / "pic.bmp", dir / "sheet.bmp"}).status,
        kExitDone);
    ASSERT_TRUE(image.OpenFile(dir / "list.s16"));
    EXPECT_EQ(image.IconCount(), 2);
    EXPECT_EQ(RunCli({"make", dir / "pic.bmp"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"make", "--sheet", "4x4", dir / "pic.bmp"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"make", "--cloned", dir / "missing.bmp"}).status, kExitFailed);
}

TEST_F(SpriteCommands, MakeWritesNothingForARefusedBitmap) {
    WriteFileBytes(dir / "broken.bmp", {'B', 'M', 1, 2, 3});
    CliRun run = RunCli({"make", "--list", dir / "list.s16", dir / "pic.bmp", dir / "broken.bmp"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find((dir / "broken.bmp") +
                           " cannot become an icon: nothing was written to " + (dir / "list.s16")),
              std::string::npos);
    EXPECT_EQ(run.err.find("was created"), std::string::npos);
    EXPECT_FALSE(FileExists(dir / "list.s16"));

    // --cloned and --sheet: each output on its own, in every folder.
    WriteFileBytes(dir / "b/pic.bmp", ReadFileBytes(dir / "pic.bmp"));
    run = RunCli({"make", "--cloned", dir / "broken.bmp", dir / "b/pic.bmp"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_FALSE(FileExists(dir / "broken.s16"));
    EXPECT_TRUE(FileExists(dir / "b/pic.s16"));
    WriteFileBytes(dir / "sheet.bmp", Bmp24(27, 9, [](int x, int) { return MakeColor(x, 0, 0); }));
    run = RunCli({"make", "--sheet", "3x3", dir / "sheet.bmp", dir / "broken.bmp"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(FileExists(dir / "sheet.s16"));
    EXPECT_FALSE(FileExists(dir / "broken.s16"));
}

TEST(SpriteHelp, TellsTheKeyColour) {
    for (const char* command : {"make", "insert-icon"}) {
        const CliRun run = RunCli({command, "--help"});
        EXPECT_EQ(run.status, kExitDone);
        EXPECT_NE(run.out.find("key colour red 248, green 220, blue 220"), std::string::npos)
            << command;
    }
}
