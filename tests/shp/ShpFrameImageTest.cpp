#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "TestFiles.h"
#include "shp/ShpFrameImage.h"
#include "shp/ShpPalette.h"

namespace {

constexpr int T = 159;

// An 8-bit frame picture with the given rows of palette indexes.
void Indexed(ShpFrameImage& picture, const std::vector<std::vector<int>>& rows) {
    picture.Create(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 8, false);
    picture.Allocate();
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetIndex(x, y, static_cast<std::uint8_t>(rows[y][x]));
    }
}

Bytes Frame(ShpFrameImage& picture, ShpFrameHeader& header) {
    Bytes out;
    const std::size_t written = picture.WriteShpFrame(out, header);
    EXPECT_EQ(written, out.size());
    return out;
}

Bytes Rows(const Bytes& frame) {
    return Bytes(frame.begin() + 24, frame.end());
}

// The first coded row, its end byte included (the tests' indexes are never 0).
Bytes FirstRow(const Bytes& frame) {
    const auto end = std::find(frame.begin() + 24, frame.end(), 0);
    return Bytes(frame.begin() + 24, end + 1);
}

}  // namespace

TEST(ShpFrameImage, CodesTheSixByTwoExampleIn35BytesAndAnEmptyFrameByTheFallbacks) {
    ShpFrameImage picture;
    Indexed(picture, {{T, 5, 5, 5, 5, T}, {T, 8, T, 9, 3, T}});
    ShpFrameHeader h;
    const Bytes frame = Frame(picture, h);
    ASSERT_EQ(frame.size(), 35u);
    EXPECT_EQ(std::tuple(h.HeightMinus1, h.WidthMinus1, h.Left, h.Top, h.Right, h.Bottom),
              std::tuple(1, 5, 1, 0, 4, 1));
    EXPECT_EQ(Rows(frame),
              (Bytes{0x08, 0x05, 0x00, 0x03, 0x08, 0x01, 0x01, 0x05, 0x09, 0x03, 0x00}));

    // A frame without opaque pixels takes the fallbacks: each row is one skip
    // that runs one past Right, and the end of the row.
    Indexed(picture, {{T, T, T}, {T, T, T}, {T, T, T}});
    const Bytes empty = Frame(picture, h);
    EXPECT_EQ(std::tuple(h.Left, h.Top, h.Right, h.Bottom), std::tuple(0, 1, 3, 2));
    EXPECT_EQ(Rows(empty), (Bytes{1, 4, 0, 1, 4, 0}));
}

TEST(ShpFrameImage, CodesRowsAsRunsLiteralsAndSkips) {
    std::vector<int> gap(302, T);
    gap.front() = 3;
    gap.back() = 4;
    const struct {
        const char* what;
        std::vector<int> row;
        Bytes coded;
    } cases[] = {
        {"skip before the last opaque column", {7, T, T, 4}, {3, 7, 1, 2, 3, 4, 0}},
        {"long run", std::vector<int>(300, 42), {254, 42, 254, 42, 92, 42, 0}},
        {"long skip", gap, {3, 3, 1, 255, 1, 45, 3, 4, 0}},
        {"two equal pixels are a literal", {6, 6, 7, 8}, {9, 6, 6, 7, 8, 0}},
        {"three are a run", {6, 6, 6, 8}, {6, 6, 3, 8, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ShpFrameImage picture;
        Indexed(picture, {c.row});
        ShpFrameHeader h;
        EXPECT_EQ(FirstRow(Frame(picture, h)), c.coded);
        // Opaque pixels in row 0 only: the fallback codes row 1 as well, beyond the picture.
        EXPECT_EQ(h.Bottom, 1);
    }
}

TEST(ShpFrameImage, QuantizesTrueColourPicturesToThePalette) {
    ShpFrameImage picture;
    picture.Create(3, 1, 24, false);
    picture.Allocate();
    picture.SetColor(0, 0, MakeColor(255, 255, 255));
    picture.SetColor(1, 0, MakeColor(248, 220, 220));
    picture.SetColor(2, 0, MakeColor(0, 0, 0));
    ASSERT_TRUE(picture.QuantizeToShpPalette());
    EXPECT_EQ(picture.BitsPerPixel(), 8);
    EXPECT_EQ(picture.GetIndex(0, 0), 255);
    EXPECT_EQ(picture.GetIndex(1, 0), 159);
    EXPECT_EQ(picture.GetIndex(2, 0), 0);
    EXPECT_EQ(picture.GetColor(0, 0), MakeColor(0xFC, 0x7C, 0x7C));
}
