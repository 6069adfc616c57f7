// The transparency rule both ways: alpha to the key colour and the transparent
// colour, and keyed pictures back to alpha.
#include <gtest/gtest.h>

#include "bitmap/PictureTransparency.h"

namespace {

constexpr ColorValue kKey = MakeColor(248, 220, 220);
constexpr ColorValue kTransparent = MakeColor(248, 0, 248);

}  // namespace

TEST(PictureTransparency, AlphaBecomesTheKeyOrTheTransparentColour) {
    struct Case {
        std::uint8_t r, g, b, a;
        ColorValue want;
    };
    const Case cases[] = {
        {10, 20, 30, 255, MakeColor(10, 20, 30)},
        {10, 20, 30, 128, MakeColor(10, 20, 30)},
        {10, 20, 30, 127, kKey},
        {10, 20, 30, 0, kKey},
        {248, 0, 248, 0, kTransparent},    // the transparent word's colour
        {248, 0, 248, 1, kKey},            // only when fully transparent
        {248, 0, 248, 200, kTransparent},  // opaque: its own colour
        {248, 220, 220, 255, kKey},
    };
    RgbaPicture in{static_cast<int>(std::size(cases)), 2, {}};
    for (int row = 0; row < 2; ++row) {
        for (const Case& c : cases)
            in.pixels.insert(in.pixels.end(), {c.r, c.g, c.b, c.a});
    }
    PixelBuffer24 out;
    RgbaToKeyed(in, out);
    ASSERT_NE(out.Pixels(), nullptr);
    EXPECT_EQ(out.BitsPerPixel(), 24);
    EXPECT_TRUE(out.IsTopDown());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < in.width; ++x)
            EXPECT_EQ(out.GetColor(x, y), cases[x].want) << x;
    }

    // Inconsistent input leaves no pixels rather than reading past the data.
    in.pixels.pop_back();
    RgbaToKeyed(in, out);
    EXPECT_EQ(out.Pixels(), nullptr);
    EXPECT_EQ(out.Width(), 0);
}

TEST(PictureTransparency, KeyedPicturesGetAlphaBackAndSurviveTheRoundTrip) {
    // A bottom-up 8-bit picture, so that the palette and the row order are read.
    PixelBuffer24 keyed;
    keyed.Create(3, 2, 8, false);
    ASSERT_TRUE(keyed.Allocate());
    std::uint8_t* palette = keyed.Palette();
    const ColorValue colours[] = {kKey, kTransparent, MakeColor(1, 2, 3)};
    for (int i = 0; i < 3; ++i) {
        palette[4 * i + 0] = static_cast<std::uint8_t>(BlueOf(colours[i]));
        palette[4 * i + 1] = static_cast<std::uint8_t>(GreenOf(colours[i]));
        palette[4 * i + 2] = static_cast<std::uint8_t>(RedOf(colours[i]));
    }
    for (int x = 0; x < 3; ++x) {
        keyed.SetIndex(x, 0, static_cast<std::uint8_t>(x));
        keyed.SetIndex(x, 1, 2);
    }
    const RgbaPicture rgba = KeyedToRgba(keyed, false);
    ASSERT_EQ(rgba.width, 3);
    ASSERT_EQ(rgba.height, 2);
    const std::vector<std::uint8_t> want{248, 220, 220, 0,   248, 0, 248, 0,   1, 2, 3, 255,
                                         1,   2,   3,   255, 1,   2, 3,   255, 1, 2, 3, 255};
    EXPECT_EQ(rgba.pixels, want);

    PixelBuffer24 back;
    RgbaToKeyed(rgba, back);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(back.GetColor(x, y), keyed.GetColor(x, y));
    }

    const RgbaPicture opaque = KeyedToRgba(keyed, true);
    EXPECT_EQ(opaque.pixels[3], 255);
    EXPECT_EQ(opaque.pixels[7], 255);
    EXPECT_EQ(opaque.pixels[4], 248);
    EXPECT_TRUE(KeyedToRgba(PixelBuffer24(), false).pixels.empty());

    // The key colour as a decoded icon shows it inside its stored area (a 5-6-5
    // word) is the unused area too; a colour one step away is not.
    PixelBuffer24 decoded;
    decoded.Create(2, 1, 24, true);
    ASSERT_TRUE(decoded.Allocate());
    decoded.SetColor(0, 0, MakeColor(248, 220, 216));
    decoded.SetColor(1, 0, MakeColor(248, 216, 216));
    const std::vector<std::uint8_t> wantDecoded{248, 220, 220, 0, 248, 216, 216, 255};
    EXPECT_EQ(KeyedToRgba(decoded, false).pixels, wantDecoded);
}
