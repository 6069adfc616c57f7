#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "FakeUserInterface.h"
#include "ResourceLimits.h"
#include "TestFiles.h"
#include "support/DurabilityBatch.h"
#include "support/SafeFileWriter.h"
#include "support/ScratchFile.h"

namespace fs = std::filesystem;

namespace {

// A target with old content and a backup name beside it.
class Rewrite : public ::testing::Test {
protected:
    FakeUserInterface ui;
    TempDir dir;
    std::string target = dir / "KELPAR.dat";
    std::string backup = dir / "KELPAR_back.dat";
    Bytes oldContent = Bytes{1, 2, 3, 4};
    Bytes newContent = Bytes{9, 8, 7};

    void SetUp() override { WriteFileBytes(target, oldContent); }

    bool Run(const std::string& path) {
        SafeFileWriter writer(path, backup);
        return writer.Create() && writer.Write(newContent) && writer.Commit();
    }
};

unsigned ModeOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

}  // namespace

TEST_F(Rewrite, PutsTheNewFileInPlaceOnCommitAndKeepsTheOldAsBackup) {
    {
        SafeFileWriter dropped(target, backup);
        ASSERT_TRUE(dropped.Create());
        ASSERT_TRUE(dropped.Write(newContent));
    }  // dropped without Commit: nothing changes, nothing is left behind
    EXPECT_EQ(ReadFileBytes(target), oldContent);
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"KELPAR.dat"});

    WriteFileBytes(backup, Bytes{0xEE});  // an older backup is replaced
    SafeFileWriter writer(target, backup);
    ASSERT_TRUE(writer.Create());
    ASSERT_TRUE(writer.Write(newContent));
    // Until the commit the target holds the old content.
    EXPECT_EQ(ReadFileBytes(target), oldContent);
    EXPECT_TRUE(FileExists(writer.ScratchPath()));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(ReadFileBytes(target), newContent);
    EXPECT_EQ(ReadFileBytes(backup), oldContent);
    EXPECT_EQ(FolderListing(dir.Path()),
              (std::vector<std::string>{"KELPAR.dat", "KELPAR_back.dat"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Rewrite, FailuresNameTheTargetAndTheReason) {
    // No folder to hold the new file.
    SafeFileWriter missing(dir / "missing/KELPAR.dat", "");
    EXPECT_FALSE(missing.Create());
    EXPECT_FALSE(missing.Commit());
    // A folder cannot be replaced by a file.
    const std::string taken = dir / "taken";
    fs::create_directories(taken + "/inside");
    SafeFileWriter blocked(taken, "");
    ASSERT_TRUE(blocked.Create());
    ASSERT_TRUE(blocked.Write(newContent));
    EXPECT_FALSE(blocked.Commit());
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"Error on creating [" + (dir / "missing/KELPAR.dat") +
                                            "]: No such file or directory",
                                        "Error on replacing [" + taken + "]: Is a directory"}));
    EXPECT_TRUE(FileExists(taken + "/inside"));
    EXPECT_EQ(ReadFileBytes(target), oldContent);
    EXPECT_EQ(FolderListing(dir.Path()), (std::vector<std::string>{"KELPAR.dat", "taken"}));
}

TEST_F(Rewrite, AFileSizeLimitIsAReportedWriteError) {
    const Bytes big(1 << 16, 5);
    {
        FileSizeLimit limit(1024);
        SafeFileWriter writer(target, backup);
        ASSERT_TRUE(writer.Create());
        EXPECT_FALSE(writer.Write(big));
        EXPECT_FALSE(writer.Commit());
        EXPECT_FALSE(WriteWholeFile(dir / "new.s16", big));
    }
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{
                               "Error on writing [" + target + "]: File too large",
                               "Error on writing [" + (dir / "new.s16") + "]: File too large"}));
    EXPECT_EQ(ReadFileBytes(target), oldContent);
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"KELPAR.dat"});
}

TEST_F(Rewrite, NeverTouchesFilesNamedLikeTheOldScratchFiles) {
    const Bytes mine{0x55, 0x66};
    for (const char* name : {"KELPAR_new.dat", "KELPAR.dat.~new", "KELPAR.dat_new"})
        WriteFileBytes(dir / name, mine);
    WriteFileBytes(dir / "victim", mine);
    fs::create_symlink(dir / "victim", dir / "KELPAR_new.dat.lnk");
    ASSERT_TRUE(Run(target));
    ASSERT_TRUE(WriteWholeFile(dir / "other.s16", newContent));
    for (const char* name : {"KELPAR_new.dat", "KELPAR.dat.~new", "KELPAR.dat_new", "victim"})
        EXPECT_EQ(ReadFileBytes(dir / name), mine) << name;
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(FolderListing(dir.Path()).size(), 8u);  // nothing left behind
}

TEST_F(Rewrite, KeepsModeOwnerAndGroup) {
    for (unsigned mode : {0600u, 0640u, 0444u, 0755u}) {
        fs::permissions(target, static_cast<fs::perms>(mode));
        ASSERT_TRUE(Run(target));
        EXPECT_EQ(ModeOf(target), mode);
    }
    if (geteuid() == 0) {  // only a privileged user can hand a file to someone else
        ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
        ASSERT_TRUE(Run(target));
        struct stat status {};
        stat(target.c_str(), &status);
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_gid, 65534u);
    }
    // A new file gets the usual permissions, not the private ones of the scratch file.
    const mode_t mask = umask(022);
    ASSERT_TRUE(WriteWholeFile(dir / "fresh.s16", newContent));
    umask(mask);
    EXPECT_EQ(ModeOf(dir / "fresh.s16"), 0644u);
    EXPECT_TRUE(ui.Errors().empty());
}

TEST_F(Rewrite, RewritesThroughASymbolicLinkAndKeepsTheLink) {
    const std::string game = dir / "game/";
    fs::create_directories(game);
    fs::create_symlink(target, game + "KELPAR.dat");
    fs::create_symlink(dir.Path(), game + "linked");
    SafeFileWriter writer(game + "KELPAR.dat", game + "linked/KELPAR_back.dat");
    ASSERT_TRUE(writer.Create());
    EXPECT_EQ(writer.RealTargetPath(), fs::canonical(target).string());
    ASSERT_TRUE(writer.Write(newContent));
    ASSERT_TRUE(writer.Commit());
    EXPECT_TRUE(fs::is_symlink(game + "KELPAR.dat"));
    EXPECT_EQ(ReadFileBytes(target), newContent);
    EXPECT_EQ(ReadFileBytes(backup), oldContent);  // in the real folder of the backup
    EXPECT_TRUE(fs::is_symlink(game + "linked"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Rewrite, SaysThatOtherHardLinksKeepTheOldContent) {
    fs::create_hard_link(target, dir / "copy.dat");
    ASSERT_TRUE(Run(target));
    EXPECT_EQ(ReadFileBytes(dir / "copy.dat"), oldContent);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "[" + target + "]: 1 other hard link(s) keep the old content");
    // The next rewrite finds only its own backup as a second name: no message.
    fs::remove(dir / "copy.dat");
    ui.messages.clear();
    ASSERT_TRUE(Run(target));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Rewrite, RefusesWhenTheFileReadIsNoLongerTheTarget) {
    DataFile original(target, "rb");
    WriteFileBytes(dir / "other.dat", Bytes{7});
    fs::rename(dir / "other.dat", target);  // another program's rewrite
    SafeFileWriter writer(target, backup);
    writer.RequireOriginal(original);
    EXPECT_FALSE(writer.Create());
    EXPECT_EQ(ui.Errors(),
              std::vector<std::string>{"[" + target + "] is being changed by another program"});
    EXPECT_EQ(ReadFileBytes(target), Bytes{7});
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"KELPAR.dat"});
}

TEST(FileIdentity, RecognisesOneFileUnderSeveralNames) {
    TempDir dir;
    WriteFileBytes(dir / "a", Bytes{1});
    WriteFileBytes(dir / "b", Bytes{1});
    fs::create_hard_link(dir / "a", dir / "hard");
    fs::create_symlink(dir / "a", dir / "soft");
    EXPECT_TRUE(IsSameFile(dir / "a", dir / "hard"));
    EXPECT_TRUE(IsSameFile(dir / "soft", dir / "a"));
    EXPECT_TRUE(IsSameFile(dir / "a", dir.Path() + "./a"));
    EXPECT_FALSE(IsSameFile(dir / "a", dir / "b"));
    EXPECT_FALSE(IsSameFile(dir / "missing", dir / "missing"));
}

TEST(ScratchFile, WritesAPrivateFileUnderANewNameAndLeavesNothingOnFailure) {
    FakeUserInterface ui;
    TempDir dir;
    std::string first;
    std::string second;
    ASSERT_TRUE(WriteScratchFile(dir.Path(), "preview.s16", Bytes{1, 2, 3}, first));
    ASSERT_TRUE(WriteScratchFile(dir.Path(), "preview.s16", Bytes{4}, second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(fs::equivalent(fs::path(first).parent_path(), dir.Path()));
    EXPECT_EQ(ReadFileBytes(first), (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadFileBytes(second), Bytes{4});
    EXPECT_EQ(ModeOf(first) & 077, 0u);  // nobody else may read or replace it
    EXPECT_TRUE(ui.messages.empty());

    std::string path = "unchanged";
    {
        FileSizeLimit limit(2);
        EXPECT_FALSE(WriteScratchFile(dir.Path(), "big", Bytes(10, 7), path));
    }
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(WriteScratchFile(dir / "missing", "x", Bytes{1}, path));
    ASSERT_EQ(ui.Errors().size(), 2u);
    EXPECT_EQ(ui.Errors()[0].rfind("Error on writing [" + (dir / ".big."), 0), 0u)
        << ui.Errors()[0];
    EXPECT_NE(ui.Errors()[0].find("File too large"), std::string::npos) << ui.Errors()[0];
    EXPECT_EQ(ui.Errors()[1].rfind("Error on creating [" + (dir / "missing/.x."), 0), 0u)
        << ui.Errors()[1];
    EXPECT_EQ(FolderListing(dir.Path()).size(), 2u);
}

// A batch puts each file in place at once (no scratch file stays) and leaves
// the flush to MakeDurable; a failed flush is told, naming the folder, and
// takes back the files the batch created, not those it replaced.
TEST_F(Rewrite, BatchPlacesFilesAtOnceAndFlushesThemTogether) {
    fs::create_directory(dir / "sub");
    {
        DurabilityBatch batch;
        ASSERT_TRUE(WriteWholeFile(target, newContent, &batch));
        ASSERT_TRUE(WriteWholeFile(dir / "sub/a.s16", newContent, &batch));
        EXPECT_EQ(ReadFileBytes(target), newContent);
        EXPECT_EQ(FolderListing(dir / "sub"), std::vector<std::string>{"a.s16"});
        EXPECT_FALSE(batch.Empty());
        EXPECT_TRUE(batch.MakeDurable());
        EXPECT_TRUE(batch.Empty());
        EXPECT_TRUE(batch.MakeDurable());  // nothing left to do
    }
    EXPECT_TRUE(ui.messages.empty());

    DurabilityBatch failing;
    ASSERT_TRUE(WriteWholeFile(target, oldContent, &failing));
    ASSERT_TRUE(WriteWholeFile(dir / "new.s16", newContent, &failing));
    const std::string gone = dir / "gone";
    failing.Add(gone + "/x.s16", true);  // its folder cannot be opened to flush it
    EXPECT_FALSE(failing.MakeDurable());
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{"Error on writing [" + gone +
                                                    "]: No such file or directory"});
    EXPECT_FALSE(FileExists(dir / "new.s16"));
    EXPECT_EQ(ReadFileBytes(target), oldContent);  // replaced: nothing older to go back to
}
