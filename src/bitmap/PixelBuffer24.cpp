#include "bitmap/PixelBuffer24.h"

#include <algorithm>
#include <cstring>

#include "support/Messages.h"

namespace {

// One row of any supported depth into 24-bit B, G, R bytes. 16-bit pixels are
// widened from the 5-6-5 layout with the low bits left zero.
void ConvertRowTo24(const std::uint8_t* src, int bpp, const std::uint8_t* palette,
                    std::uint8_t* dst, int width) {
    switch (bpp) {
        case 8:
            for (int x = 0; x < width; ++x, dst += 3) {
                const std::uint8_t* entry = palette + 4 * src[x];
                dst[0] = entry[0];
                dst[1] = entry[1];
                dst[2] = entry[2];
            }
            break;
        case 16:
            for (int x = 0; x < width; ++x, dst += 3, src += 2) {
                const unsigned v = src[0] | (src[1] << 8);
                dst[0] = static_cast<std::uint8_t>((v & 0x1F) << 3);
                dst[1] = static_cast<std::uint8_t>(((v >> 5) & 0x3F) << 2);
                dst[2] = static_cast<std::uint8_t>(((v >> 11) & 0x1F) << 3);
            }
            break;
        case 24:
            std::memcpy(dst, src, static_cast<std::size_t>(width) * 3);
            break;
        case 32:
            for (int x = 0; x < width; ++x, dst += 3, src += 4) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
            break;
        default:
            std::memset(dst, 0, static_cast<std::size_t>(width) * 3);
            break;
    }
}

}  // namespace

PixelBuffer24::PixelBuffer24() {
    RebuildHeader(0);
}

void PixelBuffer24::Create(int newWidth, int newHeight, int bpp, bool newTopDown) {
    SetGeometry(newWidth, newHeight, bpp, newTopDown);
    RebuildHeader(0);
}

void PixelBuffer24::CreateLike(int newWidth, int newHeight, const PixelBuffer24& source) {
    Create(newWidth, newHeight, source.bitsPerPixel, source.topDown);
    palette = source.palette;
}

void PixelBuffer24::RebuildHeader(int bpp) {
    if (bpp > 0) bitsPerPixel = static_cast<std::uint16_t>(bpp);
    switch (bitsPerPixel) {
        case 1:
            paletteCount = 2;
            break;
        case 4:
            paletteCount = 16;
            break;
        case 8:
            paletteCount = 256;
            break;
        default:
            paletteCount = 0;
            break;
    }
    infoHeader = BmpInfoHeader{};
    infoHeader.width = width;
    infoHeader.height = topDown ? -height : height;
    infoHeader.bitCount = bitsPerPixel;
    infoHeader.sizeImage = static_cast<std::uint32_t>(imageSize);
    infoHeader.colorsUsed = static_cast<std::uint32_t>(paletteCount);
    infoHeader.colorsImportant = static_cast<std::uint32_t>(paletteCount);
}

void PixelBuffer24::RefreshGeometry(bool recompute) {
    if (recompute) SetGeometry(width, height, bitsPerPixel, topDown);
    RebuildHeader(0);
}

std::uint8_t PixelBuffer24::GetIndex(int x, int y) const {
    const std::ptrdiff_t offset = PixelOffset(x, y);
    if (!pixels || offset < 0 || static_cast<std::size_t>(offset) >= imageSize) return 0;
    return pixels[offset];
}

void PixelBuffer24::SetIndex(int x, int y, std::uint8_t index) {
    const std::ptrdiff_t offset = PixelOffset(x, y);
    if (pixels && offset >= 0 && static_cast<std::size_t>(offset) < imageSize)
        pixels[offset] = index;
}

void PixelBuffer24::SetColor(int x, int y, ColorValue color) {
    const std::ptrdiff_t offset = PixelOffset(x, y);
    if (!pixels || offset < 0 || static_cast<std::size_t>(offset) + 3 > imageSize) return;
    std::uint8_t* p = pixels + offset;
    p[0] = static_cast<std::uint8_t>(color);
    p[1] = static_cast<std::uint8_t>(color >> 8);
    p[2] = static_cast<std::uint8_t>(color >> 16);
}

ColorValue PixelBuffer24::GetColor(int x, int y) const {
    if (!pixels || x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::uint8_t* p = pixels + PixelOffset(x, y);
    switch (bitsPerPixel) {
        case 8: {
            const std::uint8_t* entry = palette.data() + 4 * p[0];
            return MakeColor(entry[2], entry[1], entry[0]);
        }
        case 16: {
            const unsigned v = p[0] | (p[1] << 8);
            return MakeColor(((v >> 10) & 0x1F) << 3, ((v >> 5) & 0x1F) << 3, (v & 0x1F) << 3);
        }
        case 24:
        case 32:
            return MakeColor(p[2], p[1], p[0]);
        default:
            return 0;
    }
}

void PixelBuffer24::SetPaletteRgb(const std::uint8_t* rgbTable) {
    if (!rgbTable) return;
    for (int i = 0; i < bmp::kMaxPaletteEntries; ++i) {
        palette[4 * i + 0] = rgbTable[3 * i + 2];
        palette[4 * i + 1] = rgbTable[3 * i + 1];
        palette[4 * i + 2] = rgbTable[3 * i + 0];
        palette[4 * i + 3] = 0;
    }
}

void PixelBuffer24::ConvertPixelsInto(PixelBuffer24& target) const {
    for (int y = 0; y < height; ++y) {
        ConvertRowTo24(RowPtr(y), bitsPerPixel, palette.data(), target.RowPtr(y), width);
    }
}

bool PixelBuffer24::ConvertTo24(bool topDownArgument) {
    if (!pixels) return false;
    if (bitsPerPixel == 24 && topDown == topDownArgument) return true;
    PixelBuffer24 converted;
    converted.Create(width, height, 24, topDownArgument);
    if (!ownsPixels && capacity < converted.imageSize) {
        ShowError("Not enough allocated memory to convert into 24 bits !");
        return false;
    }
    if (!converted.Allocate()) {
        ShowError("Not enough memory!");
        return false;
    }
    ConvertPixelsInto(converted);
    if (ownsPixels) {
        TakeBufferFrom(converted);
    } else {
        std::memcpy(pixels, converted.pixels, converted.imageSize);
    }
    Create(width, height, 24, topDownArgument);
    return true;
}

std::size_t PixelBuffer24::CopyRect(int x0, int y0, int x1, int y1, PixelBuffer24& target, int dx,
                                    int dy) const {
    if (bitsPerPixel != target.bitsPerPixel) return 0;
    if (x0 > width || x1 > width || y0 > height || y1 > height) return 0;
    if (dx > target.width || dx + (x1 - x0) > target.width) return 0;
    if (dy > target.height || dy + (y1 - y0) > target.height) return 0;
    if (x0 < 0 || y0 < 0 || dx < 0 || dy < 0 || x1 <= x0 || y1 <= y0) return 0;
    if (!pixels || !target.pixels) return 0;
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * (bitsPerPixel / 8);
    for (int y = y0; y < y1; ++y) {
        std::memcpy(target.PixelPtr(dx, dy + y - y0), pixels + PixelOffset(x0, y), rowBytes);
    }
    return rowBytes * static_cast<std::size_t>(y1 - y0);
}

DibView PixelBuffer24::View() const {
    DibView view;
    view.pixels = pixels;
    view.width = width;
    view.height = height;
    view.stride = stride;
    view.bitsPerPixel = bitsPerPixel;
    view.topDown = topDown;
    view.palette = palette.data();
    view.paletteCount = paletteCount;
    return view;
}

void PixelBuffer24::Draw(Surface* surface, int x, int y, int w, int h, bool clip) const {
    if (!surface || !pixels) return;
    if (clip) {
        w = std::min(w, width);
        h = std::min(h, height);
    }
    if (w < 0) w = width;
    if (h < 0) h = height;
    if (mirrorX) {
        x += w;
        w = -w;
    }
    surface->StretchDib(x, y, w, h, View());
}
