#include <gtest/gtest.h>

#include <filesystem>

#include "CliRunner.h"
#include "DatFiles.h"
#include "S16Files.h"

namespace {

class FolderCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RunCli({"sample", dir.Path(), "--items", "6"}).status, kExitDone);
    }

    // Unpacks `archive` with --png into `folder` and packs it again into `out`.
    void RoundTrip(const std::string& archive, const std::string& folder, const std::string& out) {
        const CliRun unpack = RunCli({"unpack", archive, folder, "--png"});
        ASSERT_EQ(unpack.status, kExitDone) << unpack.err;
        const CliRun pack = RunCli({"pack", folder, "-o", out});
        ASSERT_EQ(pack.status, kExitDone) << pack.err;
    }

    TempDir dir;
    std::string sample = dir / "KELPAR.dat";
};

}  // namespace

TEST_F(FolderCommands, UneditedFoldersPackIntoTheSameArchive) {
    RoundTrip(sample, dir / "kelpar", dir / "again.dat");
    EXPECT_EQ(ReadFileBytes(dir / "again.dat"), ReadFileBytes(sample));
    EXPECT_TRUE(FileExists(dir / "kelpar/UNIT01.S16.png"));
    EXPECT_TRUE(FileExists(dir / "kelpar/UNIT01.S16.json"));
    EXPECT_TRUE(FileExists(dir / "kelpar/VERSION.TXT"));
    EXPECT_NE(ReadFileText(dir / "kelpar/manifest.json").find("\"items\""), std::string::npos);

    const std::string golden = std::string(VARNOK_TEST_DATA) + "/golden.dat";
    RoundTrip(golden, dir / "golden", dir / "golden.dat");
    EXPECT_EQ(ReadFileBytes(dir / "golden.dat"), ReadFileBytes(golden));

    // Names in any letter case and twice, a name that is no file name, bytes
    // after a name's end, an S16 item no sheet can rebuild, an empty item.
    Bytes odd =
        DatBytes({{"UNIT.S16",
                   CodedS16(2, 3, 2, [](int i, int x, int) { return MakeColor(8 * i, 8 * x, 0); })},
                  {"unit.s16", Filler(10, 1)},
                  {"UNIT.S16", RawData({1, 2})},
                  {"../UP.TXT", Filler(5, 2)},
                  {"NAME.TXT", Filler(7, 3)},
                  {"EMPTY", {}}});
    odd[4 + 17 * 4 + 4 + 10] = 'Z';  // NAME.TXT, a byte after its terminating zero
    WriteFileBytes(dir / "odd.dat", odd);
    RoundTrip(dir / "odd.dat", dir / "odd", dir / "odd2.dat");
    EXPECT_EQ(ReadFileBytes(dir / "odd2.dat"), odd);
    for (const std::string& name : FolderListing(dir / "odd"))
        EXPECT_EQ(name.find(".."), std::string::npos) << name;
}

TEST_F(FolderCommands, AnEditedPictureChangesOnlyItsItemAndAddedFilesFollow) {
    ASSERT_EQ(RunCli({"unpack", sample, dir / "f", "--png"}).status, kExitDone);
    // A paint program's edit: ImageMagick rewrites the whole file (as a palette PNG).
    if (!RunShell("convert " + dir / "f/UNIT02.S16.png" + " -fill red -draw 'point 5,5' " +
                  dir / "f/UNIT02.S16.png"))
        GTEST_SKIP() << "ImageMagick is not installed";
    WriteFileBytes(dir / "f/ZNOTE.TXT", Filler(9, 4));
    ASSERT_EQ(RunCli({"to-png", dir / "tank.s16", "--sheet", "-o", dir / "f/ATANK.S16.png"}).status,
              kExitDone);

    const CliRun dry = RunCli({"pack", dir / "f", "-o", dir / "new.dat", "--dry-run"});
    EXPECT_EQ(dry.status, kExitDone) << dry.err;
    EXPECT_NE(dry.err.find("2 added from the folder"), std::string::npos) << dry.err;
    EXPECT_FALSE(FileExists(dir / "new.dat"));
    // Against the archive it came from: the edited item and the added ones only.
    const Bytes before = ReadFileBytes(sample);
    const CliRun over = RunCli({"pack", dir / "f", "-o", sample, "--dry-run"});
    EXPECT_EQ(over.status, kExitDone) << over.err;
    EXPECT_EQ(over.out.rfind("add ATANK.S16 (", 0), 0u) << over.out;
    EXPECT_NE(over.out.find("\nadd ZNOTE.TXT (9 bytes)\nreplace UNIT02.S16 (2935 -> "),
              std::string::npos)
        << over.out;
    EXPECT_EQ(std::count(over.out.begin(), over.out.end(), '\n'), 4) << over.out;
    EXPECT_EQ(ReadFileBytes(sample), before);

    ASSERT_EQ(RunCli({"pack", dir / "f", "-o", dir / "new.dat"}).status, kExitDone);
    const std::vector<std::string> names = StoredNames(ReadFileBytes(dir / "new.dat"));
    ASSERT_EQ(names.size(), 9u);  // 7 items, then the 2 added
    EXPECT_EQ(names[7], "ATANK.S16");
    EXPECT_EQ(names[8], "ZNOTE.TXT");
    ASSERT_EQ(RunCli({"unpack", sample, dir / "old"}).status, kExitDone);
    ASSERT_EQ(RunCli({"unpack", dir / "new.dat", dir / "new"}).status, kExitDone);
    for (const std::string& name : FolderListing(dir / "old")) {
        const bool same =
            ReadFileBytes(dir / ("old/" + name)) == ReadFileBytes(dir / ("new/" + name));
        EXPECT_EQ(same, name != "UNIT02.S16") << name;
    }
    EXPECT_EQ(ReadFileBytes(dir / "new/ATANK.S16"), ReadFileBytes(dir / "tank.s16"));
}

TEST_F(FolderCommands, BrokenFoldersAreRefusedNamingTheFile) {
    ASSERT_EQ(RunCli({"unpack", sample, dir / "f", "--png"}).status, kExitDone);
    // Unpacking again keeps what is there unless told otherwise.
    ExpectFailure({"unpack", sample, dir / "f", "--png"}, "--overwrite");
    EXPECT_EQ(RunCli({"unpack", sample, dir / "f", "--png", "--overwrite"}).status, kExitDone);

    // An item named like the archive is never written over the archive.
    const Bytes self = DatBytes({{"SELF.DAT", Filler(4, 5)}});
    WriteFileBytes(dir / "SELF.DAT", self);
    ExpectFailure({"unpack", dir / "SELF.DAT", dir.Path(), "--png", "--overwrite"},
                  "is the archive being read");
    EXPECT_EQ(ReadFileBytes(dir / "SELF.DAT"), self);

    const std::string manifest = dir / "f/manifest.json";
    const std::string text = ReadFileText(manifest);
    const auto refused = [&](const std::string& file, const std::string& message) {
        const CliRun run = ExpectFailure({"pack", dir / "f", "-o", dir / "new.dat"}, file);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_FALSE(FileExists(dir / "new.dat"));
    };
    const auto manifestWith = [&](const std::string& from, const std::string& to) {
        std::string edited = text;
        edited.replace(edited.find(from), from.size(), to);
        WriteFileBytes(manifest, Bytes(edited.begin(), edited.end()));
    };
    manifestWith("\"UNIT01.S16.png\"", "\"../UNIT01.S16.png\"");
    refused(manifest, "not a plain file name");
    manifestWith("\"items\"", "\"things\"");
    refused(manifest, "\"items\" is missing");
    manifestWith("\"VERSION.TXT\",", "\"VERSION.TXT\", \"sheet\": \"VERSION.png\",");
    refused(manifest, "either \"sheet\" or \"file\"");
    WriteFileBytes(manifest, Bytes(text.begin(), text.end()));

    std::filesystem::rename(dir / "f/VERSION.TXT", dir / "f/VERSION.OLD");
    refused(dir / "f/VERSION.TXT", "Cannot open");
    std::filesystem::rename(dir / "f/VERSION.OLD", dir / "f/VERSION.TXT");
    WriteFileBytes(dir / "f/A_VERY_LONG_NAME.TXT", Filler(3, 1));
    refused("A_VERY_LONG_NAME.TXT", "at most 12 characters");
    std::filesystem::remove(dir / "f/A_VERY_LONG_NAME.TXT");
    WriteFileBytes(dir / "f/UNIT01.S16.json", Bytes{'{', '}'});
    refused("UNIT01.S16.json", "\"frames\" is missing");
    std::filesystem::remove(manifest);
    refused(manifest, "Not found");
}
