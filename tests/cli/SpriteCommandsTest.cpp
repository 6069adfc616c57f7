#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "BmpBuilder.h"
#include "CliRunner.h"
#include "S16Files.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"

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

// Runs the program itself with every read of `threshold` bytes or more
// failing with an input/output error; arguments must not need quoting.
CliRun RunWithShortReads(std::size_t threshold, const std::vector<std::string>& args,
                         const TempDir& dir) {
    std::string command = "VARNOK_SHORT_READ_FROM=" + std::to_string(threshold) +
                          " LD_PRELOAD=" VARNOK_SHORT_READ_SHIM
                          " ASAN_OPTIONS=verify_asan_link_order=0 " VARNOK_DAT_PROGRAM;
    for (const std::string& arg : args)
        command += " " + arg;
    command += " >" + (dir / "run.out") + " 2>" + (dir / "run.err");
    const int status = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const Bytes out = ReadFileBytes(dir / "run.out");
    const Bytes err = ReadFileBytes(dir / "run.err");
    run.out.assign(out.begin(), out.end());
    run.err.assign(err.begin(), err.end());
    return run;
}

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
    ExpectFailure({"to-bmp", sprite, "--icon", "99", "-o", dir / "x.bmp"},
                  "Icon 99 is not in " + sprite + " (9 icons)");
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
    ExpectFailure({"remove-icon", sprite, "12"}, "Icon 12 is not in");
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
    CliRun run =
        ExpectFailure({"make", "--list", dir / "list.s16", dir / "pic.bmp", dir / "broken.bmp"},
                      (dir / "broken.bmp") + " cannot become an icon: nothing was written to " +
                          (dir / "list.s16"));
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

// A dry run codes every picture and tells each file it would create or
// replace, with its size; nothing is written, and a refused picture still fails.
TEST_F(SpriteCommands, MakeDryRunTellsTheFilesAndWritesNothing) {
    WriteFileBytes(dir / "pic.s16", {1, 2, 3});
    CliRun run = RunCli({"make", "--cloned", dir / "pic.bmp", "--dry-run"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(RunCli({"make", "--cloned", dir / "pic.bmp"}).status, kExitDone);
    const std::size_t built = ReadFileBytes(dir / "pic.s16").size();
    EXPECT_EQ(run.out, "replace " + (dir / "pic.s16") + FormatText(" (3 -> %zu bytes)\n", built) +
                           "1 files; nothing was written (dry run)\n");

    run = RunCli({"make", "--list", dir / "list.s16", dir / "pic.bmp", "--dry-run"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out.find("create " + (dir / "list.s16") + " ("), 0u) << run.out;
    run = RunCli({"to-png", sprite, "--sheet", "-o", dir / "sheet.png"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    run = RunCli({"make", "--from-sheet", dir / "sheet.png", dir / "back.s16", "--dry-run"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, "create " + (dir / "back.s16") +
                           FormatText(" (%zu bytes)\n", ReadFileBytes(sprite).size()) +
                           "1 files; nothing was written (dry run)\n");
    EXPECT_EQ(run.err, "");

    WriteFileBytes(dir / "broken.bmp", {'B', 'M', 1, 2, 3});
    ExpectFailure({"make", "--cloned", dir / "broken.bmp", "--dry-run"}, dir / "broken.bmp");
    EXPECT_FALSE(FileExists(dir / "list.s16"));
    EXPECT_FALSE(FileExists(dir / "back.s16"));
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

TEST_F(SpriteCommands, SixteenBitBitmapsGiveTheSameRightColoursToMakeAndInsertIcon) {
    if (!HaveProgram("/usr/bin/convert") ||
        !RunShell("/usr/bin/convert -version | grep -q ImageMagick")) {
        GTEST_SKIP() << "ImageMagick is not installed";
    }
    const auto colour = [](int x, int y) { return MakeColor(200 - 40 * x, 30 + 50 * y, 16 * x); };
    WriteFileBytes(dir / "in.bmp", Bmp24(5, 4, colour));
    for (const std::string subtype : {"RGB565", "RGB555"}) {
        SCOPED_TRACE(subtype);
        const std::string bitmap = dir / ("p" + subtype + ".bmp");
        ASSERT_TRUE(RunShell("/usr/bin/convert " + (dir / "in.bmp") +
                             " -define bmp:subtype=" + subtype + " BMP:" + bitmap));
        ASSERT_EQ(RunCli({"make", "--cloned", bitmap}).status, kExitDone);
        ASSERT_EQ(RunCli({"insert-icon", sprite, bitmap, "--at", "1"}).status, kExitDone);
        S16Image made, inserted;
        ASSERT_TRUE(made.OpenFile(dir / ("p" + subtype + ".s16")));
        ASSERT_TRUE(inserted.OpenFile(sprite));
        ASSERT_EQ(made.DecodeIcon(), 20);
        ASSERT_EQ(inserted.DecodeIcon(), 20);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                const ColorValue got = made.GetColor(x, y);
                EXPECT_EQ(inserted.GetColor(x, y), got) << x << "," << y;
                for (const int shift : {0, 8, 16}) {
                    const int channel = static_cast<int>((got >> shift) & 0xFF);
                    const int wanted = static_cast<int>((colour(x, y) >> shift) & 0xFF);
                    EXPECT_LE(std::abs(channel - wanted), 16) << x << "," << y << " >> " << shift;
                }
            }
        }
    }
}

TEST_F(SpriteCommands, PicturesTooLargeForAnIconAreRefusedByName) {
    const std::string wide = dir / "wide.bmp";
    WriteFileBytes(wide, Bmp24(1000, 50, [](int x, int) { return MakeColor(x % 256, 0, 0); }));
    const Bytes before = ReadFileBytes(sprite);
    const CliRun insert = RunCli({"insert-icon", sprite, wide});
    EXPECT_EQ(insert.status, kExitFailed);
    EXPECT_NE(insert.err.find(wide + " is 1000 x 50; an icon is at most 800 x 600"),
              std::string::npos)
        << insert.err;
    EXPECT_EQ(ReadFileBytes(sprite), before);
    ExpectFailure({"make", "--cloned", wide}, wide + " is 1000 x 50");
    EXPECT_FALSE(FileExists(dir / "wide.s16"));
}

TEST_F(SpriteCommands, FilesThatCannotBeAnS16AreRefusedByName) {
    const Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    Bytes noise(5000);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
    const Bytes wide = S16Bytes({Record(1, 1, 0, 0, 900, 10, 0, 2, 0)}, RawData({1}));
    const Bytes outside = S16Bytes(
        {Record(1, 1, 0, 0, 4, 4, 0, 2, 0), Record(1, 1, 0, 0, 4, 4, 2, 4, 0)}, RawData({1, 2}));
    const std::string lead = " is not an S16 file or is damaged: ";
    const struct {
        const char* name;
        Bytes bytes;
        const char* why;
    } cases[] = {
        {"logo.png", png, "it claims 1196314761 icons but has room for 0"},
        {"noise.s16", noise, "icons but has room for 124"},
        {"pic.bmp", ReadFileBytes(dir / "pic.bmp"), "icons but has room for"},
        {"wide.s16", wide, "icon 1 is 900 x 10, over the limits of an icon"},
        {"outside.s16", outside, "the data of icon 2 (4 bytes at 2) lie outside the file"},
    };
    for (const auto& c : cases)
        ExpectFileRefused(dir / c.name, c.bytes, {"icons"}, {(dir / c.name) + lead, c.why});
    // A count the file cannot hold stops the other commands as well.
    ExpectFailure({"to-bmp", dir / "logo.png", "-o", dir / "x.bmp"},
                  "is not an S16 file or is damaged");
    ExpectFailure({"remove-icon", dir / "logo.png", "1"}, "is not an S16 file or is damaged");
    EXPECT_EQ(ReadFileBytes(dir / "logo.png"), png);
}

TEST_F(SpriteCommands, ReadErrorsAbandonTheWorkWithAMessageNamingTheFile) {
    // A bitmap whose pixels cannot be read is not built from zeros.
    const std::string bitmap = dir / "big.bmp";
    WriteFileBytes(bitmap, Bmp24(100, 100, [](int x, int y) { return MakeColor(x, y, 99); }));
    CliRun run = RunWithShortReads(1000, {"make", "--cloned", bitmap}, dir);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("Error reading " + bitmap), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Done"), std::string::npos) << run.err;
    EXPECT_FALSE(FileExists(dir / "big.s16"));

    // An icon table that cannot be read is not rewritten as a file of the new icon alone.
    const Bytes before = ReadFileBytes(sprite);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"insert-icon", sprite, dir / "pic.bmp"},
          std::vector<std::string>{"remove-icon", sprite, "1"}}) {
        run = RunWithShortReads(200, args, dir);
        EXPECT_EQ(run.status, kExitFailed) << args[0];
        EXPECT_NE(run.err.find("Error reading the icon table of [" + sprite + "]"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(ReadFileBytes(sprite), before) << args[0];
    }

    // Without the failing reads both work.
    EXPECT_EQ(RunWithShortReads(0, {"insert-icon", sprite, dir / "pic.bmp"}, dir).status,
              kExitDone);
    EXPECT_EQ(RunWithShortReads(0, {"make", "--cloned", bitmap}, dir).status, kExitDone);
}
