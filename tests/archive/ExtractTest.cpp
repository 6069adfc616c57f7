#include <gtest/gtest.h>

#include <filesystem>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "S16Files.h"
#include "archive/DatArchive.h"
#include "support/Progress.h"

TEST(Extract, UnpacksEveryItemWithItsBytes) {
    FakeUserInterface ui;
    TempDir dir;
    const Bytes unit = CodedS16(2, 3, 3, [](int i, int, int) { return MakeColor(8 * i, 0, 0); });
    WriteFileBytes(dir / "K.dat",
                   DatBytes({{"unit.s16", unit}, {"EMPTY.BIN", {}}, {"C.TXT", Filler(30, 3)}}));
    DatArchive archive;
    ASSERT_TRUE(archive.OpenArchive(dir / "K.dat"));
    ASSERT_EQ(archive.SelectItem(0, 2), 2);
    std::filesystem::create_directory(dir / "out");
    int failures = -1;
    ASSERT_TRUE(archive.UnpackAll(dir / "out/", NoProgress(), &failures));
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(FolderListing(dir / "out"),
              (std::vector<std::string>{"C.TXT", "EMPTY.BIN", "UNIT.S16"}));
    EXPECT_EQ(ReadFileBytes(dir / "out/UNIT.S16"), unit);
    EXPECT_TRUE(ReadFileBytes(dir / "out/EMPTY.BIN").empty());
    EXPECT_EQ(ReadFileBytes(dir / "out/C.TXT"), Filler(30, 3));
    // The icons of the current item still decode after the copying.
    EXPECT_EQ(archive.DecodeIcon(), 9);
    EXPECT_EQ(archive.GetColor(0, 0), MakeColor(16, 0, 0));

    ASSERT_TRUE(archive.ExtractItem(0, dir / "one.s16"));
    EXPECT_EQ(ReadFileBytes(dir / "one.s16"), unit);
    EXPECT_FALSE(archive.ExtractItem(0, dir / "no/such/dir.s16"));
    EXPECT_EQ(ui.LastText(), "Error on creating [" + (dir / "no/such/dir.s16") + "]");
}

TEST(Extract, NeverWritesOutsideTheChosenFolder) {
    FakeUserInterface ui;
    TempDir dir;
    WriteFileBytes(dir / "K.dat", DatBytes({{"../ESCAPE.S16", Filler(4, 1)},
                                            {"A/B.S16", Filler(4, 2)},
                                            {"C:X.S16", Filler(4, 3)},
                                            {"..", Filler(4, 4)},
                                            {"OK.S16", Filler(4, 5)}}));
    DatArchive archive;
    ASSERT_TRUE(archive.OpenArchive(dir / "K.dat"));
    std::filesystem::create_directories(dir / "out/in");
    int failures = 0;
    ASSERT_TRUE(archive.UnpackAll(dir / "out/in/", NoProgress(), &failures));
    EXPECT_EQ(failures, 4);
    EXPECT_EQ(FolderListing(dir / "out/in"), std::vector<std::string>{"OK.S16"});
    EXPECT_EQ(FolderListing(dir / "out"), std::vector<std::string>{"in"});
    EXPECT_EQ(ui.Errors().front(),
              "[../ESCAPE.S16] is not a plain file name: the item is not written");

    DatArchive closed;
    EXPECT_FALSE(closed.UnpackAll(dir / "out/", NoProgress()));
    EXPECT_FALSE(closed.ExtractItem(0, dir / "x"));
}
