#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "FakeUserInterface.h"
#include "S16Files.h"
#include "sprite/S16Builder.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

// A sheet whose cell (column, row) of w x h is painted in colour 8 * (cell + 1).
ColorValue CellColour(int x, int y, int w, int h, int columns) {
    const int cell = (y / h) * columns + x / w;
    return MakeColor(8 * (cell + 1), 0, 0);
}

class S16BuilderTest : public ::testing::Test {
protected:
    std::string folder() const { return dir.Path(); }

    FakeUserInterface ui;
    TempDir dir;
};

}  // namespace

TEST_F(S16BuilderTest, ClonedFilesHoldNineCopiesThatDifferOnlyInStarts) {
    WriteFileBytes(dir / "tree.bmp",
                   Bmp24(7, 5, [](int x, int y) { return MakeColor(8 * x, 8 * y, 0); }));
    const BuildCounts counts = MakeClonedS16(folder(), {"tree.bmp"});
    EXPECT_EQ(counts.created, 1);
    EXPECT_EQ(ui.LastText(), "\nDone !\n1 files created all with 9 icons\n");
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "tree.s16"));
    ASSERT_EQ(image.IconCount(), 9);
    const int length = image.Icon(1).Bytes;
    for (int k = 1; k <= 9; ++k) {
        S16Icon expected = image.Icon(1);
        expected.Starts = (k - 1) * length;
        EXPECT_EQ(image.Icon(k), expected);
    }
    EXPECT_EQ(ReadFileBytes(dir / "tree.s16").size(),
              4u + 9 * 40 + 9 * static_cast<std::size_t>(length));
}

TEST_F(S16BuilderTest, ABitmapThatCannotBeLoadedIsCountedAsFailed) {
    WriteFileBytes(dir / "a.bmp", Bmp24(3, 3, [](int, int) { return 0u; }));
    WriteFileBytes(dir / "b.bmp", Bytes{'n', 'o', 't'});
    WriteFileBytes(dir / "c.bmp", Bmp24(3, 3, [](int, int) { return 0u; }));
    const BuildCounts counts = MakeClonedS16(folder(), {"a.bmp", "b.bmp", "c.bmp"});
    EXPECT_EQ(counts.created, 2);
    EXPECT_EQ(counts.failed, 1);
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Invalid BMP FileHeader size in " + (dir / "b.bmp"),
                                        "\n2 files created\n1 files could not be created\n"}));
    EXPECT_FALSE(FileExists(dir / "b.s16"));
}

TEST_F(S16BuilderTest, CutsSheetsRowByRowIgnoringTheRemainder) {
    // 3 x 3 cells of 32 x 20 with a green remainder, then 9 x 1 cells of 32 x 40.
    WriteFileBytes(dir / "sheet.bmp", Bmp24(98, 62, [](int x, int y) {
                       return x >= 96 || y >= 60 ? MakeColor(0, 252, 0)
                                                 : CellColour(x, y, 32, 20, 3);
                   }));
    for (const char* name : {"row1.bmp", "row2.bmp"}) {
        WriteFileBytes(dir / name,
                       Bmp24(288, 40, [](int x, int y) { return CellColour(x, y, 32, 40, 9); }));
    }
    EXPECT_EQ(MakeS16FromSheet(folder(), {"sheet.bmp"}, true).created, 1);
    EXPECT_EQ(MakeS16FromSheet(folder(), {"row1.bmp", "row2.bmp"}, false).created, 2);
    for (const char* name : {"sheet.s16", "row1.s16", "row2.s16"}) {
        SCOPED_TRACE(name);
        S16Image image;
        ASSERT_TRUE(image.OpenFile(dir / name));
        ASSERT_EQ(image.IconCount(), 9);
        EXPECT_EQ(image.Icon(1).Starts, 0);
        const int height = name[0] == 's' ? 20 : 40;
        for (int k = 1; k <= 9; ++k) {
            image.SelectIcon(k);
            ASSERT_GT(image.DecodeIcon(), 0);
            EXPECT_EQ(image.Width(), 32);
            EXPECT_EQ(image.Height(), height);
            EXPECT_EQ(image.GetColor(31, height - 1), MakeColor(8 * k, 0, 0)) << k;
        }
    }
}

TEST_F(S16BuilderTest, EightBitSheetsKeepTheirColourTableAndTinySheetsFail) {
    Bytes palette(1024, 0);
    palette[4 * 159 + 1] = 255;  // green is the key colour
    palette[4 * 3 + 2] = 248;
    WriteFileBytes(dir / "pal.bmp", Bmp8(9, 3, palette, [](int x, int y) {
                       return x % 3 == 1 && y == 1 ? 3 : 159;
                   }));
    WriteFileBytes(dir / "tiny.bmp", Bmp24(8, 3, [](int, int) { return 0u; }));
    const BuildCounts counts = MakeS16FromSheet(folder(), {"pal.bmp", "tiny.bmp"}, false);
    EXPECT_EQ(counts.created, 1);
    EXPECT_EQ(counts.failed, 1);
    // The count alone would not say which bitmap failed, nor why.
    EXPECT_EQ(ui.Errors().front(),
              dir / "tiny.bmp" + " is 8 x 3; a 9 x 1 sheet needs at least 9 x 1 pixels");
    EXPECT_FALSE(FileExists(dir / "tiny.s16"));
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "pal.s16"));
    // Cell 1 of 9 x 1 is column 0 of 9: all key colour, stored whole as the magenta word.
    image.SelectIcon(1);
    EXPECT_EQ(image.Icon(1).Width, 1);
    ASSERT_GT(image.DecodeIcon(), 0);
    EXPECT_EQ(image.GetColor(0, 0), s16::kTransparentColor);
    image.SelectIcon(2);
    EXPECT_EQ(image.Icon(2).StartY, 1);
    EXPECT_EQ(image.Icon(2).Height, 1);
    image.DecodeIcon();
    EXPECT_EQ(image.GetColor(0, 1), MakeColor(248, 0, 0));
}

TEST_F(S16BuilderTest, ListsBecomeOneFileInListOrderWithAZeroRecordForAMissingBitmap) {
    WriteFileBytes(dir / "tree.bmp", Bmp24(4, 4, [](int, int) { return MakeColor(0, 252, 0); }));
    WriteFileBytes(dir / "rock.bmp",
                   Bmp24(6, 2, [](int x, int) { return MakeColor(8 * x, 0, 0); }));
    const std::vector<std::string> entries{IconListEntry(1, "tree"), IconListEntry(2, "b"),
                                           IconListEntry(3, "rock")};
    EXPECT_EQ(entries[0], "#001 : tree");
    ASSERT_TRUE(MakeS16FromList(folder(), entries, dir / "list.s16"));
    EXPECT_EQ(ui.Texts().front(), dir / "b.bmp not found");
    EXPECT_EQ(ui.LastText(), "\n " + (dir / "list.s16") + " was created \n");
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "list.s16"));
    ASSERT_EQ(image.IconCount(), 3);
    EXPECT_EQ(image.Icon(2), S16Icon{});
    EXPECT_EQ(image.Icon(3).Starts, image.Icon(1).Bytes);
    EXPECT_EQ(image.Icon(3).TWidth, 6);
    image.SelectIcon(2);
    EXPECT_EQ(image.DecodeIcon(), 0);
    image.SelectIcon(3);
    EXPECT_EQ(image.DecodeIcon(), 12);
}

TEST(IconListNames, BmpShowsItsBaseNameAndPngItsWholeName) {
    EXPECT_EQ(IconListName("tree.bmp"), "tree");
    EXPECT_EQ(IconListName("tree.BMP"), "tree");
    EXPECT_EQ(IconListName("tree.png"), "tree.png");
    EXPECT_EQ(IconListName("odd.png.bmp"), "odd.png.bmp");  // a base name that reads as a PNG
    EXPECT_EQ(IconListPicturePath("/f/", "tree"), "/f/tree.bmp");
    EXPECT_EQ(IconListPicturePath("/f/", "tree.PNG"), "/f/tree.PNG");
    EXPECT_EQ(IconListPicturePath("/f/", "odd.png.bmp"), "/f/odd.png.bmp");
    for (const char* name : {"tree.bmp", "tree.png", "odd.png.bmp"})
        EXPECT_EQ(IconListPicturePath("/f/", IconListName(name)), std::string("/f/") + name);
    EXPECT_TRUE(IsPictureFileName("a.Png"));
    EXPECT_FALSE(IsPictureFileName("a.gif"));
}
