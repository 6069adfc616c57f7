#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "support/RewriteLock.h"
#include "support/SafeFileWriter.h"

namespace fs = std::filesystem;
using std::chrono::milliseconds;

namespace {

// An flock taken the way another process of this program takes it.
class ForeignLock {
public:
    explicit ForeignLock(const std::string& path) : fd_(open(path.c_str(), O_RDONLY)) {
        EXPECT_GE(fd_, 0);
        EXPECT_EQ(flock(fd_, LOCK_EX), 0);
    }
    ~ForeignLock() { close(fd_); }

private:
    int fd_;
};

// True when another process could not take the lock on `path` now.
bool ForeignLockFails(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    const bool fails = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return fails;
}

class RewriteLockTest : public ::testing::Test {
protected:
    FakeUserInterface ui;
    TempDir dir;
    std::string target = dir / "KELPAR.dat";
};

}  // namespace

TEST_F(RewriteLockTest, ASecondWriterWaitsThenGivesUpWithAMessage) {
    WriteFileBytes(target, Bytes{1, 2, 3});
    {
        ForeignLock other(target);
        const auto start = std::chrono::steady_clock::now();
        RewriteLock lock(target, milliseconds(200));
        EXPECT_FALSE(lock.Held());
        EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(200));
        // A rewrite refuses and changes nothing (this one waits the full default time).
        SafeFileWriter writer(target, dir / "KELPAR_back.dat");
        EXPECT_FALSE(writer.Create());
    }
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>(
                               2, "[" + target + "] is being changed by another program")));
    EXPECT_EQ(ReadFileBytes(target), (Bytes{1, 2, 3}));
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"KELPAR.dat"});
    RewriteLock free(target, milliseconds(0));  // the other writer is done
    EXPECT_TRUE(free.Held());
}

TEST_F(RewriteLockTest, ALockOnAFileAlreadyReplacedDoesNotHoldBack) {
    WriteFileBytes(target, Bytes{1});
    // The other writer still holds the old file after putting the new one in place.
    ForeignLock other(target);
    WriteFileBytes(dir / "new", Bytes{2});
    fs::rename(dir / "new", target);
    RewriteLock lock(target, milliseconds(0));
    EXPECT_TRUE(lock.Held());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RewriteLockTest, IsSharedWithinOneProcessAndFollowsLinks) {
    WriteFileBytes(target, Bytes{1, 2, 3});
    fs::create_symlink(target, dir / "link.dat");
    {
        RewriteLock outer(dir / "link.dat", milliseconds(0));
        ASSERT_TRUE(outer.Held());
        EXPECT_EQ(outer.LockedPath(), fs::canonical(target).string());
        // The caller holds the lock from before its read; the rewrite shares it.
        SafeFileWriter writer(target, "");
        ASSERT_TRUE(writer.Create());
        ASSERT_TRUE(writer.Write(Bytes{4}));
        ASSERT_TRUE(writer.Commit());
        // Still held after the writer let go of its share: a foreign lock would wait.
        EXPECT_TRUE(ForeignLockFails(target));
    }
    EXPECT_FALSE(ForeignLockFails(target));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RewriteLockTest, ANewFileLocksNothingUntilItIsWritten) {
    {
        RewriteLock first(dir / "a.s16", milliseconds(0));
        RewriteLock second(dir / "b.s16", milliseconds(0));
        EXPECT_TRUE(first.Held() && first.FoundNoFile());
        EXPECT_TRUE(second.Held() && second.FoundNoFile());
        EXPECT_FALSE(ForeignLockFails(dir.Path()));
        // The file written under the lock is held once it exists.
        SafeFileWriter writer(dir / "a.s16", "");
        ASSERT_TRUE(writer.Create());
        ASSERT_TRUE(writer.Write(Bytes{1}));
        ASSERT_TRUE(writer.Commit());
        EXPECT_TRUE(ForeignLockFails(dir / "a.s16"));
        EXPECT_FALSE(first.FoundNoFile());
        // A second rewrite under the same lock replaces it as any existing file.
        SafeFileWriter again(dir / "a.s16", "");
        ASSERT_TRUE(again.Create());
        ASSERT_TRUE(again.Write(Bytes{2}));
        ASSERT_TRUE(again.Commit());
    }
    EXPECT_FALSE(ForeignLockFails(dir / "a.s16"));
    EXPECT_EQ(ReadFileBytes(dir / "a.s16"), Bytes{2});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RewriteLockTest, TwoProcessesWriteDifferentNewFilesOfOneFolderSideBySide) {
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other process holds its new file's writer open across the parent's.
        SafeFileWriter writer(dir / "b.s16", "");
        const bool created = writer.Create() && writer.Write(Bytes{2});
        char signal = created ? 'y' : 'n';
        const bool talked =
            write(toParent[1], &signal, 1) == 1 && read(toChild[0], &signal, 1) == 1;
        _exit(talked && created && writer.Commit() ? 0 : 1);
    }
    char signal = 0;
    EXPECT_EQ(read(toParent[0], &signal, 1), 1);
    EXPECT_EQ(signal, 'y');
    bool written = false;
    {
        SafeFileWriter writer(dir / "a.s16", "");
        written = writer.Create() && writer.Write(Bytes{1}) && writer.Commit();
    }
    EXPECT_EQ(write(toChild[1], "g", 1), 1);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    for (const int fd : {toParent[0], toParent[1], toChild[0], toChild[1]})
        close(fd);
    EXPECT_TRUE(written);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFileBytes(dir / "a.s16"), Bytes{1});
    EXPECT_EQ(ReadFileBytes(dir / "b.s16"), Bytes{2});
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{});
}

TEST_F(RewriteLockTest, ANewFileNeverReplacesOneCreatedMeanwhile) {
    target = dir / "new.s16";
    SafeFileWriter writer(target, dir / "new_back.s16");
    ASSERT_TRUE(writer.Create());
    ASSERT_TRUE(writer.Write(Bytes{1, 2, 3}));
    WriteFileBytes(target, Bytes{9});  // another program's file
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{
                               "[" + target +
                               "] was created by another program meanwhile: nothing was written"});
    EXPECT_EQ(ReadFileBytes(target), Bytes{9});
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"new.s16"});
}
