#include <gtest/gtest.h>

#include "DatFiles.h"
#include "FakeUserInterface.h"
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
    WriteFileBytes(dir / "unit01.s16", Filler(3, 7));
    WriteFileBytes(dir / "OTHER.S16", Filler(3, 7));
    EXPECT_FALSE(ReplaceWithSameNamedFile(archive, 1, dir / "OTHER.S16", NoProgress()));
    EXPECT_EQ(
        ui.LastText(),
        "\n   You must pick a same name S16 file for replacement !   \nUse Add option instead");
    EXPECT_TRUE(ReplaceWithSameNamedFile(archive, 0, dir / "unit01.s16", NoProgress()));
    EXPECT_EQ(archive.Entry(0).size, 3);
    // An empty replacement is a replacement too.
    WriteFileBytes(dir / "UNIT02.S16", {});
    EXPECT_TRUE(ReplaceWithSameNamedFile(archive, 1, dir / "UNIT02.S16", NoProgress()));
    EXPECT_EQ(archive.Entry(1).size, 0);
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
