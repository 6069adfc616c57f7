#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "S16Files.h"
#include "ShpFiles.h"
#include "shp/ShpConversion.h"
#include "shp/ShpPalette.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"
#include "support/Progress.h"

namespace {

// Rows of a w-wide frame given as index rows (159 = transparent), coded as literals and skips.
Bytes CodedRows(const std::vector<std::vector<int>>& rows) {
    Bytes out;
    for (const auto& row : rows) {
        for (int v : row) {
            if (v == 159) {
                out.insert(out.end(), {1, 1});
            } else {
                out.insert(out.end(), {3, static_cast<std::uint8_t>(v)});
            }
        }
        out.push_back(0);
    }
    return out;
}

ShpFrameSpec FrameOf(const std::vector<std::vector<int>>& rows) {
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    return {FrameHeader(w, h, 0, 0, w - 1, h - 1), CodedRows(rows)};
}

class ShpConversionTest : public ::testing::Test {
protected:
    // Converts one SHP file of `frames` and opens the result.
    S16Image& Convert(const std::vector<ShpFrameSpec>& frames) {
        WriteFileBytes(dir / "in.shp", ShpBytes(frames));
        EXPECT_TRUE(ConvertShpToS16(dir / "in.shp", dir / "out.s16"));
        // The window's preview takes the same bytes without writing a file.
        std::vector<std::uint8_t> preview;
        EXPECT_TRUE(ShpToS16Bytes(dir / "in.shp", preview));
        EXPECT_EQ(preview, ReadFileBytes(dir / "out.s16"));
        EXPECT_TRUE(image.OpenFile(dir / "out.s16"));
        return image;
    }

    FakeUserInterface ui;
    TempDir dir;
    S16Image image;
};

}  // namespace

TEST_F(ShpConversionTest, StoresTheRectangleOfOpaquePixels) {
    std::vector<std::vector<int>> rows(8, std::vector<int>(10, 159));
    for (int y = 1; y <= 3; ++y) {
        for (int x = 2; x <= 5; ++x)
            rows[y][x] = 40 + x;
    }
    Convert({FrameOf(rows)});
    EXPECT_EQ(image.Icon(1), Record(4, 3, 2, 1, 10, 8, 0, 24, 0));
    ASSERT_EQ(image.DecodeIcon(), 12);
    EXPECT_EQ(image.GetColor(3, 2), s16::ToColor(ShpColourWord(43)));
    EXPECT_EQ(image.GetColor(0, 0), s16::kKeyColor);
}

TEST_F(ShpConversionTest, ChoosesRunsOnlyWhenShorter) {
    const struct {
        std::vector<std::vector<int>> rows;
        int compress, bytes;
    } cases[] = {
        {{{7, 7, 7, 7}, {7, 7, 7, 7}, {7, 7, 7, 7}}, 1, 3},
        {{{7, 8}}, 0, 4},
        {{{7, 7, 8}}, 0, 6},  // 6 bytes either way: raw
    };
    for (const auto& c : cases) {
        Convert({FrameOf(c.rows)});
        EXPECT_EQ(image.Icon(1).Compress, c.compress) << c.bytes;
        EXPECT_EQ(image.Icon(1).Bytes, c.bytes);
    }
}

TEST_F(ShpConversionTest, SplitsLongRunsAndStoresATransparentFrameWhole) {
    Convert({{FrameHeader(300, 1, 0, 0, 299, 0), {254, 9, 254, 9, 92, 9, 0}}});
    CodedIcon coded;
    ASSERT_TRUE(image.ReadCodedIcon(1, coded));
    const std::uint16_t word = ShpColourWord(9);
    const auto lo = static_cast<std::uint8_t>(word), hi = static_cast<std::uint8_t>(word >> 8);
    EXPECT_EQ(coded.data, (Bytes{255, lo, hi, 45, lo, hi}));

    Convert({FrameOf({{159, 159, 159}, {159, 159, 159}})});
    EXPECT_EQ(image.Icon(1), Record(3, 2, 0, 0, 3, 2, 0, 3, 1));
    ASSERT_TRUE(image.ReadCodedIcon(1, coded));
    EXPECT_EQ(coded.data, (Bytes{6, 0x1F, 0xF8}));
    ASSERT_EQ(image.DecodeIcon(), 6);
    EXPECT_EQ(image.GetColor(2, 1), s16::kTransparentColor);
}

TEST_F(ShpConversionTest, LaysOutTheIconsBackToBack) {
    // Frames whose codings take 30, 3 and 12 bytes.
    std::vector<int> noisy(15);
    for (int i = 0; i < 15; ++i)
        noisy[static_cast<std::size_t>(i)] = i;
    Convert({FrameOf({noisy}), FrameOf({{5, 5, 5, 5}}), FrameOf({{1, 2, 3}, {4, 5, 6}})});
    ASSERT_EQ(image.IconCount(), 3);
    for (const auto& [k, starts, bytes] : {std::tuple(1, 0, 30), {2, 30, 3}, {3, 33, 12}}) {
        EXPECT_EQ(image.Icon(k).Starts, starts) << k;
        EXPECT_EQ(image.Icon(k).Bytes, bytes) << k;
    }
    EXPECT_EQ(ReadFileBytes(dir / "out.s16").size(), 124u + 45);
}

TEST_F(ShpConversionTest, FailsWithoutWritingAnything) {
    const std::pair<const char*, Bytes> inputs[] = {
        {"none", ShpBytes({})},
        {"big", ShpBytes({{FrameHeader(641, 481, 0, 0, 0, 0), {0}}})},
        {"empty", ShpBytes({{FrameHeader(0, 4, 0, 0, 0, 0), {0}}})},
        // Rows that fit the working buffer but make an icon wider than an icon may be.
        {"wide", ShpBytes({{FrameHeader(1000, 2, 0, 0, 0, 0), {0}}})},
    };
    for (const auto& [name, bytes] : inputs) {
        WriteFileBytes(dir / (std::string(name) + ".shp"), bytes);
        EXPECT_FALSE(ConvertShpToS16(dir / (std::string(name) + ".shp"), dir / "out.s16")) << name;
    }
    EXPECT_FALSE(ConvertShpToS16(dir / "missing.shp", dir / "missing.s16"));
    EXPECT_EQ(FolderListing(dir.Path()),
              (std::vector<std::string>{"big.shp", "empty.shp", "none.shp", "wide.shp"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ShpConversionTest, BatchesListOnlyNewFilesAndReportFailures) {
    WriteFileBytes(dir / "shp/a.shp", ShpBytes({FrameOf({{1, 2}})}));
    WriteFileBytes(dir / "shp/b.shp", ShpBytes({FrameOf({{3, 4}})}));
    WriteFileBytes(dir / "shp/c.SHP", Bytes{1, 2, 3});
    WriteFileBytes(dir / "s16/A.S16", Bytes{0, 0, 0, 0});
    const std::string shpFolder = dir / "shp/", s16Folder = dir / "s16/";
    EXPECT_EQ(ListShpFiles(shpFolder, s16Folder, true),
              (std::vector<std::string>{"b.shp", "c.SHP"}));
    EXPECT_EQ(ListShpFiles(shpFolder, s16Folder, false),
              (std::vector<std::string>{"a.shp", "b.shp", "c.SHP"}));

    std::vector<std::string> announced;
    const ShpBatchResult result =
        ConvertShpFiles(shpFolder, {"a.shp", "b.shp"}, s16Folder, NoProgress(),
                        [&](const std::string& path) { announced.push_back(path); });
    EXPECT_EQ(result.converted, 2);
    EXPECT_EQ(announced, (std::vector<std::string>{s16Folder + "a.s16", s16Folder + "b.s16"}));
    EXPECT_TRUE(ListShpFiles(shpFolder, s16Folder, true) == std::vector<std::string>{"c.SHP"});
    TellShpBatch(result, s16Folder);
    EXPECT_EQ(ui.LastText(), "\nConverted 2 files  \nto folder: \n\t" + s16Folder + "\n ");

    const ShpBatchResult failed = ConvertShpFiles(shpFolder, {"c.SHP"}, s16Folder, NoProgress());
    EXPECT_EQ(failed.converted, 0);
    TellShpBatch(failed, s16Folder);
    EXPECT_EQ(ui.LastText(), "1 SHP files could not be converted:\nc.SHP");
}

TEST_F(ShpConversionTest, FramesAtOneOffsetShareOneIcon) {
    // Two thousand entries of one 100 x 100 frame of literals: about 26 KB,
    // which coded once per entry would make 40 MB.
    std::vector<std::vector<int>> rows(100, std::vector<int>(100));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x)
            rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = (x * 7 + y) % 150;
    }
    const ShpFrameSpec frame = FrameOf(rows);
    Bytes shp{'1', '.', '1', '0'};
    const std::uint32_t count = 2000;
    PutU32(shp, count);
    for (std::uint32_t i = 0; i < count; ++i) {
        PutU32(shp, 8 + 8 * count);
        PutU32(shp, 0);
    }
    frame.header.AppendTo(shp);
    shp.insert(shp.end(), frame.rows.begin(), frame.rows.end());
    WriteFileBytes(dir / "shared.shp", shp);
    ASSERT_TRUE(ConvertShpToS16(dir / "shared.shp", dir / "shared.s16"));
    EXPECT_LT(ReadFileBytes(dir / "shared.s16").size(), 4 * shp.size());
    ASSERT_TRUE(image.OpenFile(dir / "shared.s16"));
    ASSERT_EQ(image.IconCount(), 2000);
    EXPECT_EQ(image.Icon(2000), image.Icon(1));
    image.SelectIcon(1999);
    ASSERT_EQ(image.DecodeIcon(), 100 * 100);
    EXPECT_EQ(image.TableProblem(), "");
}
