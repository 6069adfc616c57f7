#include <gtest/gtest.h>

#include <filesystem>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "ResourceLimits.h"
#include "S16Files.h"
#include "archive/DatArchive.h"
#include "support/Progress.h"

namespace {

namespace fs = std::filesystem;

// An archive in a folder of its own, opened, with an output folder beside it.
class ExtractSafetyTest : public ::testing::Test {
protected:
    void Open(const std::vector<NamedItem>& items) {
        WriteFileBytes(path, DatBytes(items));
        ASSERT_TRUE(archive.OpenArchive(path));
        fs::create_directory(out);
    }
    int Unpack() {
        const ItemWriteResult result = archive.UnpackAll(out, NoProgress());
        EXPECT_TRUE(result.done);
        return result.failures;
    }

    FakeUserInterface ui;
    TempDir dir;
    std::string path = dir / "KELPAR.DAT";
    std::string out = dir / "out/";
    DatArchive archive;
};

}  // namespace

TEST_F(ExtractSafetyTest, UnpacksEveryItemWithItsBytes) {
    const Bytes unit = CodedS16(2, 3, 3, [](int i, int, int) { return MakeColor(8 * i, 0, 0); });
    Open({{"unit.s16", unit}, {"EMPTY.BIN", {}}, {"C.TXT", Filler(30, 3)}});
    ASSERT_EQ(archive.SelectItem(0, 2), 2);
    const ItemWriteResult result = archive.UnpackAll(out, NoProgress());
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.written, 3);
    EXPECT_EQ(FolderListing(dir / "out"),
              (std::vector<std::string>{"C.TXT", "EMPTY.BIN", "UNIT.S16"}));
    EXPECT_EQ(ReadFileBytes(dir / "out/UNIT.S16"), unit);
    EXPECT_TRUE(ReadFileBytes(dir / "out/EMPTY.BIN").empty());
    EXPECT_EQ(ReadFileBytes(dir / "out/C.TXT"), Filler(30, 3));
    // The icons of the current item still decode after the copying.
    EXPECT_EQ(archive.DecodeIcon(), 9);
    EXPECT_EQ(archive.GetColor(0, 0), MakeColor(16, 0, 0));

    // An index outside the archive is a failure, not a read past the directory.
    EXPECT_EQ(archive.WriteItems({99}, out, NoProgress()).failures, 1);
    ASSERT_TRUE(archive.ExtractItem(0, dir / "one.s16"));
    EXPECT_EQ(ReadFileBytes(dir / "one.s16"), unit);
    EXPECT_FALSE(archive.ExtractItem(0, dir / "no/such/dir.s16"));
    EXPECT_EQ(ui.LastText(),
              "Error on creating [" + (dir / "no/such/dir.s16") + "]: No such file or directory");
}

TEST_F(ExtractSafetyTest, NeverWritesOutsideTheChosenFolder) {
    Open({{"../ESCAPE.S16", Filler(4, 1)},
          {"A/B.S16", Filler(4, 2)},
          {"C:X.S16", Filler(4, 3)},
          {"..", Filler(4, 4)},
          {"OK.S16", Filler(4, 5)}});
    std::filesystem::create_directories(dir / "out/in");
    const ItemWriteResult result = archive.UnpackAll(dir / "out/in/", NoProgress());
    ASSERT_TRUE(result.done);
    EXPECT_EQ(result.failures, 4);
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(FolderListing(dir / "out/in"), std::vector<std::string>{"OK.S16"});
    EXPECT_EQ(FolderListing(dir / "out"), std::vector<std::string>{"in"});
    EXPECT_EQ(ui.Errors().front(),
              "[../ESCAPE.S16] is not a plain file name: the item is not written");

    DatArchive closed;
    EXPECT_FALSE(closed.UnpackAll(dir / "out/", NoProgress()).done);
    EXPECT_FALSE(closed.UnpackAll(dir / "out/", NoProgress()).Complete());
    EXPECT_FALSE(closed.ExtractItem(0, dir / "x"));
}

TEST_F(ExtractSafetyTest, NeverWritesOverTheArchiveBeingRead) {
    Open({{"A.S16", Filler(5, 1)}, {"KELPAR.DAT", Filler(6, 2)}, {"LINK.DAT", Filler(7, 3)}});
    const Bytes original = ReadFileBytes(path);
    fs::create_hard_link(path, out + "LINK.DAT");
    fs::create_symlink(path, out + "KELPAR.DAT");
    ui.yesNoAnswers = {true, true, true, true, true, true};
    EXPECT_EQ(Unpack(), 2);
    // Unpacking into the archive's own folder, the window's default.
    const ItemWriteResult inOwnFolder = archive.UnpackAll(dir.Path(), NoProgress());
    EXPECT_TRUE(inOwnFolder.done);
    EXPECT_EQ(inOwnFolder.failures, 1);
    EXPECT_FALSE(archive.ExtractItem(1, path));
    EXPECT_EQ(ReadFileBytes(path), original);
    const std::string refused = "] is the archive being read: the item is not written";
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{"[" + out + "KELPAR.DAT" + refused,
                                                     "[" + out + "LINK.DAT" + refused,
                                                     "[" + path + refused, "[" + path + refused}));
    EXPECT_EQ(ReadFileBytes(out + "A.S16"), Filler(5, 1));
}

TEST_F(ExtractSafetyTest, AsksBeforeReplacingAFileTheUserDidNotName) {
    Open({{"A.S16", Filler(5, 1)}, {"B.S16", Filler(6, 2)}});
    WriteFileBytes(out + "A.S16", Filler(9, 9));
    ui.yesNoAnswers = {false};
    EXPECT_EQ(Unpack(), 1);
    EXPECT_EQ(ui.questions,
              std::vector<std::string>{"[" + out + "A.S16] already exists.\nWrite over it?"});
    EXPECT_EQ(ReadFileBytes(out + "A.S16"), Filler(9, 9));
    EXPECT_EQ(ReadFileBytes(out + "B.S16"), Filler(6, 2));
    EXPECT_EQ(ui.LastText(),
              "[" + out + "A.S16] already exists and is kept: the item is not written");

    ui.yesNoAnswers = {false};
    EXPECT_FALSE(archive.ExtractItem(0, out + "A.S16", true));
    EXPECT_EQ(ui.LastText(),
              "[" + out + "A.S16] already exists and is kept: the item is not written");
    ui.yesNoAnswers = {true};
    EXPECT_TRUE(archive.ExtractItem(0, out + "A.S16", true));
    EXPECT_EQ(ReadFileBytes(out + "A.S16"), Filler(5, 1));
    // A file the user named is replaced without a second question.
    ui.questions.clear();
    EXPECT_TRUE(archive.ExtractItem(1, out + "A.S16"));
    EXPECT_EQ(ReadFileBytes(out + "A.S16"), Filler(6, 2));
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(ExtractSafetyTest, LinksAtTheOutputNameAreReplacedNeverFollowed) {
    Open({{"A.S16", Filler(5, 1)}, {"B.S16", Filler(6, 2)}});
    WriteFileBytes(dir / "victim", Filler(3, 3));
    fs::create_symlink(dir / "victim", out + "A.S16");
    fs::create_symlink(dir / "nowhere", out + "B.S16");
    ui.yesNoAnswers = {true, true};
    EXPECT_EQ(Unpack(), 0);
    EXPECT_EQ(ReadFileBytes(dir / "victim"), Filler(3, 3));
    EXPECT_FALSE(FileExists(dir / "nowhere"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(out + "A.S16")));
    EXPECT_EQ(ReadFileBytes(out + "A.S16"), Filler(5, 1));
    EXPECT_EQ(ReadFileBytes(out + "B.S16"), Filler(6, 2));
}

TEST_F(ExtractSafetyTest, AFailedWriteLeavesTheOldFileAndNoPartialOne) {
    Open({{"BIG.S16", Filler(300000, 1)},
          {"NEW.S16", Filler(200000, 2)},
          {"SMALL.S16", Filler(10, 3)}});
    WriteFileBytes(out + "BIG.S16", Filler(9, 9));
    ui.yesNoAnswers = {true};
    ItemWriteResult result;
    {
        FileSizeLimit limit(100000);
        result = archive.UnpackAll(out, NoProgress());
    }
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.failures, 2);
    EXPECT_EQ(ReadFileBytes(out + "BIG.S16"), Filler(9, 9));
    EXPECT_EQ(FolderListing(out), (std::vector<std::string>{"BIG.S16", "SMALL.S16"}));
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"Error on writing [" + out + "BIG.S16]: File too large",
                                        "Error on writing [" + out + "NEW.S16]: File too large"}));
}

TEST_F(ExtractSafetyTest, ItemsOfOneNameAreAllKeptUnderDistinctNames) {
    Open({{"UNIT.S16", Filler(5, 1)},
          {"unit.s16", Filler(6, 2)},
          {"UNIT~2.S16", Filler(7, 3)},
          {"A", Filler(8, 4)},
          {"A", Filler(9, 5)}});
    EXPECT_EQ(Unpack(), 0);
    EXPECT_EQ(FolderListing(out),
              (std::vector<std::string>{"A", "A~2", "UNIT.S16", "UNIT~2.S16", "UNIT~3.S16"}));
    EXPECT_EQ(ReadFileBytes(out + "UNIT~3.S16"), Filler(6, 2));
    EXPECT_EQ(ReadFileBytes(out + "UNIT~2.S16"), Filler(7, 3));
    EXPECT_EQ(ReadFileBytes(out + "A~2"), Filler(9, 5));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{
                  "[UNIT.S16] has the name of another item: it is written as UNIT~3.S16",
                  "[A] has the name of another item: it is written as A~2"}));
}
