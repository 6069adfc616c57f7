#include <gtest/gtest.h>

#include <filesystem>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "ResourceLimits.h"
#include "archive/RepackFolder.h"
#include "support/ErrorLog.h"
#include "support/Progress.h"

namespace {

class RepackFolderTest : public ::testing::Test {
protected:
    bool Repack() {
        log.Start(target);
        const bool ok = RepackFolder(target, log, NoProgress());
        log.Finish(ok);
        return ok;
    }

    FakeUserInterface ui;
    TempDir dir;
    std::string target = dir / "NEW.dat";
    ErrorLog log;
};

}  // namespace

TEST_F(RepackFolderTest, PacksTheFolderSortedByName) {
    WriteFileBytes(dir / "B.s16", Filler(50, 2));
    WriteFileBytes(dir / "A.s16", Filler(100, 1));
    WriteFileBytes(dir / "notes.txt", Filler(7, 3));
    ASSERT_TRUE(Repack());
    EXPECT_EQ(ReadFileBytes(target),
              DatBytes({{"A.s16", Filler(100, 1)}, {"B.s16", Filler(50, 2)}}));
    EXPECT_TRUE(ui.opened.empty());  // no complaints, no log
    EXPECT_FALSE(FileExists(dir / "Err_NEW.LOG"));
}

TEST_F(RepackFolderTest, LogsNamesLongerThanTwelveCharacters) {
    WriteFileBytes(dir / "VERYLONGNAME.s16", Filler(5, 1));
    WriteFileBytes(dir / "LONGNAME.s16", Filler(6, 2));
    WriteFileBytes(dir / ".hidden.s16", Filler(6, 2));
    ASSERT_TRUE(Repack());
    EXPECT_EQ(StoredNames(ReadFileBytes(target)), std::vector<std::string>{"LONGNAME.s16"});
    EXPECT_EQ(ReadFileText(dir / "Err_NEW.LOG"), "VERYLONGNAME.s16 not included as lenght>12\n");
    EXPECT_EQ(ui.opened, std::vector<std::string>{dir / "Err_NEW.LOG"});

    // Only long names give an empty archive, not none.
    std::filesystem::remove(dir / "LONGNAME.s16");
    std::filesystem::remove(dir / ".hidden.s16");
    ASSERT_TRUE(Repack());
    EXPECT_EQ(ReadFileBytes(target), DatBytes({}));
}

TEST_F(RepackFolderTest, AFolderWithoutS16FilesWritesNothing) {
    WriteFileBytes(dir / "OLD.dat", Filler(9, 1));
    target = dir / "OLD.dat";
    EXPECT_FALSE(Repack());
    EXPECT_EQ(ui.LastText(), target + "\nNo S6 files found on Folder:\n" + dir.Path() + "\n");
    EXPECT_EQ(ReadFileBytes(target), Filler(9, 1));  // an existing file is not touched
}

TEST_F(RepackFolderTest, ReplacesAnExistingArchiveOnlyWhenComplete) {
    WriteFileBytes(target, Filler(9, 1));
    WriteFileBytes(dir / "A.s16", Filler(10, 1));
    {
        FileSizeLimit limit(8);  // the new archive cannot be written
        EXPECT_FALSE(Repack());
    }
    EXPECT_EQ(ReadFileBytes(target), Filler(9, 1));
    ASSERT_TRUE(Repack());
    EXPECT_EQ(StoredNames(ReadFileBytes(target)), std::vector<std::string>{"A.s16"});
    EXPECT_EQ(FolderListing(dir.Path()),
              (std::vector<std::string>{"A.s16", "NEW.dat", "NEW_back.dat"}));
    EXPECT_EQ(ReadFileBytes(dir / "NEW_back.dat"), Filler(9, 1));
    EXPECT_EQ(ui.LastText(), "The old file is kept as [" + (dir / "NEW_back.dat") + "]");
}

TEST_F(RepackFolderTest, KeepsTheOldArchiveAndCountsItsItemsThatAreGone) {
    const Bytes old = DatBytes({{"A.S16", Filler(3, 1)},
                                {"MAP.TXT", Filler(4, 2)},
                                {"b.s16", Filler(5, 3)},
                                {"GONE.S16", Filler(6, 4)}});
    WriteFileBytes(target, old);
    WriteFileBytes(dir / "NEW_back.dat", Filler(7, 7));  // an older backup is replaced
    WriteFileBytes(dir / "a.s16", Filler(10, 1));
    WriteFileBytes(dir / "B.S16", Filler(11, 2));
    WriteFileBytes(dir / "C.s16", Filler(12, 3));
    ASSERT_TRUE(Repack());
    EXPECT_EQ(StoredNames(ReadFileBytes(target)),
              (std::vector<std::string>{"a.s16", "B.S16", "C.s16"}));
    EXPECT_EQ(ReadFileBytes(dir / "NEW_back.dat"), old);
    EXPECT_EQ(ui.LastText(), "The old archive is kept as [" + (dir / "NEW_back.dat") +
                                 "]: 2 of its items are not in the new one");
    EXPECT_TRUE(ui.Errors().empty());
}
