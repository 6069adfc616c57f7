#pragma once
// A picture as the PNG codec exchanges it: 8-bit red, green, blue and alpha per
// pixel, rows top row first, no padding between rows.

#include <cstdint>
#include <vector>

struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes
};
