#include <gtest/gtest.h>

#include "GoldenFiles.h"
#include "shp/ShpFrameImage.h"
#include "shp/ShpImage.h"

namespace {

constexpr int T = shp::kTransparentIndex;
using Grid = std::vector<std::vector<int>>;

Grid Indexes(const PixelBuffer24& picture) {
    Grid rows(static_cast<std::size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x)
            rows[static_cast<std::size_t>(y)].push_back(picture.GetIndex(x, y));
    }
    return rows;
}

struct ExpectedFrame {
    std::uint32_t offset;
    std::size_t bytes;
    ShpFrameHeader header;
    int produced;
    Grid pixels;
};

const ExpectedFrame kFrames[] = {
    {24, 34, ShpFrameHeader{2, 3, 0, 1, 1, 3, 2}, 6, {{T, T, T, T}, {T, 7, 7, 7}, {T, 9, T, 10}}},
    {58, 31, ShpFrameHeader{1, 1, 0, 0, 0, 1, 1}, 3, {{4, T}, {4, 4}}},
};

bool SameHeader(const ShpFrameHeader& a, const ShpFrameHeader& b) {
    return a.HeightMinus1 == b.HeightMinus1 && a.WidthMinus1 == b.WidthMinus1 &&
           a.Reserved == b.Reserved && a.Left == b.Left && a.Top == b.Top && a.Right == b.Right &&
           a.Bottom == b.Bottom;
}

}  // namespace

TEST(GoldenShp, FramesAreWhatTheScriptStates) {
    ShpImage image;
    ASSERT_TRUE(image.Open(GoldenPath("golden.shp")));
    ASSERT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(image.TableProblem(), "");
    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        const ExpectedFrame& expected = kFrames[n - 1];
        ASSERT_EQ(image.SelectFrame(n), n);
        EXPECT_TRUE(SameHeader(image.CurrentHeader(), expected.header));
        // Runs, literals and skips all count as pixels produced.
        EXPECT_EQ(image.DecodeFrame(), expected.produced);
        EXPECT_EQ(Indexes(image), expected.pixels);
    }
}

// The frame coder is deterministic: coding the decoded frames again gives
// the golden frames, and with the table the whole file.
TEST(GoldenShp, CodingTheDecodedFramesAgainGivesTheSameFile) {
    const std::vector<std::uint8_t> golden = GoldenBytes("golden.shp");
    ASSERT_EQ(golden.size(), 89u);
    ShpImage image;
    ASSERT_TRUE(image.Open(GoldenPath("golden.shp")));
    std::vector<std::uint8_t> file = {'1', '.', '1', '0', 2, 0, 0, 0};
    std::vector<std::uint8_t> frames;
    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        const ExpectedFrame& expected = kFrames[n - 1];
        image.SelectFrame(n);
        ASSERT_GT(image.DecodeFrame(), 0);
        ShpFrameImage picture;
        picture.Create(image.Width(), image.Height(), 8, false);
        ASSERT_TRUE(picture.Allocate());
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x)
                picture.SetIndex(x, y, image.GetIndex(x, y));
        }
        std::vector<std::uint8_t> frame;
        ShpFrameHeader header;
        EXPECT_EQ(picture.WriteShpFrame(frame, header), expected.bytes);
        EXPECT_TRUE(SameHeader(header, expected.header));
        EXPECT_EQ(frame,
                  std::vector<std::uint8_t>(golden.begin() + expected.offset,
                                            golden.begin() + expected.offset +
                                                static_cast<std::ptrdiff_t>(expected.bytes)));
        for (int shift = 0; shift < 32; shift += 8)
            file.push_back(static_cast<std::uint8_t>(expected.offset >> shift));
        file.insert(file.end(), 4, 0);
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    file.insert(file.end(), frames.begin(), frames.end());
    EXPECT_EQ(file, golden);
}
