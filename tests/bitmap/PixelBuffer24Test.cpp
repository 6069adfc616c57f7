#include <gtest/gtest.h>

#include <cstring>

#include "BmpBuilder.h"
#include "FakeUserInterface.h"
#include "bitmap/PixelBuffer24.h"
#include "bitmap/RasterSurface.h"

namespace {

void Prepare(PixelBuffer24& picture, int width, int height, int bpp, bool topDown) {
    picture.Create(width, height, bpp, topDown);
    picture.Allocate();
    std::memset(picture.Pixels(), 0, picture.ImageSize());
}

}  // namespace

TEST(PixelBuffer24, GeometryFollowsThePaddedRowRule) {
    EXPECT_EQ(bmp::RowSize(1, 24), 4);
    EXPECT_EQ(bmp::RowSize(3, 8), 4);
    EXPECT_EQ(bmp::RowSize(3, 16), 8);
    PixelBuffer24 picture;
    picture.Create(1, 2, 24, false);
    EXPECT_EQ(picture.Stride(), 4);
    picture.Create(3, 2, 8, true);
    EXPECT_EQ(picture.Stride(), 4);
    EXPECT_EQ(picture.PaletteCount(), 256);
    EXPECT_EQ(picture.InfoHeader().height, -2);
    picture.Create(5, 7, 24, false);
    EXPECT_EQ(picture.Stride(), 16);
    EXPECT_EQ(picture.ImageSize(), 112u);
    EXPECT_EQ(picture.InfoHeader().sizeImage, 112u);
    EXPECT_EQ(picture.PaletteCount(), 0);
    EXPECT_EQ(picture.PixelOffset(2, 0), 6 * 16 + 6);
    EXPECT_EQ(picture.PixelOffset(2, 0, 20, 8), 6 * 20 + 2);
    picture.SetGeometry(2, 2, 32, true);  // leaves the header stale
    EXPECT_EQ(picture.InfoHeader().width, 5);
    picture.RefreshGeometry(false);
    EXPECT_EQ(picture.InfoHeader().width, 2);
}

TEST(PixelBuffer24, GetColorAndConversionReadPixelsUnderTheSameMasks) {
    struct Case {
        int depth;
        BitFields masks;
        std::uint32_t stored;
        ColorValue colour;
    };
    const Case cases[] = {
        {16, BitFields::Default(16), 0xFFFF, MakeColor(248, 248, 248)},  // bit 15 unused
        {16, BitFields::Default(16), 0x07E0, MakeColor(8, 248, 0)},
        {16, {0xF800, 0x07E0, 0x001F}, 0x07E0, MakeColor(0, 252, 0)},
        {16, {0xF800, 0x07E0, 0x001F}, 0xFFFF, MakeColor(248, 252, 248)},
        {16, {0x0F00, 0x00F0, 0x000F}, 0x0F5A, MakeColor(240, 80, 160)},
        {32, BitFields::Default(32), 0x00123456, MakeColor(0x12, 0x34, 0x56)},
        {32, {0x000000FF, 0x0000FF00, 0x00FF0000}, 0x00123456, MakeColor(0x56, 0x34, 0x12)},
        {32, {0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FFFFFFF, MakeColor(255, 255, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " bits, " << std::hex << c.stored);
        PixelBuffer24 picture;
        Prepare(picture, 2, 1, c.depth, false);
        picture.SetColorMasks(c.masks);
        std::memcpy(picture.Pixels() + c.depth / 8, &c.stored,
                    static_cast<std::size_t>(c.depth / 8));
        EXPECT_EQ(picture.GetColor(1, 0), c.colour);
        EXPECT_EQ(picture.View().ColorAt(1, 0), c.colour);
        ASSERT_TRUE(picture.ConvertTo24(false));
        EXPECT_EQ(picture.GetColor(1, 0), c.colour);
        EXPECT_EQ(picture.ColorMasks(), BitFields{});
    }
}

TEST(PixelBuffer24, ConversionDropsTheFourthByteAndKeepsPictureCoordinates) {
    PixelBuffer24 picture;
    Prepare(picture, 1, 2, 32, true);
    const std::uint8_t top[4] = {1, 2, 3, 99};
    std::memcpy(picture.RowPtr(0), top, 4);
    ASSERT_TRUE(picture.ConvertTo24(false));
    EXPECT_FALSE(picture.IsTopDown());
    EXPECT_EQ(picture.GetColor(0, 0), MakeColor(3, 2, 1));
    EXPECT_EQ(picture.GetColor(0, 1), 0u);
    EXPECT_EQ(picture.PaletteCount(), 0);

    const std::uint8_t* before = picture.Pixels();
    EXPECT_TRUE(picture.ConvertTo24(false));  // nothing to do
    EXPECT_EQ(picture.Pixels(), before);
}

TEST(PixelBuffer24, ConversionIntoAnAttachedBufferChecksItsCapacity) {
    FakeUserInterface ui;
    std::uint8_t small[8] = {};
    PixelBuffer24 picture;
    picture.Attach(small, sizeof small, false);
    picture.Create(4, 2, 8, false);
    EXPECT_FALSE(picture.ConvertTo24(false));
    EXPECT_EQ(ui.LastText(), "Not enough allocated memory to convert into 24 bits !");

    std::uint8_t large[64] = {};
    picture.Attach(large, sizeof large, false);
    picture.Palette()[4 * 0 + 1] = 77;
    EXPECT_TRUE(picture.ConvertTo24(false));
    EXPECT_EQ(picture.Pixels(), large);
    EXPECT_EQ(picture.GetColor(3, 1), MakeColor(0, 77, 0));
}

TEST(PixelBuffer24, SetAndGetPixelsIgnoreOffsetsOutsideThePicture) {
    PixelBuffer24 picture;
    Prepare(picture, 2, 2, 24, false);
    picture.SetColor(1, 0, 0x00F8DCDC);
    EXPECT_EQ(picture.GetColor(1, 0), 0x00F8DCDCu);
    EXPECT_EQ(picture.PixelPtr(1, 0)[0], 0xDC);
    EXPECT_EQ(picture.PixelPtr(1, 0)[2], 0xF8);
    picture.SetColor(0, 5, 0xFFFFFF);
    picture.SetColor(0, -1, 0xFFFFFF);
    EXPECT_EQ(picture.GetColor(0, 5), 0u);

    PixelBuffer24 indexed;
    Prepare(indexed, 3, 1, 8, false);
    indexed.SetIndex(2, 0, 159);
    indexed.SetIndex(9, 9, 1);
    EXPECT_EQ(indexed.GetIndex(2, 0), 159);
    std::uint8_t rgb[768] = {};
    rgb[3 * 159 + 0] = 248;
    rgb[3 * 159 + 1] = 228;
    rgb[3 * 159 + 2] = 216;
    indexed.SetPaletteRgb(rgb);
    EXPECT_EQ(indexed.GetColor(2, 0), MakeColor(248, 228, 216));
    EXPECT_EQ(indexed.Palette()[4 * 159 + 0], 216);
    indexed.SetPaletteRgb(nullptr);
    EXPECT_EQ(indexed.GetColor(2, 0), MakeColor(248, 228, 216));
}

TEST(PixelBuffer24, CopyRectCopiesAcrossStorageOrdersAndRefusesWhatDoesNotFit) {
    PixelBuffer24 source;
    Prepare(source, 4, 3, 24, false);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x)
            source.SetColor(x, y, MakeColor(x, y, 9));
    }
    PixelBuffer24 same;
    Prepare(same, 4, 3, 24, true);
    EXPECT_EQ(source.CopyRect(0, 0, 4, 3, same, 0, 0), 4u * 3 * 3);
    EXPECT_EQ(same.GetColor(3, 2), MakeColor(3, 2, 9));

    PixelBuffer24 cell;
    Prepare(cell, 2, 1, 24, false);
    EXPECT_EQ(source.CopyRect(2, 1, 4, 2, cell, 0, 0), 6u);
    EXPECT_EQ(cell.GetColor(0, 0), MakeColor(2, 1, 9));
    EXPECT_EQ(cell.GetColor(1, 0), MakeColor(3, 1, 9));

    PixelBuffer24 narrower;
    Prepare(narrower, 3, 3, 24, false);
    EXPECT_EQ(source.CopyRect(0, 0, 4, 3, narrower, 0, 0), 0u);
    PixelBuffer24 indexed;
    Prepare(indexed, 4, 3, 8, true);
    EXPECT_EQ(source.CopyRect(0, 0, 1, 1, indexed, 0, 0), 0u);
    EXPECT_EQ(source.CopyRect(0, 0, 5, 1, same, 0, 0), 0u);
    EXPECT_EQ(source.CopyRect(0, 0, 1, 1, same, 4, 0), 0u);
    EXPECT_EQ(source.CopyRect(1, 1, 1, 1, same, 0, 0), 0u);

    // A cell made like its source takes its depth, order and colour table.
    indexed.Palette()[4 * 3 + 2] = 123;
    PixelBuffer24 like;
    like.CreateLike(2, 2, indexed);
    EXPECT_EQ(like.BitsPerPixel(), 8);
    EXPECT_TRUE(like.IsTopDown());
    EXPECT_EQ(like.Palette()[4 * 3 + 2], 123);
}

TEST(PixelBuffer24, DrawStretchesAndMirrors) {
    PixelBuffer24 picture;
    Prepare(picture, 2, 1, 24, false);
    picture.SetColor(0, 0, MakeColor(255, 0, 0));
    picture.SetColor(1, 0, MakeColor(0, 0, 255));
    RasterSurface surface(10, 4);
    picture.Draw(&surface, 1, 1, 4, 2, false);
    EXPECT_EQ(surface.ColorAt(1, 1), MakeColor(255, 0, 0));
    EXPECT_EQ(surface.ColorAt(2, 2), MakeColor(255, 0, 0));
    EXPECT_EQ(surface.ColorAt(3, 1), MakeColor(0, 0, 255));
    EXPECT_EQ(surface.ColorAt(5, 1), 0u);

    picture.SetMirrorX(true);
    picture.Draw(&surface, 6, 0, -1, -1, false);
    EXPECT_EQ(surface.ColorAt(6, 0), MakeColor(0, 0, 255));
    EXPECT_EQ(surface.ColorAt(7, 0), MakeColor(255, 0, 0));

    RasterSurface clipped(10, 4);
    picture.SetMirrorX(false);
    picture.Draw(&clipped, 0, 0, 9, 9, true);  // clipped to the picture's own size
    EXPECT_EQ(clipped.ColorAt(1, 0), MakeColor(0, 0, 255));
    EXPECT_EQ(clipped.ColorAt(2, 0), 0u);
    EXPECT_EQ(clipped.ColorAt(0, 1), 0u);
    picture.Draw(nullptr, 0, 0, 1, 1, false);
}
