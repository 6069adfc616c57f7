#include <gtest/gtest.h>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "archive/DatArchive.h"
#include "support/Progress.h"

namespace {

class ItemSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        original = DatBytes({{"A.S16", Filler(10, 1)}, {"B.S16", Filler(20, 2)}});
        WriteFileBytes(path, original);
        ASSERT_TRUE(archive.OpenArchive(path));
    }

    FakeUserInterface ui;
    TempDir dir;
    std::string path = dir / "K.dat";
    Bytes original;
    DatArchive archive;
};

}  // namespace

// FIFOs and /proc files are refused by the command line's tests; a folder or
// a missing file refused here after a good one leaves nothing of either.
TEST_F(ItemSourceTest, OnlyReadableRegularFilesAreStored) {
    WriteFileBytes(dir / "GOOD.S16", Filler(8, 4));
    const std::vector<std::pair<std::string, std::string>> refused{
        {dir.Path(),
         "[" + dir.Path() + "] is not a regular file: only regular files can be stored"},
        {dir / "MISSING.S16", "Cannot open [" + (dir / "MISSING.S16") + "]"}};
    for (const auto& [source, message] : refused) {
        ui.Clear();
        // The good file comes first: nothing of it may be written either.
        const RewriteResult added = archive.AddItems({dir / "GOOD.S16", source}, NoProgress());
        EXPECT_FALSE(added.done);
        EXPECT_EQ(added.bytes, 0u);
        EXPECT_EQ(ui.Errors(), std::vector<std::string>{message});
        const RewriteResult replaced = archive.ReplaceItem(0, source, NoProgress());
        EXPECT_FALSE(replaced.done);
        EXPECT_EQ(replaced.bytes, 0u);
        EXPECT_EQ(ReadFileBytes(path), original);
        EXPECT_EQ(FolderListing(dir.Path()), (std::vector<std::string>{"GOOD.S16", "K.dat"}));
    }
}
