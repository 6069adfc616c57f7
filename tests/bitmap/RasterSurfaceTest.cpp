#include <gtest/gtest.h>

#include "bitmap/RasterSurface.h"

TEST(RasterSurface, FillsClippedRectanglesAndDrawsEightBitPicturesThroughTheirPalette) {
    RasterSurface surface(4, 3);
    surface.FillRect(-2, 1, 4, 9, MakeColor(192, 192, 192));
    EXPECT_EQ(surface.ColorAt(0, 0), 0u);
    EXPECT_EQ(surface.ColorAt(1, 2), MakeColor(192, 192, 192));
    EXPECT_EQ(surface.ColorAt(2, 1), 0u);

    const std::uint8_t pixels[4] = {0, 1, 0, 0};
    std::uint8_t palette[1024] = {};
    palette[4 * 1 + 2] = 250;
    DibView view;
    view.pixels = pixels;
    view.width = 2;
    view.height = 1;
    view.stride = 4;
    view.bitsPerPixel = 8;
    view.palette = palette;
    RasterSurface stretched(6, 2);
    stretched.StretchDib(0, 0, 6, 2, view);
    EXPECT_EQ(stretched.ColorAt(2, 1), 0u);
    EXPECT_EQ(stretched.ColorAt(3, 1), MakeColor(250, 0, 0));
    EXPECT_EQ(stretched.ColorAt(5, 0), MakeColor(250, 0, 0));
}
