#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "CliRunner.h"
#include "TestFiles.h"
#include "archive/DatArchive.h"

TEST(Sample, WritesADeterministicDataSet) {
    TempDir a, b;
    ASSERT_EQ(RunCli({"sample", a.Path(), "--items", "10"}).status, kExitDone);
    ASSERT_EQ(RunCli({"sample", b.Path(), "--items", "10"}).status, kExitDone);
    const std::vector<std::string> files = FolderListing(a.Path());
    EXPECT_EQ(files, FolderListing(b.Path()));
    for (const std::string& name : files)
        EXPECT_EQ(ReadFileBytes(a / name), ReadFileBytes(b / name)) << name;
    for (const char* name : {"KELPAR.dat", "tank.s16", "panel.s16", "soldier.bmp", "flag8.bmp",
                             "sheet3x3.bmp", "sheet9x1.bmp"}) {
        EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
    }

    DatArchive archive;
    ASSERT_TRUE(archive.OpenArchive(a / "KELPAR.dat"));
    ASSERT_EQ(archive.ItemCount(), 11);
    int units = 0, raw = 0, runs = 0, other = 0;
    for (int i = 0; i < archive.ItemCount(); ++i) {
        if (!archive.Entry(i).isS16) {
            ++other;
            continue;
        }
        units += archive.Entry(i).icons == 9;
        archive.SelectItem(i, 1);
        for (int k = 1; k <= archive.IconCount(); ++k)
            (archive.Icon(k).IsRunLength() ? runs : raw) += 1;
    }
    EXPECT_EQ(units, 5);
    EXPECT_EQ(other, 1);
    EXPECT_GT(raw, 0);
    EXPECT_GT(runs, 0);
}

TEST(Sample, WritesExactlyTheItemsAskedForWithShortNames) {
    TempDir dir;
    const CliRun run = RunCli({"sample", dir.Path(), "--items", "250"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.err.find("error"), std::string::npos) << run.err;
    DatArchive archive;
    ASSERT_TRUE(archive.OpenArchive(dir / "KELPAR.dat"));
    ASSERT_EQ(archive.ItemCount(), 251);
    std::set<std::string> names;
    for (int i = 0; i < archive.ItemCount(); ++i) {
        const std::string name = archive.Entry(i).Name();
        EXPECT_LE(name.size(), 12u) << name;
        names.insert(name);
        EXPECT_EQ(archive.Entry(i).isS16, name != "VERSION.TXT") << name;
    }
    EXPECT_EQ(names.size(), 251u);
    EXPECT_EQ(names.count("UNIT125.S16"), 1u);
    EXPECT_EQ(names.count("WIDGE125.S16"), 1u);
    // The scratch folder is gone.
    for (const std::string& name : FolderListing(dir.Path()))
        EXPECT_NE(name.front(), '.') << name;
}

TEST(Sample, NeverTouchesTheUsersFilesOfScratchNames) {
    TempDir dir;
    WriteFileBytes(dir / "KELPAR.items/mine.txt", {'m'});
    WriteFileBytes(dir / "victim", {'v'});
    std::filesystem::create_symlink(dir / "victim", dir / "shp-scratch.s16");
    const CliRun run = RunCli({"sample", dir.Path(), "--items", "4"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR.items/mine.txt"), Bytes{'m'});
    EXPECT_EQ(ReadFileBytes(dir / "victim"), Bytes{'v'});
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "shp-scratch.s16"));
    for (const std::string& name : FolderListing(dir.Path()))
        EXPECT_NE(name.front(), '.') << name;
}
