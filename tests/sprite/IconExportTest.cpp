#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "S16Files.h"
#include "sprite/IconExport.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

TEST(IconExport, SavesEveryIconUnderItsNumberAndCountsThoseNotSaved) {
    FakeUserInterface ui;
    TempDir dir;
    WriteFileBytes(dir / "set.s16",
                   CodedS16(3, 4, 2, [](int icon, int, int) { return MakeColor(8 * icon, 0, 0); }));
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "set.s16"));
    image.SelectIcon(2);
    EXPECT_EQ(SaveAllIconsAsBmp(image, dir / "out.bmp"), 0);
    EXPECT_EQ(image.CurrentIconNumber(), 2);
    EXPECT_EQ(ui.LastText(), "Done, All 3 icons saved as BMP");
    for (int k = 1; k <= 3; ++k) {
        PixelBuffer24 saved;
        ASSERT_TRUE(saved.Load(IconBitmapPath(dir / "out.bmp", k)));
        EXPECT_EQ(saved.GetColor(3, 1), MakeColor(8 * k, 0, 0));
    }
    EXPECT_EQ(IconBitmapPath("/x/unit.s16", 7), "/x/unit_007.bmp");

    // Icons that cannot be decoded or written are counted.
    const Bytes run = RunData({{1, 0xF800}});
    WriteFileBytes(
        dir / "bad.s16",
        S16Bytes({Record(1, 1, 0, 0, 1, 1, 0, 3, 1), Record(1, 1, 0, 0, 0, 1, 0, 3, 1)}, run));
    ASSERT_TRUE(image.OpenFile(dir / "bad.s16"));
    EXPECT_EQ(SaveAllIconsAsBmp(image, dir / "out.bmp"), 1);
    EXPECT_EQ(ui.LastText(), "Error: 1 / 2 icons were not saved as BMP\n");
    EXPECT_EQ(SaveAllIconsAsBmp(image, dir / "no/such/out.bmp"), 2);

    S16Image nothingDecoded;
    EXPECT_FALSE(SaveIconAsBmp(nothingDecoded, dir / "x.bmp"));
    EXPECT_FALSE(FileExists(dir / "x.bmp"));
}
