#pragma once
// The one reader of stored pixels: the colour of a pixel of any supported depth
// (8-bit palette index, 16 or 32 bits under their colour masks, 24 bits).
// Every path that turns stored pixels into colours goes through it, so that a
// picture reads the same wherever it is used.

#include <cstdint>

#include "bitmap/BitFields.h"
#include "bitmap/Surface.h"

class PixelReader {
public:
    // `palette` holds 256 entries of blue, green, red, reserved (8 bits only).
    PixelReader(int bitsPerPixel, const BitFields& masks, const std::uint8_t* palette);

    // The colour of the pixel stored at `pixel`.
    ColorValue ColorAt(const std::uint8_t* pixel) const;
    // `width` pixels from `src` as 24-bit blue, green, red bytes at `dst`.
    void RowTo24(const std::uint8_t* src, std::uint8_t* dst, int width) const;

private:
    // One colour channel: its bits are moved to the top of a byte, the bits
    // below left zero; a mask wider than 8 bits keeps its top 8.
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0;
        int bits = 0;

        explicit Channel(std::uint32_t channelMask);
        std::uint32_t Read(std::uint32_t value) const {
            const std::uint32_t v = (value & mask) >> shift;
            return bits <= 8 ? (v << (8 - bits)) & 0xFF : v >> (bits - 8);
        }
    };

    std::uint32_t Value(const std::uint8_t* pixel) const;

    int bitsPerPixel_;
    const std::uint8_t* palette_;
    Channel red_;
    Channel green_;
    Channel blue_;
    bool plainBytes_;  // 32 bits laid out as blue, green, red, unused
};
