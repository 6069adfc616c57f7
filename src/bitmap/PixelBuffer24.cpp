#include "bitmap/PixelBuffer24.h"

#include <algorithm>
#include <cstring>

#include "bitmap/PixelReader.h"
#include "support/Messages.h"

PixelBuffer24::PixelBuffer24() {
    RebuildHeader(0);
}

void PixelBuffer24::Create(int newWidth, int newHeight, int bpp, bool newTopDown) {
    SetGeometry(newWidth, newHeight, bpp, newTopDown);
    bitFields = BitFields::Default(bpp);
    RebuildHeader(0);
}

void PixelBuffer24::CreateLike(int newWidth, int newHeight, const PixelBuffer24& source) {
    Create(newWidth, newHeight, source.bitsPerPixel, source.topDown);
    palette = source.palette;
    SetColorMasks(source.bitFields);
}

void PixelBuffer24::SetColorMasks(const BitFields& masks) {
    bitFields = masks;
    RebuildHeader(0);
}

void PixelBuffer24::RebuildHeader(int bpp) {
    if (bpp > 0 && bpp != bitsPerPixel) {
        bitsPerPixel = static_cast<std::uint16_t>(bpp);
        bitFields = BitFields::Default(bpp);
    }
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
    infoHeader.compression = bitFields == BitFields::Default(bitsPerPixel)
                                 ? bmp::kCompressionRgb
                                 : bmp::kCompressionBitFields;
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
    return Reader().ColorAt(pixels + PixelOffset(x, y));
}

PixelReader PixelBuffer24::Reader() const {
    return PixelReader(bitsPerPixel, bitFields, palette.data());
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
    const PixelReader reader = Reader();
    for (int y = 0; y < height; ++y)
        reader.RowTo24(RowPtr(y), target.RowPtr(y), width);
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
    view.masks = bitFields;
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
