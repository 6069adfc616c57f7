#pragma once
// The colour masks of a 16- or 32-bit bitmap: which bits of a pixel hold red,
// green and blue.

#include <cstdint>

struct BitFields {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;

    // The layout of an uncompressed bitmap of `bitsPerPixel`: 5-5-5 for 16
    // bits, one byte each for 32 bits; no masks for the other depths.
    static constexpr BitFields Default(int bitsPerPixel) {
        if (bitsPerPixel == 16) return {0x7C00, 0x03E0, 0x001F};
        if (bitsPerPixel == 32) return {0x00FF0000, 0x0000FF00, 0x000000FF};
        return {};
    }
    bool operator==(const BitFields&) const = default;
};
