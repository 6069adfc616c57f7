#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "CliRunner.h"
#include "S16Files.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"

namespace {

std::string Golden(const std::string& name) {
    return std::string(VARNOK_TEST_DATA) + "/" + name;
}

class PictureCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RunCli({"sample", dir.Path(), "--items", "4"}).status, kExitDone);
    }

    // Writes a sheet of `sprite` with `type` and builds it back; the new S16's bytes.
    Bytes SheetRoundTrip(const std::string& sprite, const std::string& type,
                         std::vector<std::string> options = {}) {
        const std::string sheet = dir / ("round." + type);
        std::vector<std::string> args{"to-" + type, sprite, "--sheet", "-o", sheet};
        args.insert(args.end(), options.begin(), options.end());
        const CliRun save = RunCli(args);
        EXPECT_EQ(save.status, kExitDone) << save.err;
        const CliRun make = RunCli({"make", "--from-sheet", sheet, dir / "round.s16"});
        EXPECT_EQ(make.status, kExitDone) << make.err;
        return ReadFileBytes(dir / "round.s16");
    }

    TempDir dir;
};

}  // namespace

TEST_F(PictureCommands, BmpSheetsBuildBackByteIdentical) {
    EXPECT_EQ(SheetRoundTrip(Golden("golden.s16"), "bmp"), ReadFileBytes(Golden("golden.s16")));
    EXPECT_EQ(SheetRoundTrip(dir / "tank.s16", "bmp", {"--columns", "2"}),
              ReadFileBytes(dir / "tank.s16"));
    // An archive item as the sprite.
    ASSERT_EQ(RunCli({"extract", dir / "KELPAR.dat", "UNIT02.S16", "-o", dir / "items"}).status,
              kExitDone);
    EXPECT_EQ(SheetRoundTrip(dir / "KELPAR.dat:UNIT02.S16", "bmp"),
              ReadFileBytes(dir / "items/UNIT02.S16"));

    // The sheet is 3 x 3 cells of the largest icon, described beside it.
    PixelBuffer24 sheet;
    ASSERT_EQ(RunCli({"to-bmp", dir / "tank.s16", "--sheet", "-o", dir / "tank.bmp"}).status,
              kExitDone);
    ASSERT_TRUE(sheet.Load(dir / "tank.bmp"));
    S16Image tank;
    ASSERT_TRUE(tank.OpenFile(dir / "tank.s16"));
    EXPECT_EQ(sheet.Width(), 3 * tank.Icon(1).TWidth);
    const std::string json = ReadFileText(dir / "tank.json");
    for (const char* field :
         {"\"tank_009.bmp\"", "\"spriteSourceSize\"", "\"sourceSize\"", "\"meta\"",
          "\"image\":\"tank.bmp\"", "\"scale\":\"1\"", "\"Compress\""})
        EXPECT_NE(json.find(field), std::string::npos) << field;
}

TEST_F(PictureCommands, PngSheetsAndIconsKeepTransparencyAndBuildBack) {
    EXPECT_EQ(SheetRoundTrip(Golden("golden.s16"), "png"), ReadFileBytes(Golden("golden.s16")));
    EXPECT_EQ(SheetRoundTrip(dir / "tank.s16", "png"), ReadFileBytes(dir / "tank.s16"));
    // Opaque sheets read back keyed all the same.
    EXPECT_EQ(SheetRoundTrip(dir / "panel.s16", "png", {"--opaque"}),
              ReadFileBytes(dir / "panel.s16"));

    // The transparent word and the key colour are transparent pixels of their own
    // colours, also the key's own word inside the stored area (248, 220, 216 decoded).
    const Bytes words = RawData({0xFEFB, 0xF81F, 0x001F});
    WriteFileBytes(dir / "t.s16", S16Bytes({Record(3, 1, 0, 0, 3, 1, 0, 6, 0)}, words));
    ASSERT_EQ(RunCli({"to-png", dir / "t.s16", "-o", dir / "t.png"}).status, kExitDone);
    ASSERT_EQ(RunCli({"to-png", dir / "t.s16", "--opaque", "-o", dir / "o.png"}).status, kExitDone);
    // Every icon as a PNG of its own, and back as a list: the same file.
    ASSERT_EQ(RunCli({"to-png", dir / "tank.s16", "--all", "-o", dir / "all.png"}).status,
              kExitDone);
    std::vector<std::string> list{"make", "--list", dir / "list.s16"};
    for (int k = 1; k <= 9; ++k)
        list.push_back(dir / ("all_00" + std::to_string(k) + ".png"));
    ASSERT_EQ(RunCli(list).status, kExitDone);
    EXPECT_EQ(ReadFileBytes(dir / "list.s16"), ReadFileBytes(dir / "tank.s16"));
    ASSERT_EQ(RunCli({"to-png", dir / "tank.s16", "--collage", "-o", dir / "c.png"}).status,
              kExitDone);
    if (!HaveProgram("/usr/bin/python3") ||
        !RunShell("/usr/bin/python3 -c 'import PIL' 2>/dev/null"))
        GTEST_SKIP() << "Pillow is not installed";
    const std::string script =
        "from PIL import Image\n"
        "t = Image.open('" +
        dir / "t.png" +
        "')\n"
        "o = Image.open('" +
        dir / "o.png" +
        "')\n"
        "print(t.mode, list(t.getdata()), o.getpixel((0, 0)))\n";
    WriteFileBytes(dir / "read.py", Bytes(script.begin(), script.end()));
    ASSERT_TRUE(RunShell("/usr/bin/python3 " + dir / "read.py" + " >" + dir / "read.txt"));
    EXPECT_EQ(ReadFileText(dir / "read.txt"),
              "RGBA [(248, 220, 220, 0), (248, 0, 248, 0), (0, 0, 248, 255)] "
              "(248, 220, 216, 255)\n");
}

TEST_F(PictureCommands, GridsAndSheetOptionsAreChecked) {
    WriteFileBytes(dir / "strip.bmp",
                   Bmp24(20, 3, [](int x, int) { return MakeColor(8 * (x / 4), 0, 0); }));
    ASSERT_EQ(
        RunCli({"make", "--from-sheet", dir / "strip.bmp", "--grid", "5x1", dir / "strip.s16"})
            .status,
        kExitDone);
    S16Image strip;
    ASSERT_TRUE(strip.OpenFile(dir / "strip.s16"));
    EXPECT_EQ(strip.IconCount(), 5);

    const CliRun uneven =
        RunCli({"make", "--from-sheet", dir / "strip.bmp", "--grid", "3x1", dir / "x.s16"});
    EXPECT_EQ(uneven.status, kExitFailed);
    EXPECT_NE(uneven.err.find(dir / "strip.bmp"), std::string::npos);
    ExpectFailure({"make", "--from-sheet", dir / "strip.bmp", dir / "x.s16"}, "strip.json");
    EXPECT_FALSE(FileExists(dir / "x.s16"));

    for (std::vector<std::string> args :
         {std::vector<std::string>{"make", "--from-sheet", "a.bmp", "--grid", "0x2", "o.s16"},
          {"make", "--from-sheet", "a.bmp", "o.s16", "p.s16"},
          {"make", "--grid", "2x2", "a.bmp"},
          {"to-bmp", "a.s16", "--columns", "2", "-o", "x.bmp"},
          {"to-bmp", "a.s16", "--sheet", "--all", "-o", "x.bmp"}})
        EXPECT_EQ(RunCli(args).status, kExitUsage) << args[1] << " " << args[2];
}

TEST_F(PictureCommands, HostileDescriptionsAreRefusedNamingTheFile) {
    ASSERT_EQ(RunCli({"to-bmp", dir / "tank.s16", "--sheet", "-o", dir / "tank.bmp"}).status,
              kExitDone);
    const std::string good = ReadFileText(dir / "tank.json");
    const auto edited = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return Bytes(text.begin(), text.end());
    };
    const std::pair<Bytes, std::string> cases[] = {
        {Bytes{'{'}, "it is not JSON"},
        {edited("\"x\":40", "\"x\":4000"), "lies outside"},
        {edited("\"w\":40", "\"w\":123456789012"), "\"w\" is not a whole number"},
        {edited("\"Compress\"", "\"Kompress\""), "\"Compress\" is missing"},
    };
    for (const auto& [bytes, reason] : cases) {
        WriteFileBytes(dir / "tank.json", bytes);
        const CliRun run = ExpectFailure(
            {"make", "--from-sheet", dir / "tank.bmp", dir / "out.s16"}, dir / "tank.json");
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_FALSE(FileExists(dir / "out.s16"));
    }
}

TEST_F(PictureCommands, ReplaceIconRewritesOnceAndKeepsSharedData) {
    // Icons 1 and 3 share one copy of their data; icon 1 is replaced.
    const Bytes data = RawData({0x1234, 0x5678, 0x9ABC});
    const S16Icon shared = Record(2, 1, 0, 0, 2, 1, 0, 4, 0);
    const Bytes original = S16Bytes({shared, Record(1, 1, 0, 0, 1, 1, 4, 2, 0), shared}, data);
    WriteFileBytes(dir / "set.s16", original);
    WriteFileBytes(dir / "new.bmp", Bmp24(3, 2, [](int x, int) { return MakeColor(0, 8 * x, 0); }));

    const CliRun dry = RunCli({"replace-icon", dir / "set.s16", "1", dir / "new.bmp", "--dry-run"});
    EXPECT_EQ(dry.status, kExitDone) << dry.err;
    EXPECT_EQ(dry.err, "");
    EXPECT_EQ(ReadFileBytes(dir / "set.s16"), original);

    ASSERT_EQ(RunCli({"replace-icon", dir / "set.s16", "1", dir / "new.bmp"}).status, kExitDone);
    // The dry run told the file's bytes before and after on standard output.
    EXPECT_EQ(dry.out.rfind("replace icon 1 of " + (dir / "set.s16") + ": 3 x 2", 0), 0u)
        << dry.out;
    EXPECT_NE(dry.out.find("\n" + (dir / "set.s16") +
                           FormatText(": %zu -> %zu bytes; nothing was written (dry run)\n",
                                      original.size(), ReadFileBytes(dir / "set.s16").size())),
              std::string::npos)
        << dry.out;
    EXPECT_EQ(ReadFileBytes(dir / "set.back"), original);
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "set.s16"));
    ASSERT_EQ(image.IconCount(), 3);
    EXPECT_EQ(image.Icon(1).TWidth, 3);
    image.SelectIcon(3);
    ASSERT_EQ(image.DecodeIcon(), 2);
    EXPECT_EQ(image.GetColor(1, 0), s16::ToColor(0x5678));
    image.CloseFile();

    // An archive item, from a PNG: the other items stay as they were.
    ASSERT_EQ(RunCli({"to-png", dir / "tank.s16", "--icon", "4", "-o", dir / "four.png"}).status,
              kExitDone);
    const std::string item = dir / "KELPAR.dat:UNIT01.S16";
    const std::size_t archiveBefore = ReadFileBytes(dir / "KELPAR.dat").size();
    const CliRun dryItem = RunCli({"replace-icon", item, "2", dir / "four.png", "--dry-run"});
    ASSERT_EQ(RunCli({"replace-icon", item, "2", dir / "four.png"}).status, kExitDone);
    EXPECT_NE(dryItem.out.find(FormatText("KELPAR.dat: %zu -> %zu bytes; nothing was written",
                                          archiveBefore, ReadFileBytes(dir / "KELPAR.dat").size())),
              std::string::npos)
        << dryItem.out;
    EXPECT_TRUE(FileExists(dir / "KELPAR_back.dat"));
    ASSERT_EQ(RunCli({"to-png", item, "--icon", "2", "-o", dir / "two.png"}).status, kExitDone);
    EXPECT_EQ(ReadFileBytes(dir / "two.png"), ReadFileBytes(dir / "four.png"));
    ASSERT_EQ(RunCli({"extract", dir / "KELPAR_back.dat", "UNIT02.S16", "-o", dir / "old"}).status,
              kExitDone);
    ASSERT_EQ(RunCli({"extract", dir / "KELPAR.dat", "UNIT02.S16", "-o", dir / "new"}).status,
              kExitDone);
    EXPECT_EQ(ReadFileBytes(dir / "old/UNIT02.S16"), ReadFileBytes(dir / "new/UNIT02.S16"));

    const Bytes archive = ReadFileBytes(dir / "KELPAR.dat");
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{item, "10", dir / "four.png"}, "Icon 10 is not in " + item + " (9 icons)"},
        {{dir / "KELPAR.dat:VERSION.TXT", "1", dir / "four.png"}, "is not an S16 item"},
        {{item, "1", dir / "missing.png"}, "missing.png"},
    };
    for (const auto& [args, message] : refused) {
        std::vector<std::string> command{"replace-icon"};
        command.insert(command.end(), args.begin(), args.end());
        const CliRun run = RunCli(command);
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR.dat"), archive);
}
