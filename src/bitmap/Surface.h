#pragma once
// The seam through which pictures reach the screen: fill a rectangle, and draw
// a device-independent bitmap stretched into a rectangle.

#include <cstdint>

#include "bitmap/BitFields.h"

// A colour value: blue in bits 0-7, green in 8-15, red in 16-23.
using ColorValue = std::uint32_t;

inline constexpr ColorValue MakeColor(int red, int green, int blue) {
    return (static_cast<ColorValue>(red & 0xFF) << 16) |
           (static_cast<ColorValue>(green & 0xFF) << 8) | static_cast<ColorValue>(blue & 0xFF);
}
inline constexpr int RedOf(ColorValue c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline constexpr int GreenOf(ColorValue c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int BlueOf(ColorValue c) {
    return static_cast<int>(c & 0xFF);
}

// A rectangle in surface coordinates; right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The pixels of a bitmap as the BMP format lays them out.
struct DibView {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    int bitsPerPixel = 24;
    bool topDown = false;
    const std::uint8_t* palette = nullptr;  // blue, green, red, reserved per entry
    int paletteCount = 0;
    BitFields masks{};  // 16 and 32 bits; none means the uncompressed layout

    // The colour of picture pixel (x, y), y = 0 at the top; no bounds check.
    ColorValue ColorAt(int x, int y) const;
};

enum class StretchMode { Default, ColorOnColor };

class Surface {
public:
    virtual ~Surface() = default;
    virtual void FillRect(int x, int y, int w, int h, ColorValue color) = 0;
    // Draws the whole picture stretched into the rectangle at (x, y). A negative
    // width covers the columns x + w .. x - 1 and mirrors the picture left to
    // right; a negative height likewise mirrors it top to bottom.
    virtual void StretchDib(int x, int y, int w, int h, const DibView& picture) = 0;
    virtual void SetStretchMode(StretchMode mode) = 0;
};
