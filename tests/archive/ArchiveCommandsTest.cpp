#include <gtest/gtest.h>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "S16Files.h"
#include "archive/ArchiveCommands.h"
#include "archive/DatArchive.h"
#include "support/Progress.h"

namespace {

class ArchiveCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir / "K.dat",
                       DatBytes({{"UNIT01.S16", Filler(8, 1)}, {"UNIT02.S16", Filler(8, 2)}}));
        ASSERT_TRUE(archive.OpenArchive(dir / "K.dat"));
    }

    FakeUserInterface ui;
    TempDir dir;
    DatArchive archive;
};

}  // namespace

TEST_F(ArchiveCommandsTest, ReplaceNeedsAFileOfTheSameName) {
    const Bytes sprite = CodedS16(2, 3, 3, [](int, int x, int) { return MakeColor(0, 9 * x, 0); });
    WriteFileBytes(dir / "unit01.s16", sprite);
    WriteFileBytes(dir / "OTHER.S16", sprite);
    EXPECT_FALSE(ReplaceWithSameNamedFile(archive, 1, dir / "OTHER.S16", NoProgress()));
    EXPECT_EQ(
        ui.LastText(),
        "\n   You must pick a same name S16 file for replacement !   \nUse Add option instead");
    EXPECT_TRUE(ReplaceWithSameNamedFile(archive, 0, dir / "unit01.s16", NoProgress()));
    EXPECT_EQ(archive.Entry(0).size, static_cast<std::int64_t>(sprite.size()));
    EXPECT_EQ(archive.Entry(0).icons, 2);
}

TEST_F(ArchiveCommandsTest, FilesNamedS16MustReadAsS16) {
    const Bytes sprite = CodedS16(3, 4, 2, [](int i, int, int) { return MakeColor(20 * i, 0, 0); });
    WriteFileBytes(dir / "good.s16", sprite);
    EXPECT_TRUE(CheckSourceRules(dir / "good.s16", {}));
    Bytes hugeCount = sprite;
    hugeCount[0] = 0xC2;  // 456,543,554 icons in a file of a few hundred bytes
    hugeCount[1] = 0x4D;
    hugeCount[2] = 0x36;
    hugeCount[3] = 0x1B;
    Bytes cut(sprite.begin(), sprite.end() - 1);  // the last icon's data end outside the file
    Bytes negative = sprite;
    negative[3] = 0xFF;
    Bytes wide = sprite;  // icon 1 is 1,000 pixels wide: over the limits
    wide[20] = 0xE8;
    wide[21] = 0x03;
    for (const auto& [name, bytes] :
         std::vector<std::pair<std::string, Bytes>>{{"empty.s16", {}},
                                                    {"count.s16", hugeCount},
                                                    {"cut.s16", cut},
                                                    {"negative.s16", negative},
                                                    {"wide.s16", wide}}) {
        WriteFileBytes(dir / name, bytes);
        EXPECT_FALSE(CheckSourceRules(dir / name, {})) << name;
    }
    EXPECT_EQ(ui.LastText(), (dir / "wide.s16") +
                                 " does not read as an S16 file: icon 1 is 1000 x "
                                 "2, over the limits of an icon");
    // No icons at all is an S16 file, as removing the last icon leaves it.
    WriteFileBytes(dir / "none.s16", Bytes(4, 0));
    EXPECT_TRUE(CheckSourceRules(dir / "none.s16", {}));

    // The window's rules refuse it with a message naming the file.
    ui.Clear();
    WriteFileBytes(dir / "UNIT01.S16", hugeCount);
    EXPECT_FALSE(ReplaceWithSameNamedFile(archive, 0, dir / "UNIT01.S16", NoProgress()));
    EXPECT_EQ(
        ui.LastText().rfind(
            (dir / "UNIT01.S16") + " does not read as an S16 file: it claims 456543682 icons", 0),
        0u)
        << ui.LastText();
}

TEST_F(ArchiveCommandsTest, RemoveAndExtractTellWhatTheyDid) {
    EXPECT_TRUE(ExtractItemAndTell(archive, 1, dir / "copy.s16"));
    EXPECT_EQ(ui.LastText(), "\n" + (dir / "copy.s16") + " \t saved to disk  \n");
    EXPECT_EQ(RemoveItemAndTell(archive, 0, NoProgress()), "UNIT01.S16");
    EXPECT_EQ(ui.LastText(), "\nUNIT01.S16 \t removed  \n");
    TellFilteredExtraction(3, "/out/");
    EXPECT_EQ(ui.LastText(), "\n3 items saved to  \n  /out/");
}

TEST_F(ArchiveCommandsTest, AddingNeedsAnArchiveWithItems) {
    WriteFileBytes(dir / "NEW.S16", Filler(5, 1));
    EXPECT_EQ(RemoveItemAndTell(archive, 0, NoProgress()), "UNIT01.S16");
    EXPECT_EQ(RemoveItemAndTell(archive, 0, NoProgress()), "UNIT02.S16");
    ui.Clear();
    EXPECT_FALSE(AddFiles(archive, {dir / "NEW.S16"}, NoProgress()));
    EXPECT_EQ(RemoveItemAndTell(archive, 0, NoProgress()), "");
    EXPECT_FALSE(ReplaceWithSameNamedFile(archive, 0, dir / "NEW.S16", NoProgress()));
    EXPECT_TRUE(ui.messages.empty());
}
