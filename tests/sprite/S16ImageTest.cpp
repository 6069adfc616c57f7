#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "S16Files.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kBlue = 0x001F;

class S16ImageTest : public ::testing::Test {
protected:
    S16Image& Open(const Bytes& bytes) {
        image.OpenBytes(bytes, "icon.s16");
        return image;
    }

    TempDir dir;
    S16Image image;
};

}  // namespace

TEST_F(S16ImageTest, ReadsTheTableAndClampsSelection) {
    const Bytes data = RawData({kRed, kBlue, kRed});
    Open(S16Bytes({Record(1, 1, 0, 0, 2, 2, 0, 2, 0), Record(1, 1, 1, 1, 2, 2, 2, 2, 0),
                   Record(1, 1, 0, 1, 2, 2, 4, 2, 0)},
                  data));
    EXPECT_EQ(image.IconCount(), 3);
    EXPECT_EQ(image.CurrentIconNumber(), 1);
    EXPECT_EQ(image.SelectIcon(0), 1);
    EXPECT_EQ(image.SelectIcon(-4), 1);
    EXPECT_EQ(image.SelectIcon(8), 3);
    EXPECT_EQ(image.CurrentIcon().StartY, 1);
    image.CloseFile();
    EXPECT_EQ(image.IconCount(), 0);
    EXPECT_EQ(image.DecodeIcon(), 0);
    // A file that cannot be opened leaves the image closed as well.
    Open(S16Bytes({Record(1, 1, 0, 0, 1, 1, 0, 2, 0)}, RawData({kRed})));
    EXPECT_FALSE(image.OpenFile(dir / "missing.s16"));
    EXPECT_FALSE(image.HasFile());
    EXPECT_EQ(image.IconCount(), 0);
}

TEST_F(S16ImageTest, AFileReadsAsItsBytesDo) {
    const Bytes bytes =
        S16Bytes({Record(2, 1, 0, 0, 2, 1, 0, 4, 0), Record(1, 1, 0, 0, 1, 1, 4, 2, 0)},
                 RawData({kRed, kBlue, kBlue}));
    WriteFileBytes(dir / "icon.s16", bytes);
    S16Image fromFile;
    ASSERT_TRUE(fromFile.OpenFile(dir / "icon.s16"));
    Open(bytes);
    EXPECT_EQ(fromFile.Table(), image.Table());
    EXPECT_EQ(fromFile.DataAreaSize(), image.DataAreaSize());
    for (int k = 1; k <= 2; ++k) {
        SCOPED_TRACE(k);
        fromFile.SelectIcon(k);
        image.SelectIcon(k);
        ASSERT_EQ(fromFile.DecodeIcon(), image.DecodeIcon());
        EXPECT_EQ(fromFile.GetColor(0, 0), image.GetColor(0, 0));
        CodedIcon a, b;
        ASSERT_TRUE(fromFile.ReadCodedIcon(k, a));
        ASSERT_TRUE(image.ReadCodedIcon(k, b));
        EXPECT_EQ(a.data, b.data);
    }
    // The bytes were copied: the image does not depend on the caller's buffer.
    Bytes shortLived = bytes;
    image.OpenBytes(shortLived, "copy.s16");
    shortLived.assign(shortLived.size(), 0);
    EXPECT_EQ(image.IconCount(), 2);
    EXPECT_EQ(image.DecodeIcon(), 2);
    EXPECT_EQ(image.GetColor(1, 0), MakeColor(0, 0, 248));
}

TEST_F(S16ImageTest, DecodesRunsAcrossRowEndsAndTheKeyColourElsewhere) {
    Open(S16Bytes({Record(20, 26, 2, 1, 24, 30, 0, 9, 1)},
                  RunData({{255, kRed}, {255, kBlue}, {10, kRed}})));
    EXPECT_EQ(image.DecodeIcon(), 520);
    EXPECT_EQ(image.Width(), 24);
    EXPECT_EQ(image.Height(), 30);
    EXPECT_EQ(image.GetColor(2, 1), MakeColor(248, 0, 0));
    // Pixel 255 is the first of the second run: column 2 + 255 % 20, row 1 + 255 / 20.
    EXPECT_EQ(image.GetColor(2 + 255 % 20, 1 + 255 / 20), MakeColor(0, 0, 248));
    EXPECT_EQ(image.GetColor(21, 26), MakeColor(248, 0, 0));  // the very last pixel
    EXPECT_EQ(image.GetColor(0, 0), s16::kKeyColor);
    EXPECT_EQ(image.GetColor(22, 5), s16::kKeyColor);
    EXPECT_EQ(image.GetColor(5, 27), s16::kKeyColor);
}

TEST_F(S16ImageTest, PlacesTheStoredAreaWithinTheIconAndItsLimits) {
    constexpr ColorValue kR = MakeColor(248, 0, 0), kKey = s16::kKeyColor;
    struct Pixel {
        int x, y;
        ColorValue colour;
    };
    const struct {
        const char* what;
        S16Icon record;
        Bytes data;
        int placed;
        std::vector<Pixel> pixels;
    } cases[] = {
        // Compress values other than 1 are raw; channels are not bit-replicated.
        {"raw",
         Record(2, 1, 0, 0, 2, 1, 0, 4, 0),
         RawData({0xFFFF, 0x07E0}),
         2,
         {{0, 0, MakeColor(248, 252, 248)}, {1, 0, MakeColor(0, 252, 0)}}},
        {"compress 2",
         Record(2, 1, 0, 0, 2, 1, 0, 4, 2),
         RawData({0xFFFF, 0x07E0}),
         2,
         {{0, 0, MakeColor(248, 252, 248)}}},
        // StartX 10, Width 50 in a 40-wide icon: 40 wide from column 0.
        {"clamped",
         Record(50, 1, 10, 0, 40, 3, 0, 3, 1),
         RunData({{50, kRed}}),
         50,
         {{0, 0, kR}, {9, 1, kR}, {10, 1, kKey}}},
        // StartX 30, Width 20: centred at column 10.
        {"centred",
         Record(20, 1, 30, 0, 40, 1, 0, 3, 1),
         RunData({{20, kRed}}),
         20,
         {{9, 0, kKey}, {10, 0, kR}, {29, 0, kR}, {30, 0, kKey}}},
        // Width 10 in a 4 x 2 icon: 4 per row, stops when row 2 is reached.
        {"bottom", Record(10, 2, 0, 0, 4, 2, 0, 3, 1), RunData({{20, kRed}}), 8, {}},
        {"short data",
         Record(3, 3, 0, 0, 3, 3, 0, 18, 0),
         RawData({kRed, kRed}),
         2,
         {{2, 0, kKey}}},
        // A run of count 0 places nothing; decoding goes on.
        {"empty run",
         Record(2, 1, 0, 0, 2, 1, 0, 9, 1),
         RunData({{0, kRed}, {1, kBlue}, {1, kRed}}),
         2,
         {{0, 0, MakeColor(0, 0, 248)}}},
        {"too wide", Record(1, 1, 0, 0, 801, 1, 0, 3, 1), RunData({{1, kRed}}), 0, {}},
        {"too high", Record(1, 1, 0, 0, 1, 601, 0, 3, 1), RunData({{1, kRed}}), 0, {}},
        {"no width", Record(0, 5, 0, 0, 8, 8, 0, 3, 1), RunData({{1, kRed}}), 0, {}},
        {"largest",
         Record(1, 1, 0, 0, 800, 600, 0, 3, 1),
         RunData({{1, kRed}}),
         1,
         {{799, 599, kKey}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(S16Bytes({c.record}, c.data));
        EXPECT_EQ(image.DecodeIcon(), c.placed);
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(image.GetColor(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
}

TEST_F(S16ImageTest, CutsATableLongerThanTheFileAndReadsNothingOutsideIt) {
    Bytes bytes =
        S16Bytes({Record(1, 1, 0, 0, 1, 1, 0, 2, 0), Record(1, 1, 0, 0, 1, 1, 2, 2, 0)}, {});
    bytes[0] = 200;  // claims 200 records
    Open(bytes);
    EXPECT_EQ(image.IconCount(), 2);
    EXPECT_EQ(image.DecodeIcon(), 0);  // its data would lie past the end

    Bytes huge = S16Bytes({Record(2, 2, 0, 0, 2, 2, -9999, -1, 0)}, RawData({1, 2, 3, 4}));
    Open(huge);
    EXPECT_EQ(image.DecodeIcon(), 0);
    huge = S16Bytes({Record(2, 2, 0, 0, 2, 2, 0, 0x7FFFFFFF, 0)}, RawData({1, 2, 3, 4}));
    Open(huge);
    EXPECT_EQ(image.DecodeIcon(), 4);

    Open(Bytes{1, 0});  // not even a count
    EXPECT_EQ(image.IconCount(), 0);
    Open(S16Bytes({}, {}));
    EXPECT_EQ(image.IconCount(), 0);
    EXPECT_EQ(image.CurrentIconNumber(), 0);
    Bytes negative = S16Bytes({}, {});
    negative[3] = 0x80;
    Open(negative);
    EXPECT_EQ(image.IconCount(), 0);
}

TEST_F(S16ImageTest, ReplacesOneColourOfTheDecodedPicture) {
    Open(S16Bytes({Record(2, 1, 0, 0, 3, 1, 0, 4, 0)}, RawData({s16::kTransparentWord, kRed})));
    ASSERT_EQ(image.DecodeIcon(), 2);
    EXPECT_EQ(image.GetColor(0, 0), s16::kTransparentColor);
    image.ReplaceColour(s16::kTransparentColor, 0xF8E4D8);
    EXPECT_EQ(image.GetColor(0, 0), 0xF8E4D8u);
    EXPECT_EQ(image.GetColor(1, 0), MakeColor(248, 0, 0));
    EXPECT_EQ(image.GetColor(2, 0), s16::kKeyColor);
}

TEST_F(S16ImageTest, AFailedDecodeLeavesAnEmptyPicture) {
    // A zero-area record after a small icon, and a record too large to decode.
    Open(S16Bytes({Record(2, 2, 0, 0, 4, 3, 0, 8, 0), Record(0, 0, 0, 0, 800, 600, 8, 0, 0),
                   Record(1, 1, 0, 0, 800, 601, 8, 0, 0)},
                  RawData({kRed, kRed, kBlue, kBlue})));
    for (const int number : {2, 3}) {
        SCOPED_TRACE(number);
        image.SelectIcon(1);
        ASSERT_EQ(image.DecodeIcon(), 4);
        image.SelectIcon(number);
        EXPECT_EQ(image.DecodeIcon(), 0);
        EXPECT_EQ(image.Width(), 0);
        EXPECT_EQ(image.Pixels(), nullptr);
        EXPECT_EQ(image.GetColor(0, 0), 0u);
    }
    // Data lying past the end of the file decode to nothing as well.
    Open(S16Bytes({Record(2, 2, 0, 0, 4, 3, 0, 8, 0), Record(2, 2, 0, 0, 4, 3, 50, 8, 0)},
                  RawData({kRed, kRed, kBlue, kBlue})));
    ASSERT_EQ(image.DecodeIcon(), 4);
    image.SelectIcon(2);
    EXPECT_EQ(image.DecodeIcon(), 0);
    EXPECT_EQ(image.Pixels(), nullptr);
}

TEST_F(S16ImageTest, TheTableIsSoundOnlyWhenEveryRecordFitsTheFile) {
    const Bytes data = RawData({kRed, kBlue});
    // Data ending exactly at the end of the file, and a zero placeholder record.
    Open(S16Bytes({Record(1, 1, 0, 0, 2, 2, 2, 2, 0), S16Icon{}}, data));
    EXPECT_EQ(image.TableProblem(), "");
    Open(S16Bytes({Record(1, 1, 0, 0, 2, 2, -2, 2, 0)}, data));
    EXPECT_EQ(image.TableProblem(), "the data of icon 1 (2 bytes at -2) lie outside the file");
    Open(S16Bytes({Record(1, 1, 0, 0, 2, 2, 2, 3, 0)}, data));
    EXPECT_NE(image.TableProblem(), "");
    Open(S16Bytes({Record(1, 1, 0, 0, 800, 601, 0, 2, 0)}, data));
    EXPECT_EQ(image.TableProblem(), "icon 1 is 800 x 601, over the limits of an icon");
    EXPECT_EQ(image.CountProblem(), "");
    Bytes cut = S16Bytes({Record(1, 1, 0, 0, 2, 2, 0, 2, 0)}, data);
    cut[0] = 3;  // three records claimed, one present
    Open(cut);
    EXPECT_EQ(image.CountProblem(), "it claims 3 icons but has room for 1");
}
