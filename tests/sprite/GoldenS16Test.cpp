#include <gtest/gtest.h>

#include "GoldenFiles.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

constexpr ColorValue kRed = MakeColor(0xF8, 0x00, 0x00);
constexpr ColorValue kGreen = MakeColor(0x00, 0xFC, 0x00);
constexpr ColorValue kBlue = MakeColor(0x00, 0x00, 0xF8);
constexpr ColorValue kWhite = MakeColor(0xF8, 0xFC, 0xF8);
constexpr ColorValue kGrey = MakeColor(0x80, 0x80, 0x80);
constexpr ColorValue kKey = s16::kKeyColor;
constexpr ColorValue kMagenta = s16::kTransparentColor;

// The decoded picture, top row first.
std::vector<std::vector<ColorValue>> Colours(const S16Image& image) {
    std::vector<std::vector<ColorValue>> rows(static_cast<std::size_t>(image.Height()));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x)
            rows[static_cast<std::size_t>(y)].push_back(image.GetColor(x, y));
    }
    return rows;
}

}  // namespace

TEST(GoldenS16, TableAndRecordsAreWhatTheScriptStates) {
    S16Image image;
    ASSERT_TRUE(image.OpenFile(GoldenPath("golden.s16")));
    EXPECT_EQ(image.IconCount(), 2);
    EXPECT_EQ(image.TableProblem(), "");
    EXPECT_EQ(image.DataAreaSize(), 14u);
    EXPECT_EQ(image.Icon(1), (S16Icon{2, 2, 1, 0, 3, 2, 0, 8, 0, 0}));
    EXPECT_EQ(image.Icon(2), (S16Icon{4, 2, 0, 1, 4, 3, 8, 6, 1, 0}));
    EXPECT_FALSE(image.Icon(1).IsRunLength());
    EXPECT_TRUE(image.Icon(2).IsRunLength());
}

TEST(GoldenS16, BothCodingsDecodeToTheStatedPixels) {
    S16Image image;
    ASSERT_TRUE(image.OpenFile(GoldenPath("golden.s16")));

    ASSERT_EQ(image.SelectIcon(1), 1);
    EXPECT_EQ(image.DecodeIcon(), 4);
    ASSERT_EQ(image.Width(), 3);
    ASSERT_EQ(image.Height(), 2);
    EXPECT_EQ(Colours(image),
              (std::vector<std::vector<ColorValue>>{{kKey, kRed, kGreen}, {kKey, kBlue, kWhite}}));

    ASSERT_EQ(image.SelectIcon(2), 2);
    EXPECT_EQ(image.DecodeIcon(), 8);
    ASSERT_EQ(image.Width(), 4);
    ASSERT_EQ(image.Height(), 3);
    // The second run carries on from the end of row 1 into row 2.
    EXPECT_EQ(Colours(image),
              (std::vector<std::vector<ColorValue>>{{kKey, kKey, kKey, kKey},
                                                    {kGrey, kGrey, kGrey, kMagenta},
                                                    {kMagenta, kMagenta, kMagenta, kMagenta}}));
}

// The encoder picks the stored area and the shorter coding by itself: coding
// the decoded icons again must give the file back byte for byte.
TEST(GoldenS16, CodingTheDecodedIconsAgainGivesTheSameFile) {
    const std::vector<std::uint8_t> golden = GoldenBytes("golden.s16");
    S16Image image;
    ASSERT_TRUE(image.OpenFile(GoldenPath("golden.s16")));
    std::vector<CodedIcon> icons;
    for (int n = 1; n <= image.IconCount(); ++n) {
        image.SelectIcon(n);
        ASSERT_GT(image.DecodeIcon(), 0) << "icon " << n;
        CodedIcon stored;
        ASSERT_TRUE(image.ReadCodedIcon(n, stored));
        CodedIcon coded;
        ASSERT_TRUE(EncodeIcon(image, "golden", coded)) << "icon " << n;
        EXPECT_EQ(coded.data, stored.data) << "icon " << n;
        icons.push_back(std::move(coded));
    }
    EXPECT_EQ(BuildS16File(icons), golden);
}
