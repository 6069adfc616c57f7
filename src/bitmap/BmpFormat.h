#pragma once
// Sizes, magic values and the info header of the BMP file format.

#include <cstdint>
#include <span>
#include <vector>

namespace bmp {

inline constexpr std::uint16_t kType = 0x4D42;  // "BM"
inline constexpr int kFileHeaderSize = 14;
inline constexpr int kInfoHeaderSize = 40;
inline constexpr int kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  // 54
// The oldest header: 16-bit width and height, 3-byte colour-table entries.
inline constexpr int kCoreHeaderSize = 12;
inline constexpr int kCorePaletteEntrySize = 3;
inline constexpr int kMaxPaletteEntries = 256;
inline constexpr int kPaletteEntrySize = 4;
inline constexpr std::uint32_t kCompressionRgb = 0;
inline constexpr std::uint32_t kCompressionRle8 = 1;
inline constexpr std::uint32_t kCompressionRle4 = 2;
inline constexpr std::uint32_t kCompressionBitFields = 3;
// Red, green and blue masks: right after a 40-byte info header, or inside the
// longer headers at the same place.
inline constexpr int kBitFieldsSize = 12;
// The alpha mask follows the three colour masks in headers of 56 bytes and more.
inline constexpr int kAlphaMaskOffset = 52;

// The info headers read: the core one, the 40-byte layout, the two that add
// masks to it, and the versions 4 and 5.
inline constexpr bool KnownHeaderSize(std::uint32_t size) {
    return size == kCoreHeaderSize || size == 40 || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

// Bytes in one bitmap row padded to a multiple of 4.
inline constexpr std::int64_t RowSize(std::int64_t width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace bmp

// The 40-byte BMP info header (BITMAPINFOHEADER), field by field; the core
// header's fields are read into it too (always bottom-up, no compression).
struct BmpInfoHeader {
    std::uint32_t size = bmp::kInfoHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;

    static BmpInfoHeader Parse(std::span<const std::uint8_t> bytes);
    void AppendTo(std::vector<std::uint8_t>& out) const;
};
