#include <gtest/gtest.h>

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
