#include <gtest/gtest.h>

#include "ShpFiles.h"
#include "bitmap/RasterSurface.h"
#include "shp/ShpConversion.h"
#include "shp/ShpImage.h"
#include "shp/ShpPalette.h"

namespace {

class ShpImageTest : public ::testing::Test {
protected:
    ShpImage& Open(const Bytes& bytes) {
        EXPECT_TRUE(image.OpenBytes(bytes, "f.shp"));
        return image;
    }

    TempDir dir;
    ShpImage image;
};

ShpFrameSpec Square(int size, int index) {
    Bytes rows;
    for (int y = 0; y < size; ++y)
        rows.insert(rows.end(),
                    {static_cast<std::uint8_t>(2 * size), static_cast<std::uint8_t>(index), 0});
    return {FrameHeader(size, size, 0, 0, size - 1, size - 1), rows};
}

}  // namespace

TEST_F(ShpImageTest, DecodesRunsLiteralsAndSkips) {
    Open(ShpBytes({{FrameHeader(6, 2, 1, 0, 4, 1),
                    {0x08, 0x05, 0x00, 0x03, 0x08, 0x01, 0x01, 0x05, 0x09, 0x03, 0x00}}}));
    EXPECT_EQ(image.DecodeFrame(), 4 + 1 + 1 + 2);
    EXPECT_EQ(image.Width(), 6);
    const int expected[2][6] = {{159, 5, 5, 5, 5, 159}, {159, 8, 159, 9, 3, 159}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(image.GetIndex(x, y), expected[y][x]) << x << "," << y;
    }
    EXPECT_EQ(image.GetColor(1, 0), MakeColor(kShpPalette[15], kShpPalette[16], kShpPalette[17]));
}

TEST_F(ShpImageTest, AnEmptySkipPlacesNothingAndANegativeTopStartsAtRowZero) {
    Open(ShpBytes({{FrameHeader(4, 4, 0, 0, 3, 0), {0x01, 0x00, 0x04, 0x07, 0x00}}}));
    EXPECT_EQ(image.DecodeFrame(), 2);
    EXPECT_EQ(image.GetIndex(0, 0), 7);
    EXPECT_EQ(image.GetIndex(2, 0), 159);

    Bytes rows;
    for (int k = 0; k < 16; ++k)
        rows.insert(rows.end(), {0x02, static_cast<std::uint8_t>(k), 0x00});
    Open(ShpBytes({{FrameHeader(2, 20, 0, -5, 1, 10), rows}}));
    EXPECT_EQ(image.DecodeFrame(), 16);
    EXPECT_EQ(image.CurrentHeader().Top, 0);
    EXPECT_EQ(image.GetIndex(0, 0), 0);
    EXPECT_EQ(image.GetIndex(0, 15), 15);
    EXPECT_EQ(image.GetIndex(0, 16), 159);
}

TEST_F(ShpImageTest, RefusesFramesOutsideTwoTo640By480) {
    Open(ShpBytes({{FrameHeader(1, 5, 0, 0, 0, 0), {0}},
                   {FrameHeader(641, 5, 0, 0, 0, 0), {0}},
                   {FrameHeader(640, 480, 0, 0, 0, 0), {0}},
                   {FrameHeader(5, 1, 0, 0, 0, 0), {0}}}));
    for (int frame : {1, 2, 4}) {
        image.SelectFrame(frame);
        EXPECT_EQ(image.DecodeFrame(), 0) << frame;
    }
    image.SelectFrame(3);
    EXPECT_EQ(image.DecodeFrame(), 0);  // nothing coded, but accepted
    EXPECT_EQ(image.Width(), 640);
    EXPECT_EQ(image.SelectFrame(0), 1);
    EXPECT_EQ(image.SelectFrame(9), 4);
}

TEST_F(ShpImageTest, ATruncatedFrameEndsTransparent) {
    Bytes bytes = ShpBytes(
        {{FrameHeader(4, 3, 0, 0, 3, 2), {0x04, 0x09, 0x00, 0x08, 0x0A, 0x00, 0x08, 0x0B, 0x00}}});
    bytes.resize(bytes.size() - 5);
    Open(bytes);
    EXPECT_GT(image.DecodeFrame(), 0);
    EXPECT_EQ(image.GetIndex(0, 0), 9);
    EXPECT_EQ(image.GetIndex(3, 1), 159);
    EXPECT_EQ(image.GetIndex(0, 2), 159);

    Bytes huge = ShpBytes({Square(4, 3)});
    huge[4] = 0xFF;
    huge[5] = 0xFF;  // 65535 frames: the table is cut to the 5 entries the file can hold
    Open(huge);
    EXPECT_EQ(image.FrameCount(), 5);
    EXPECT_FALSE(image.Open(dir / "missing.shp"));
    EXPECT_EQ(image.FrameCount(), 0);
    EXPECT_EQ(image.DecodeFrame(), 0);
}

TEST_F(ShpImageTest, AFileReadsAndConvertsAsItsBytesDo) {
    const Bytes bytes = ShpBytes({Square(4, 3), Square(6, 7)});
    WriteFileBytes(dir / "f.shp", bytes);
    ShpImage fromFile;
    ASSERT_TRUE(fromFile.Open(dir / "f.shp"));
    Open(bytes);
    ASSERT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(fromFile.FrameCount(), 2);
    fromFile.SelectFrame(2);
    image.SelectFrame(2);
    ASSERT_EQ(fromFile.DecodeFrame(), image.DecodeFrame());
    EXPECT_EQ(image.GetIndex(5, 5), 7);

    std::vector<std::uint8_t> viaFile, viaBytes;
    ASSERT_TRUE(ShpToS16Bytes(dir / "f.shp", viaFile));
    ASSERT_TRUE(ShpBytesToS16(bytes, "f.shp", viaBytes));
    EXPECT_EQ(viaFile, viaBytes);
    // No frames, or a header cut short, converts to nothing.
    EXPECT_FALSE(ShpBytesToS16(ShpBytes({}), "none.shp", viaBytes));
    EXPECT_FALSE(ShpBytesToS16(Bytes(5, 0), "cut.shp", viaBytes));
}

TEST_F(ShpImageTest, LaysOutNineFramesThreeByThreeAndPages) {
    std::vector<ShpFrameSpec> frames;
    for (int k = 0; k < 9; ++k)
        frames.push_back(Square(20, k + 1));
    Open(ShpBytes(frames));
    RasterSurface surface(300, 200);
    bool noMore = false;
    EXPECT_EQ(image.DrawPage(&surface, Rect{0, 0, 300, 200}, 1, noMore), 9);
    EXPECT_TRUE(noMore);
    EXPECT_EQ(surface.ColorAt(0, 0), MakeColor(162, 220, 220));
    const auto colour = [](int index) {
        return MakeColor(kShpPalette[3 * index], kShpPalette[3 * index + 1],
                         kShpPalette[3 * index + 2]);
    };
    EXPECT_EQ(surface.ColorAt(1, 1), colour(1));
    EXPECT_EQ(surface.ColorAt(22, 1), colour(2));
    EXPECT_EQ(surface.ColorAt(64, 1), MakeColor(162, 220, 220));  // no fourth frame in the row
    EXPECT_EQ(surface.ColorAt(1, 22), colour(4));

    RasterSurface small(70, 30);
    EXPECT_EQ(image.DrawPage(&small, Rect{0, 0, 70, 30}, 1, noMore), 3);
    EXPECT_FALSE(noMore);
    EXPECT_EQ(image.DrawPage(&small, Rect{0, 0, 70, 30}, 7, noMore), 3);
    EXPECT_TRUE(noMore);
}
