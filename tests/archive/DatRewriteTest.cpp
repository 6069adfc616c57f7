#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "ResourceLimits.h"
#include "archive/DatArchive.h"
#include "archive/DatWriter.h"
#include "support/DataFile.h"
#include "support/Progress.h"

namespace fs = std::filesystem;

namespace {

// Records what a progress bar was asked to do.
class RecordingProgress final : public Progress {
public:
    void Show() override { visible = true; }
    void SetRange(int maximum) override { range = maximum; }
    void Step(int count) override { steps += count; }
    void Hide() override { visible = false; }
    bool visible = false;
    int range = 0;
    int steps = 0;
};

class DatRewriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        original = DatBytes({{"alpha.s16", Filler(10, 1)},
                             {"BETA.S16", Filler(20, 2)},
                             {"GAMMA.S16", Filler(30, 3)}});
        WriteFileBytes(path, original);
        ASSERT_TRUE(archive.OpenArchive(path));
    }
    std::string Source(const std::string& name, const Bytes& bytes) {
        WriteFileBytes(dir / ("src/" + name), bytes);
        return dir / ("src/" + name);
    }

    FakeUserInterface ui;
    TempDir dir;
    std::string path = dir / "KELPAR.dat";
    Bytes original;
    DatArchive archive;
    RecordingProgress progress;
};

}  // namespace

TEST_F(DatRewriteTest, ReplacingShiftsLaterOffsetsAndUpperCasesNames) {
    const Bytes replacement = Filler(25, 9);
    EXPECT_EQ(archive.ReplaceItem(1, Source("BETA.S16", replacement), progress).bytes, 25u);
    const Bytes after = ReadFileBytes(path);
    EXPECT_EQ(after, DatBytes({{"ALPHA.S16", Filler(10, 1)},
                               {"BETA.S16", replacement},
                               {"GAMMA.S16", Filler(30, 3)}}));
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR_back.dat"), original);
    EXPECT_FALSE(FileExists(dir / "KELPAR_new.dat"));
    EXPECT_EQ(archive.ItemCount(), 3);
    EXPECT_EQ(archive.Entry(2).offset, 72u + 10 + 25);
    EXPECT_EQ(progress.range, 6);
    EXPECT_EQ(progress.steps, 6);
    EXPECT_FALSE(progress.visible);
}

TEST_F(DatRewriteTest, AddingSortsWithUnderscoresFirstAndKeepsTheFilesSpelling) {
    const std::string a = Source("unit_a.s16", Filler(5, 4));
    const std::string b = Source("UNITA.S16", Filler(6, 5));
    const std::string c = Source("Aardvark.s16", Filler(7, 6));
    EXPECT_EQ(archive.AddItems({b, a, c}, progress).bytes, 18u);
    const Bytes after = ReadFileBytes(path);
    EXPECT_EQ(StoredNames(after),
              (std::vector<std::string>{"Aardvark.s16", "ALPHA.S16", "BETA.S16", "GAMMA.S16",
                                        "unit_a.s16", "UNITA.S16"}));
    EXPECT_EQ(after.size(), 4 + 17 * 7 + 60 + 18u);
    // One rewrite for all files: the backup is the archive from before the command.
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR_back.dat"), original);
    EXPECT_EQ(progress.range, 2 * 6 + 11);
    EXPECT_EQ(archive.FindItem("UNIT_A.S16"), 4);
    EXPECT_EQ(archive.Entry(4).Name(), "UNIT_A.S16");  // read back upper-cased
}

TEST_F(DatRewriteTest, AddingGivesWhatAddingOneAfterTheOtherGives) {
    const std::string x = Source("ZED.S16", Filler(3, 1));
    const std::string y = Source("BETA.S16", Filler(4, 2));  // the same name as an item
    ASSERT_TRUE(archive.AddItems({x, y}, progress).done);
    const Bytes together = ReadFileBytes(path);
    WriteFileBytes(path, original);
    ASSERT_TRUE(archive.OpenArchive(path));
    ASSERT_TRUE(archive.AddItem(x, progress).done);
    ASSERT_TRUE(archive.AddItem(y, progress).done);
    EXPECT_EQ(ReadFileBytes(path), together);
}

// Names are found by comparing every name for the first few look-ups after an
// open or a rewrite, then through an index: neither may be left pointing at
// the old directory, so each step checks more names than the scans cover.
TEST_F(DatRewriteTest, FindingNamesFollowsEveryRewriteAndOpen) {
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(archive.FindItem("gamma.s16"), 2);
        EXPECT_EQ(archive.FindItem("ALPHA.s16"), 0);
        EXPECT_EQ(archive.FindItem("ALPHA.S16X"), -1);
        EXPECT_EQ(archive.FindItem("A.LONGER.NAME.S16"), -1);
    }
    ASSERT_EQ(archive.RemoveItem(0, progress), "ALPHA.S16");
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(archive.FindItem("gamma.s16"), 1);
        EXPECT_EQ(archive.FindItem("alpha.s16"), -1);
    }
    ASSERT_TRUE(archive.AddItem(Source("beta.s16", Filler(4, 8)), progress).done);
    for (int round = 0; round < 3; ++round) {
        const int beta = archive.FindItem("Beta.S16");
        ASSERT_GE(beta, 0);
        EXPECT_EQ(archive.Entry(beta).Name(), "BETA.S16");
        EXPECT_TRUE(beta == 0 || archive.Entry(beta - 1).Name() != "BETA.S16");  // the first
        EXPECT_EQ(archive.Entry(beta + 1).Name(), "BETA.S16");
        EXPECT_EQ(archive.FindItem("GAMMA.S16"), 2);
    }
    WriteFileBytes(dir / "OTHER.dat", DatBytes({{"ZED.S16", Filler(3, 1)}}));
    ASSERT_TRUE(archive.OpenArchive(dir / "OTHER.dat"));
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(archive.FindItem("GAMMA.S16"), -1);
        EXPECT_EQ(archive.FindItem("zed.s16"), 0);
    }
}

// The directory after a rewrite is planned, not read back: it must be the one
// that reading the new archive gives, icon counts included.
TEST_F(DatRewriteTest, ThePlannedDirectoryIsTheOneReadBack) {
    Bytes negative = Filler(8, 5);
    negative[3] = 0x80;
    Bytes nine = Filler(6, 2);
    nine[0] = 9;
    nine[1] = nine[2] = nine[3] = 0;
    ASSERT_TRUE(archive
                    .AddItems({Source("NEG.S16", negative), Source("NINE.S16", nine),
                               Source("TINY.S16", Filler(3, 7)), Source("note.txt", nine)},
                              progress)
                    .done);
    DatArchive reread;
    ASSERT_TRUE(reread.OpenArchive(path));
    ASSERT_EQ(reread.ItemCount(), archive.ItemCount());
    for (int i = 0; i < archive.ItemCount(); ++i) {
        const DatEntry& planned = archive.Entry(i);
        const DatEntry& read = reread.Entry(i);
        EXPECT_EQ(planned.Name(), read.Name());
        EXPECT_EQ(planned.offset, read.offset) << read.Name();
        EXPECT_EQ(planned.size, read.size) << read.Name();
        EXPECT_EQ(planned.isS16, read.isS16) << read.Name();
        EXPECT_EQ(planned.icons, read.icons) << read.Name();
    }
    EXPECT_EQ(reread.Entry(reread.FindItem("NINE.S16")).icons, 9);
    EXPECT_EQ(reread.Entry(reread.FindItem("NOTE.TXT")).icons, 0);
}

TEST_F(DatRewriteTest, NamesOfThirteenCharactersHaveNoTerminator) {
    ASSERT_TRUE(archive.AddItem(Source("ABCDEFGHIJ.S16X", Filler(2, 1)), progress).done);
    const Bytes after = ReadFileBytes(path);
    EXPECT_EQ(StoredNames(after)[0], "ABCDEFGHIJ.S1");
    EXPECT_EQ(after[4 + 4 + 12], '1');
    EXPECT_EQ(GetU32(after, 4 + 17), 4u + 17 * 5 + 2);  // the next record follows at once
}

TEST_F(DatRewriteTest, RemovingKeepsTheOrderAndRemovingTheLastItemLeavesAnEmptyArchive) {
    EXPECT_EQ(archive.RemoveItem(1, progress), "BETA.S16");
    EXPECT_EQ(ReadFileBytes(path),
              DatBytes({{"ALPHA.S16", Filler(10, 1)}, {"GAMMA.S16", Filler(30, 3)}}));
    EXPECT_EQ(progress.range, 4);
    EXPECT_EQ(archive.RemoveItem(0, progress), "ALPHA.S16");
    EXPECT_EQ(archive.RemoveItem(0, progress), "GAMMA.S16");
    const Bytes empty = ReadFileBytes(path);
    EXPECT_EQ(empty.size(), 21u);
    EXPECT_EQ(GetU32(empty, 0), 1u);
    EXPECT_EQ(GetU32(empty, 4), 21u);
    EXPECT_EQ(archive.ItemCount(), 0);
    EXPECT_EQ(archive.RemoveItem(0, progress), "");
}

// FIFOs and /proc files are refused by the command line's tests; a folder or
// a missing file refused here after a good one leaves nothing of either.
TEST_F(DatRewriteTest, OnlyReadableRegularFilesAreStored) {
    const std::string good = Source("GOOD.S16", Filler(8, 4));
    const std::vector<std::pair<std::string, std::string>> refused{
        {dir / "src",
         "[" + (dir / "src") + "] is not a regular file: only regular files can be stored"},
        {dir / "gone/ALPHA.S16", "Cannot open [" + (dir / "gone/ALPHA.S16") + "]"}};
    for (const auto& [source, message] : refused) {
        ui.Clear();
        // The good file comes first: nothing of it may be written either.
        const RewriteResult added = archive.AddItems({good, source}, progress);
        EXPECT_FALSE(added.done);
        EXPECT_EQ(added.bytes, 0u);
        EXPECT_EQ(ui.Errors(), std::vector<std::string>{message});
        const RewriteResult replaced = archive.ReplaceItem(0, source, progress);
        EXPECT_FALSE(replaced.done);
        EXPECT_EQ(replaced.bytes, 0u);
        EXPECT_EQ(ReadFileBytes(path), original);
        EXPECT_EQ(FolderListing(dir.Path()), (std::vector<std::string>{"KELPAR.dat", "src"}));
        EXPECT_EQ(archive.ItemCount(), 3);
    }
}

TEST_F(DatRewriteTest, FailuresLeaveTheOriginalByteIdentical) {
#ifndef __SANITIZE_ADDRESS__  // the sanitizers' own checks need descriptors too
    // The new file cannot be created.
    {
        NoMoreOpenFiles limit;
        EXPECT_EQ(archive.RemoveItem(0, progress), "");
    }
    EXPECT_EQ(ui.LastText(), "Error on creating [" + path + "]: Too many open files");
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(archive.ItemCount(), 3);
#endif

    // The disk fills up while the new archive is written.
    {
        FileSizeLimit limit(8);
        EXPECT_EQ(archive.RemoveItem(0, progress), "");
    }
    EXPECT_EQ(ui.LastText(), "Error on writing [" + path + "]: File too large");
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"KELPAR.dat"});
    EXPECT_EQ(archive.ItemCount(), 3);
    // The archive can still be read after every failure.
    EXPECT_EQ(archive.RemoveItem(2, progress), "GAMMA.S16");
}

TEST_F(DatRewriteTest, RefusesAnArchiveThatWouldPassFourGiB) {
    const std::string big = dir / "src/BIG.S16";
    WriteFileBytes(big, {});
    std::error_code error;
    fs::resize_file(big, 0x100000000ull, error);  // sparse: takes no room
    if (error) GTEST_SKIP() << "no sparse files here";
    EXPECT_FALSE(archive.AddItem(big, progress).done);
    EXPECT_EQ(
        ui.LastText(),
        "[" + path + "] would pass 4 GiB, the limit of the archive format: nothing was written");
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_FALSE(FileExists(dir / "KELPAR_new.dat"));
}

// Moves the process to another folder once the new archive is being written,
// so that the archive's relative name no longer leads to it afterwards.
class MovingProgress final : public Progress {
public:
    explicit MovingProgress(std::string to) : to_(std::move(to)) {}
    void Show() override {}
    void SetRange(int) override {}
    void Step(int) override {
        if (!moved_) moved_ = ::chdir(to_.c_str()) == 0;
    }
    void Hide() override {}

private:
    std::string to_;
    bool moved_ = false;
};

TEST_F(DatRewriteTest, AnArchiveThatCannotBeOpenedAgainIsStillChanged) {
    const fs::path home = fs::current_path();
    fs::create_directory(dir / "elsewhere");
    ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
    DatArchive relative;
    ASSERT_TRUE(relative.OpenArchive("KELPAR.dat"));
    MovingProgress moving(dir / "elsewhere");
    ui.Clear();
    EXPECT_EQ(relative.RemoveItems({1}, moving), std::vector<std::string>{"BETA.S16"});
    fs::current_path(home);
    EXPECT_TRUE(ui.Errors().empty());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"[KELPAR.dat] was changed, but could not be "
                                                   "opened again: No such file or directory"});
    EXPECT_FALSE(relative.IsOpen());
    ASSERT_TRUE(archive.OpenArchive(path));
    EXPECT_EQ(archive.ItemCount(), 2);
}
