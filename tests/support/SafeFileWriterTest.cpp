#include <gtest/gtest.h>

#include <filesystem>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "support/SafeFileWriter.h"

namespace {

struct Rewrite {
    TempDir dir;
    std::string target = dir / "KELPAR.dat";
    std::string fresh = dir / "KELPAR_new.dat";
    std::string backup = dir / "KELPAR_back.dat";
    Bytes oldContent = Bytes{1, 2, 3, 4};
    Bytes newContent = Bytes{9, 8, 7};

    Rewrite() { WriteFileBytes(target, oldContent); }
};

}  // namespace

TEST(SafeFileWriter, PutsTheNewFileInPlaceAndKeepsTheOldAsBackup) {
    FakeUserInterface ui;
    Rewrite r;
    WriteFileBytes(r.backup, Bytes{0xEE});  // an older backup is replaced
    SafeFileWriter writer(r.target, r.fresh, r.backup);
    ASSERT_TRUE(writer.Create());
    writer.File().Write(r.newContent.data(), r.newContent.size());
    // Until the commit the target holds the old content.
    EXPECT_EQ(ReadFileBytes(r.target), r.oldContent);
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(ReadFileBytes(r.target), r.newContent);
    EXPECT_EQ(ReadFileBytes(r.backup), r.oldContent);
    EXPECT_FALSE(FileExists(r.fresh));
    EXPECT_EQ(FolderListing(r.dir.Path()),
              (std::vector<std::string>{"KELPAR.dat", "KELPAR_back.dat"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SafeFileWriter, AbandoningLeavesTheTargetAlone) {
    FakeUserInterface ui;
    Rewrite r;
    {
        SafeFileWriter writer(r.target, r.fresh, r.backup);
        ASSERT_TRUE(writer.Create());
        writer.File().Write(r.newContent.data(), r.newContent.size());
    }  // dropped without Commit
    EXPECT_EQ(ReadFileBytes(r.target), r.oldContent);
    EXPECT_EQ(FolderListing(r.dir.Path()), std::vector<std::string>{"KELPAR.dat"});
}

TEST(SafeFileWriter, ReportsANewFileThatCannotBeCreated) {
    FakeUserInterface ui;
    Rewrite r;
    SafeFileWriter writer(r.target, r.dir / "missing/KELPAR_new.dat", r.backup);
    EXPECT_FALSE(writer.Create());
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{"Error on creating [" +
                                                    (r.dir / "missing/KELPAR_new.dat") + "]"});
    EXPECT_EQ(ReadFileBytes(r.target), r.oldContent);
}

TEST(SafeFileWriter, AFullDiskLeavesTheOriginalAndNoScratchFile) {
    FakeUserInterface ui;
    Rewrite r;
    std::error_code error;
    std::filesystem::create_symlink("/dev/full", r.fresh, error);
    if (error || !FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    SafeFileWriter writer(r.target, r.fresh, r.backup);
    ASSERT_TRUE(writer.Create());
    const Bytes block(1 << 16, 5);
    writer.File().Write(block.data(), block.size());
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{"Error on writing [" + r.fresh + "]"});
    EXPECT_EQ(ReadFileBytes(r.target), r.oldContent);
    EXPECT_FALSE(FileExists(r.backup));
    EXPECT_EQ(FolderListing(r.dir.Path()), std::vector<std::string>{"KELPAR.dat"});
}

TEST(SafeFileWriter, AFailedMoveIntoPlaceIsReported) {
    FakeUserInterface ui;
    TempDir dir;
    const std::string target = dir / "taken";
    std::filesystem::create_directories(target +
                                        "/inside");  // a folder cannot be replaced by a file
    SafeFileWriter writer(target, dir / "taken_new", "");
    ASSERT_TRUE(writer.Create());
    writer.File().Write("x", 1);
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{"Error on replacing [" + target + "]"});
    EXPECT_FALSE(FileExists(dir / "taken_new"));
    EXPECT_TRUE(FileExists(target + "/inside"));
}
