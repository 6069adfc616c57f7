#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "S16Files.h"
#include "shp/ShpConversion.h"
#include "shp/ShpExport.h"
#include "shp/ShpFrameImage.h"
#include "shp/ShpImage.h"
#include "shp/ShpPalette.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

ColorValue IconColour(int icon, int x, int y) {
    if (x < 2 || y < 1) return s16::kKeyColor;
    return MakeColor((37 * icon + 11 * x) & 0xFF, (53 * y) & 0xFF, (x * y * 7) & 0xFF);
}

}  // namespace

TEST(ShpExport, WritesOneFrameAnIconThatConvertBackToTheNearestPaletteColours) {
    FakeUserInterface ui;
    TempDir dir;
    WriteFileBytes(dir / "unit.s16", CodedS16(3, 9, 6, IconColour));
    S16Image set;
    ASSERT_TRUE(set.OpenFile(dir / "unit.s16"));
    set.SelectIcon(2);
    EXPECT_FALSE(ExportIconSetAsShp(set, dir / "out/unit.shp"));  // no such folder
    ASSERT_TRUE(ExportIconSetAsShpAndTell(set, dir / "unit.shp"));
    EXPECT_EQ(ui.LastText(), "\n   " + (dir / "unit.shp") + "\n  succesfuly created  \n");
    EXPECT_EQ(set.CurrentIconNumber(), 2);
    EXPECT_EQ(FolderListing(dir.Path()), (std::vector<std::string>{"unit.s16", "unit.shp"}));
    const Bytes shp = ReadFileBytes(dir / "unit.shp");
    EXPECT_EQ(Bytes(shp.begin(), shp.begin() + 4), (Bytes{'1', '.', '1', '0'}));
    EXPECT_EQ(GetU32(shp, 4), 3u);
    EXPECT_EQ(GetU32(shp, 8), 32u);
    EXPECT_EQ(GetU32(shp, 12), 0u);

    // Back to S16, every opaque pixel has the nearest palette colour.
    ASSERT_TRUE(ConvertShpToS16(dir / "unit.shp", dir / "back.s16"));
    S16Image back;
    ASSERT_TRUE(back.OpenFile(dir / "back.s16"));
    ASSERT_EQ(back.IconCount(), 3);
    for (int k = 1; k <= 3; ++k) {
        set.SelectIcon(k);
        back.SelectIcon(k);
        ASSERT_GT(set.DecodeIcon(), 0);
        ASSERT_GT(back.DecodeIcon(), 0);
        ASSERT_EQ(back.Width(), set.Width());
        ASSERT_EQ(back.Height(), set.Height());
        for (int y = 0; y < set.Height(); ++y) {
            for (int x = 0; x < set.Width(); ++x) {
                const ColorValue c = set.GetColor(x, y);
                if (c == s16::kKeyColor) continue;
                const int index = NearestShpColour(RedOf(c), GreenOf(c), BlueOf(c));
                if (index == 159) continue;
                ASSERT_EQ(back.GetColor(x, y), s16::ToColor(ShpColourWord(index)))
                    << k << ": " << x << "," << y;
            }
        }
    }
}

TEST(ShpExport, AnIconThatCannotBeDecodedFailsTheExport) {
    FakeUserInterface ui;
    TempDir dir;
    std::vector<S16Icon> records{Record(1, 1, 0, 0, 2, 2, 0, 2, 0),
                                 Record(1, 1, 0, 0, 900, 2, 2, 2, 0)};
    WriteFileBytes(dir / "bad.s16", S16Bytes(records, RawData({0xF800, 0x07E0})));
    S16Image set;
    ASSERT_TRUE(set.OpenFile(dir / "bad.s16"));
    EXPECT_FALSE(ExportIconSetAsShpAndTell(set, dir / "bad.shp"));
    EXPECT_EQ(ui.LastText(), "\n   Error on conversion   \n");
    EXPECT_FALSE(FileExists(dir / "bad.shp"));
    S16Image empty;
    EXPECT_FALSE(ExportIconSetAsShp(empty, dir / "empty.shp"));
}

TEST(ShpExport, IconsSharingTheirDataBecomeOneFrameAndOtherOverlapsAreRefused) {
    FakeUserInterface ui;
    TempDir dir;
    // A thousand equal records over one 20 x 50 raw picture: one frame, a thousand entries.
    std::vector<std::uint16_t> words(1000);
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<std::uint16_t>(i * 4099);
    const Bytes shared = S16Bytes(
        std::vector<S16Icon>(1000, Record(20, 50, 0, 0, 20, 50, 0, 2000, 0)), RawData(words));
    WriteFileBytes(dir / "shared.s16", shared);
    S16Image set;
    ASSERT_TRUE(set.OpenFile(dir / "shared.s16"));
    ASSERT_TRUE(ExportIconSetAsShp(set, dir / "shared.shp"));
    EXPECT_LT(ReadFileBytes(dir / "shared.shp").size(), 8 + 8 * 1000 + 24 + 2 * 1000 + 50 * 8);
    ShpImage frames;
    ASSERT_TRUE(frames.Open(dir / "shared.shp"));
    ASSERT_EQ(frames.FrameCount(), 1000);
    frames.SelectFrame(1);
    const int pixels = frames.DecodeFrame();
    EXPECT_GT(pixels, 900);
    frames.SelectFrame(1000);
    EXPECT_EQ(frames.DecodeFrame(), pixels);
    EXPECT_EQ(frames.TableProblem(), "");

    // The same data under another record would be coded again: refused.
    std::vector<S16Icon> records(3, Record(20, 50, 0, 0, 20, 50, 0, 2000, 0));
    records[2].StartX = 1;
    WriteFileBytes(dir / "other.s16", S16Bytes(records, RawData(words)));
    ASSERT_TRUE(set.OpenFile(dir / "other.s16"));
    EXPECT_FALSE(ExportIconSetAsShp(set, dir / "other.shp"));
    EXPECT_EQ(ui.LastText(), "Icons 1 and 3 of [" + (dir / "other.s16") + "] overlap in the file");
    EXPECT_FALSE(FileExists(dir / "other.shp"));
}
