#include "bitmap/PixelReader.h"

#include <bit>
#include <cstring>

PixelReader::Channel::Channel(std::uint32_t channelMask)
    : mask(channelMask),
      shift(channelMask ? std::countr_zero(channelMask) : 0),
      bits(std::popcount(channelMask)) {}

PixelReader::PixelReader(int bitsPerPixel, const BitFields& masks, const std::uint8_t* palette)
    : bitsPerPixel_(bitsPerPixel),
      palette_(palette),
      red_(masks.red),
      green_(masks.green),
      blue_(masks.blue),
      plainBytes_(bitsPerPixel == 32 && masks == BitFields::Default(32)) {}

std::uint32_t PixelReader::Value(const std::uint8_t* p) const {
    if (bitsPerPixel_ == 16) return p[0] | (p[1] << 8);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

ColorValue PixelReader::ColorAt(const std::uint8_t* p) const {
    switch (bitsPerPixel_) {
        case 8: {
            if (!palette_) return 0;
            const std::uint8_t* entry = palette_ + 4 * p[0];
            return MakeColor(entry[2], entry[1], entry[0]);
        }
        case 16:
        case 32: {
            if (plainBytes_) return MakeColor(p[2], p[1], p[0]);
            const std::uint32_t v = Value(p);
            return (red_.Read(v) << 16) | (green_.Read(v) << 8) | blue_.Read(v);
        }
        case 24:
            return MakeColor(p[2], p[1], p[0]);
        default:
            return 0;
    }
}

void PixelReader::RowTo24(const std::uint8_t* src, std::uint8_t* dst, int width) const {
    if (bitsPerPixel_ == 24) {
        std::memcpy(dst, src, static_cast<std::size_t>(width) * 3);
        return;
    }
    if (bitsPerPixel_ == 8 && palette_) {
        for (int x = 0; x < width; ++x, dst += 3) {
            const std::uint8_t* entry = palette_ + 4 * src[x];
            dst[0] = entry[0];
            dst[1] = entry[1];
            dst[2] = entry[2];
        }
        return;
    }
    const int step = bitsPerPixel_ / 8;
    for (int x = 0; x < width; ++x, src += step, dst += 3) {
        const ColorValue c = step > 0 ? ColorAt(src) : 0;
        dst[0] = static_cast<std::uint8_t>(c);
        dst[1] = static_cast<std::uint8_t>(c >> 8);
        dst[2] = static_cast<std::uint8_t>(c >> 16);
    }
}
