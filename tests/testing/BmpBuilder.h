#pragma once
// Builds BMP files byte by byte, including malformed ones, for the readers' tests.

#include <functional>
#include <optional>

#include "TestFiles.h"
#include "bitmap/Surface.h"

struct BmpSpec {
    int width = 1;
    int height = 1;  // negative: top-down
    int bitsPerPixel = 24;
    std::uint32_t headerSize = 40;
    std::uint32_t compression = 0;
    Bytes masks;    // right after the first 40 header bytes (inside a longer header)
    Bytes palette;  // raw colour-table bytes, 4 per entry
    std::uint32_t colorsUsed = 0;
    std::optional<std::uint32_t> dataOffset;  // default: right after the colour table
    Bytes pixels;                             // stored rows, padding included
};

Bytes BuildBmp(const BmpSpec& spec);

// Stored pixel bytes of a picture given top row first, with `pixel(x, y)`
// giving the bytes of one pixel; storage order follows the sign of `height`.
Bytes StoredRows(int width, int height, int bytesPerPixel,
                 const std::function<Bytes(int x, int y)>& pixel);
// A 24-bit BMP whose colours are given by `color(x, y)`.
Bytes Bmp24(int width, int height, const std::function<ColorValue(int x, int y)>& color);
// An 8-bit BMP with a 256-entry palette; `index(x, y)` gives each pixel.
Bytes Bmp8(int width, int height, const Bytes& palette,
           const std::function<int(int x, int y)>& index);
