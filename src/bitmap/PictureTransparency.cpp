#include "bitmap/PictureTransparency.h"

#include <new>

#include "bitmap/PixelReader.h"

void RgbaToKeyed(const RgbaPicture& in, PixelBuffer24& out) {
    out.FreePixels();
    out.Create(0, 0, 24, true);
    const std::size_t count =
        in.width > 0 && in.height > 0
            ? static_cast<std::size_t>(in.width) * static_cast<std::size_t>(in.height)
            : 0;
    if (count == 0 || in.pixels.size() != count * 4) return;
    out.Create(in.width, in.height, 24, true);
    if (!out.Allocate()) {
        out.Create(0, 0, 24, true);
        return;
    }
    const std::uint8_t* src = in.pixels.data();
    for (int y = 0; y < in.height; ++y) {
        std::uint8_t* dst = out.RowPtr(y);
        for (int x = 0; x < in.width; ++x, src += 4, dst += 3) {
            const ColorValue c = KeyedColor(src[0], src[1], src[2], src[3]);
            dst[0] = static_cast<std::uint8_t>(BlueOf(c));
            dst[1] = static_cast<std::uint8_t>(GreenOf(c));
            dst[2] = static_cast<std::uint8_t>(RedOf(c));
        }
    }
}

RgbaPicture KeyedToRgba(const PixelBuffer24& in, bool opaque) {
    RgbaPicture out;
    if (!in.Pixels() || in.Width() < 1 || in.Height() < 1) return out;
    try {
        out.pixels.resize(static_cast<std::size_t>(in.Width()) *
                          static_cast<std::size_t>(in.Height()) * 4);
    } catch (const std::bad_alloc&) {
        return out;
    }
    out.width = in.Width();
    out.height = in.Height();
    const PixelReader reader = in.Reader();
    const int step = in.BitsPerPixel() / 8;
    std::uint8_t* dst = out.pixels.data();
    for (int y = 0; y < in.Height(); ++y) {
        const std::uint8_t* src = in.RowPtr(y);
        for (int x = 0; x < in.Width(); ++x, src += step, dst += 4) {
            ColorValue c = reader.ColorAt(src);
            bool unused = false;
            if (!opaque) {
                for (const ColorValue marker : {kPictureKeyColor, kPictureTransparentColor}) {
                    if (IsMarkerColour(c, marker)) {
                        c = marker;
                        unused = true;
                    }
                }
            }
            dst[0] = static_cast<std::uint8_t>(RedOf(c));
            dst[1] = static_cast<std::uint8_t>(GreenOf(c));
            dst[2] = static_cast<std::uint8_t>(BlueOf(c));
            dst[3] = unused ? 0 : 255;
        }
    }
    return out;
}
