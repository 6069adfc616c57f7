#pragma once
// Sizes, limits and colours of the S16 sprite format.

#include <cstddef>
#include <cstdint>

#include "bitmap/Surface.h"

namespace s16 {

inline constexpr int kIconRecordSize = 40;
inline constexpr int kCountSize = 4;
// The limits of one icon, held alike by decoding, the table check and the
// encoder: what the encoder writes, decoding shows whole.
inline constexpr int kMaxIconWidth = 800;
inline constexpr int kMaxIconHeight = 600;
inline constexpr int kMaxIconPixels = 480000;
// Coded data of one icon: decoding reads no more, the encoder writes no more.
inline constexpr std::size_t kMaxCodedBytes = 921600;
inline constexpr int kMaxRun = 255;
inline constexpr std::int32_t kRunLengthCoded = 1;

// An icon of `width` x `height` within the size limits. 0 x 0 is within them
// (a zero record stands for a missing icon) but has nothing to decode.
inline constexpr bool WithinIconLimits(std::int64_t width, std::int64_t height) {
    return width >= 0 && width <= kMaxIconWidth && height >= 0 && height <= kMaxIconHeight &&
           width * height <= kMaxIconPixels;
}

// An icon decoding can show: within the limits and at least 1 x 1.
inline constexpr bool DecodableIconSize(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && WithinIconLimits(width, height);
}

inline constexpr bool WithinCodedLimit(std::int64_t bytes) {
    return bytes >= 0 && bytes <= static_cast<std::int64_t>(kMaxCodedBytes);
}

// The colour of the unused area of a decoded icon: pixel bytes DC DC F8.
inline constexpr ColorValue kKeyColor = 0x00F8DCDC;
// The word written for transparent palette pixels, and the colour it decodes to.
inline constexpr std::uint16_t kTransparentWord = 0xF81F;
inline constexpr ColorValue kTransparentColor = 0x00F800F8;
// Palette index that marks transparency in 8-bit pictures.
inline constexpr int kTransparentIndex = 159;

// RGB565 word of a colour value, the low bits dropped.
inline constexpr std::uint16_t ToWord(ColorValue c) {
    return static_cast<std::uint16_t>((((c >> 16) & 0xF8) << 8) | (((c >> 8) & 0xFC) << 3) |
                                      ((c & 0xFF) >> 3));
}

// Colour value of an RGB565 word; the low bits stay zero.
inline constexpr ColorValue ToColor(std::uint16_t v) {
    return (static_cast<ColorValue>((v >> 11) & 0x1F) << 19) |
           (static_cast<ColorValue>((v >> 5) & 0x3F) << 10) |
           (static_cast<ColorValue>(v & 0x1F) << 3);
}

}  // namespace s16
