#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "archive/DatArchive.h"
#include "archive/RepackFolder.h"
#include "support/ErrorLog.h"
#include "support/Messages.h"
#include "support/Progress.h"

namespace {

// Lowers the soft limit on open files for the lifetime of the object.
class OpenFileLimit {
public:
    explicit OpenFileLimit(rlim_t limit) {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        active_ = setrlimit(RLIMIT_NOFILE, &lowered) == 0;
    }
    ~OpenFileLimit() { setrlimit(RLIMIT_NOFILE, &saved_); }
    bool Active() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
};

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

TEST_F(ItemSourceTest, AddsAndRepacksMoreFilesThanMayBeOpenAtOnce) {
    constexpr int kFiles = 1100;
    std::vector<std::string> sources;
    for (int i = 0; i < kFiles; ++i) {
        sources.push_back(dir / FormatText("pack/F%04d.s16", i));
        WriteFileBytes(sources.back(), Filler(5 + i % 7, i));
    }
    OpenFileLimit limit(256);
    ASSERT_TRUE(limit.Active());
    bool done = false;
    archive.AddItems(sources, NoProgress(), &done);
    EXPECT_TRUE(done) << ui.LastText();
    EXPECT_EQ(archive.ItemCount(), 2 + kFiles);
    ASSERT_GT(archive.ItemCount(), 2);
    EXPECT_EQ(archive.Entry(2 + 1099).Name(), "F1099.S16");

    ErrorLog log;
    log.Start(dir / "pack/ALL.dat");
    EXPECT_TRUE(RepackFolder(dir / "pack/ALL.dat", log, NoProgress())) << ui.LastText();
    log.Finish(true);
    DatArchive packed;
    ASSERT_TRUE(packed.OpenArchive(dir / "pack/ALL.dat"));
    EXPECT_EQ(packed.ItemCount(), kFiles);
    EXPECT_TRUE(ui.Errors().empty());
}

TEST_F(ItemSourceTest, OnlyReadableRegularFilesAreStored) {
    const std::string fifo = dir / "PIPE.S16";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteFileBytes(dir / "GOOD.S16", Filler(8, 4));
    const std::vector<std::pair<std::string, std::string>> refused{
        {fifo, "[" + fifo + "] is not a regular file: only regular files can be stored"},
        {"/proc/self/status",
         "[/proc/self/status] is not a regular file: only regular files can be stored"},
        {dir.Path(),
         "[" + dir.Path() + "] is not a regular file: only regular files can be stored"},
        {dir / "MISSING.S16", "Cannot open [" + (dir / "MISSING.S16") + "]"}};
    for (const auto& [source, message] : refused) {
        ui.Clear();
        bool done = true;
        // The good file comes first: nothing of it may be written either.
        EXPECT_EQ(archive.AddItems({dir / "GOOD.S16", source}, NoProgress(), &done), 0u);
        EXPECT_FALSE(done);
        EXPECT_EQ(ui.Errors(), std::vector<std::string>{message});
        EXPECT_EQ(archive.ReplaceItem(0, source, NoProgress(), &done), 0u);
        EXPECT_FALSE(done);
        EXPECT_EQ(ReadFileBytes(path), original);
        EXPECT_EQ(FolderListing(dir.Path()),
                  (std::vector<std::string>{"GOOD.S16", "K.dat", "PIPE.S16"}));
    }
}
