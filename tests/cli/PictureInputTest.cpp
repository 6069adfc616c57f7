// Pictures given to make and insert-icon by content: an RGBA PNG, a 4-bit
// run-length BMP and ImageMagick's default 124-byte-header BMP give the icons
// the same picture gives as a plain keyed 24-bit BMP.
#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "CliRunner.h"
#include "bitmap/PictureTransparency.h"
#include "bitmap/PngCodec.h"
#include "sprite/S16Image.h"

namespace {

constexpr int kWidth = 6;
constexpr int kHeight = 5;

// A sprite on a transparent background: a one-pixel transparent border, one
// fully transparent (248, 0, 248) pixel, half-transparent pixels on both sides
// of 128.
RgbaPicture Sprite() {
    RgbaPicture picture{kWidth, kHeight, {}};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool border = x == 0 || y == 0 || x == kWidth - 1;
            std::uint8_t alpha = border ? 0 : 255;
            if (x == 2 && y == 2) alpha = 127;
            if (x == 3 && y == 2) alpha = 128;
            picture.pixels.insert(
                picture.pixels.end(),
                {static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(50 * y), 90, alpha});
        }
    }
    std::uint8_t* hole = &picture.pixels[(3 * kWidth + 1) * 4];
    hole[0] = 248;
    hole[1] = 0;
    hole[2] = 248;
    hole[3] = 0;
    return picture;
}

class PictureInput : public ::testing::Test {
protected:
    // Builds an S16 with `make --cloned` from `picture` and returns its bytes.
    Bytes Made(const std::string& picture) {
        const CliRun run = RunCli({"make", "--cloned", picture});
        EXPECT_EQ(run.status, kExitDone) << run.err;
        return ReadFileBytes(picture.substr(0, picture.rfind('.')) + ".s16");
    }

    TempDir dir;
};

}  // namespace

TEST_F(PictureInput, PngAndEveryBmpKindMakeTheIconsTheKeyedPictureMakes) {
    Bytes png;
    std::string error;
    ASSERT_TRUE(EncodePng(Sprite(), png, error)) << error;
    WriteFileBytes(dir / "sprite.png", png);
    PixelBuffer24 keyed;
    RgbaToKeyed(Sprite(), keyed);
    ASSERT_TRUE(keyed.SaveAs24(dir / "keyed.bmp"));

    const Bytes want = Made(dir / "keyed.bmp");
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(Made(dir / "sprite.png"), want);
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "sprite.s16"));
    EXPECT_EQ(image.IconCount(), 9);
    EXPECT_EQ(image.Icon(1).TWidth, kWidth);
    EXPECT_EQ(image.Icon(1).Width, kWidth - 2);  // the transparent border is left out
    image.CloseFile();

    if (HaveProgram("/usr/bin/convert")) {
        // ImageMagick's default BMP of an RGBA PNG: version 5 header, alpha mask.
        ASSERT_TRUE(RunShell("/usr/bin/convert " + (dir / "sprite.png") + " " + (dir / "im.bmp")));
        const Bytes im = ReadFileBytes(dir / "im.bmp");
        ASSERT_GT(im.size(), 18u);
        EXPECT_EQ(GetU32(im, 14), 124u);
        EXPECT_EQ(Made(dir / "im.bmp"), want);
    }

    // A 4-bit run-length BMP of two colours and the key colour, against the
    // same picture as a 24-bit BMP.
    const ColorValue colours[] = {MakeColor(248, 220, 220), MakeColor(10, 200, 30),
                                  MakeColor(0, 0, 255)};
    BmpSpec spec;
    spec.width = 7;
    spec.height = 3;
    spec.bitsPerPixel = 4;
    spec.compression = 2;
    for (const ColorValue c : colours) {
        spec.palette.insert(spec.palette.end(), {static_cast<std::uint8_t>(BlueOf(c)),
                                                 static_cast<std::uint8_t>(GreenOf(c)),
                                                 static_cast<std::uint8_t>(RedOf(c)), 0});
    }
    // Bottom row 0 1 1 1 2 0 0, middle a copy 0 1 2 1 0 then 2 0, top a delta
    // over three key pixels, then 2 2 2 2.
    spec.pixels = Bytes{1,    0x00, 3, 0x11, 1, 0x22, 2, 0x00, 0, 0, 0, 5,    0x01, 0x21,
                        0x00, 0,    2, 0x20, 0, 0,    0, 2,    3, 0, 4, 0x22, 0,    1};
    WriteFileBytes(dir / "rle4.bmp", BuildBmp(spec));
    const int rows[3][7] = {{0, 0, 0, 2, 2, 2, 2}, {0, 1, 2, 1, 0, 2, 0}, {0, 1, 1, 1, 2, 0, 0}};
    WriteFileBytes(dir / "plain.bmp",
                   Bmp24(7, 3, [&](int x, int y) { return colours[rows[y][x]]; }));
    EXPECT_EQ(Made(dir / "rle4.bmp"), Made(dir / "plain.bmp"));
}

TEST_F(PictureInput, ListsAndInsertionTakePngNextToBmp) {
    Bytes png;
    std::string error;
    ASSERT_TRUE(EncodePng(Sprite(), png, error));
    WriteFileBytes(dir / "a.PNG", png);
    WriteFileBytes(dir / "b.bmp", Bmp24(3, 2, [](int x, int y) { return MakeColor(x, y, 7); }));
    // A BMP and a PNG of one base name stay two pictures.
    WriteFileBytes(dir / "b.png", png);
    CliRun run =
        RunCli({"make", "--list", dir / "list.s16", dir / "a.PNG", dir / "b.bmp", dir / "b.png"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    S16Image image;
    ASSERT_TRUE(image.OpenFile(dir / "list.s16"));
    ASSERT_EQ(image.IconCount(), 3);
    EXPECT_EQ(image.Icon(1).TWidth, kWidth);
    EXPECT_EQ(image.Icon(2).TWidth, 3);
    EXPECT_EQ(image.Icon(3).TWidth, kWidth);
    image.CloseFile();

    ExpectFailure({"make", "--list", dir / "list2.s16", dir / "b.bmp", dir / "c.gif"},
                  (dir / "c.gif") + ": the pictures of a list must be .bmp or .png files");

    run = RunCli({"insert-icon", dir / "list.s16", dir / "a.PNG", "--at", "1"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    ASSERT_TRUE(image.OpenFile(dir / "list.s16"));
    EXPECT_EQ(image.IconCount(), 4);

    // A broken PNG is refused by name and reason, and nothing is written.
    WriteFileBytes(dir / "cut.png", Bytes(png.begin(), png.begin() + 50));
    ExpectFailure({"make", "--cloned", dir / "cut.png"},
                  "Invalid PNG file " + (dir / "cut.png") + ": truncated");
    EXPECT_FALSE(FileExists(dir / "cut.s16"));
}

TEST(PictureHelp, StatesTheTransparencyRule) {
    for (const char* command : {"make", "insert-icon"}) {
        const CliRun run = RunCli({command, "--help"});
        EXPECT_EQ(run.status, kExitDone);
        for (const char* text : {"BMP or PNG", "alpha below 128", "red 248, green 0, blue 248",
                                 "alpha 128 and above is its own colour"}) {
            EXPECT_NE(run.out.find(text), std::string::npos) << command << ": " << text;
        }
    }
}
