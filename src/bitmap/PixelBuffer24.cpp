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
    bitFields_ = BitFields::Default(bpp);
    RebuildHeader(0);
}

void PixelBuffer24::CreateLike(int newWidth, int newHeight, const PixelBuffer24& source) {
    Create(newWidth, newHeight, source.BitsPerPixel(), source.IsTopDown());
    palette_ = source.palette_;
    SetColorMasks(source.bitFields_);
}

void PixelBuffer24::SetColorMasks(const BitFields& masks) {
    bitFields_ = masks;
    RebuildHeader(0);
}

void PixelBuffer24::RebuildHeader(int bpp) {
    if (bpp > 0 && bpp != BitsPerPixel()) {
        SetBitsPerPixel(bpp);
        bitFields_ = BitFields::Default(bpp);
    }
    switch (BitsPerPixel()) {
        case 1:
            paletteCount_ = 2;
            break;
        case 4:
            paletteCount_ = 16;
            break;
        case 8:
            paletteCount_ = 256;
            break;
        default:
            paletteCount_ = 0;
            break;
    }
    infoHeader_ = BmpInfoHeader{};
    infoHeader_.width = Width();
    infoHeader_.height = IsTopDown() ? -Height() : Height();
    infoHeader_.bitCount = BitsPerPixel();
    infoHeader_.compression = bitFields_ == BitFields::Default(BitsPerPixel())
                                  ? bmp::kCompressionRgb
                                  : bmp::kCompressionBitFields;
    infoHeader_.sizeImage = static_cast<std::uint32_t>(ImageSize());
    infoHeader_.colorsUsed = static_cast<std::uint32_t>(paletteCount_);
    infoHeader_.colorsImportant = static_cast<std::uint32_t>(paletteCount_);
}

void PixelBuffer24::RefreshGeometry(bool recompute) {
    if (recompute) SetGeometry(Width(), Height(), BitsPerPixel(), IsTopDown());
    RebuildHeader(0);
}

std::uint8_t PixelBuffer24::GetIndex(int x, int y) const {
    const std::ptrdiff_t offset = PixelOffset(x, y);
    if (!Pixels() || offset < 0 || static_cast<std::size_t>(offset) >= ImageSize()) return 0;
    return Pixels()[offset];
}

void PixelBuffer24::SetIndex(int x, int y, std::uint8_t index) {
    const std::ptrdiff_t offset = PixelOffset(x, y);
    if (Pixels() && offset >= 0 && static_cast<std::size_t>(offset) < ImageSize())
        Pixels()[offset] = index;
}

void PixelBuffer24::SetColor(int x, int y, ColorValue color) {
    const std::ptrdiff_t offset = PixelOffset(x, y);
    if (!Pixels() || offset < 0 || static_cast<std::size_t>(offset) + 3 > ImageSize()) return;
    std::uint8_t* p = Pixels() + offset;
    p[0] = static_cast<std::uint8_t>(color);
    p[1] = static_cast<std::uint8_t>(color >> 8);
    p[2] = static_cast<std::uint8_t>(color >> 16);
}

ColorValue PixelBuffer24::GetColor(int x, int y) const {
    if (!Pixels() || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return Reader().ColorAt(Pixels() + PixelOffset(x, y));
}

PixelReader PixelBuffer24::Reader() const {
    return PixelReader(BitsPerPixel(), bitFields_, palette_.data());
}

void PixelBuffer24::SetPaletteRgb(const std::uint8_t* rgbTable) {
    if (!rgbTable) return;
    for (int i = 0; i < bmp::kMaxPaletteEntries; ++i) {
        palette_[4 * i + 0] = rgbTable[3 * i + 2];
        palette_[4 * i + 1] = rgbTable[3 * i + 1];
        palette_[4 * i + 2] = rgbTable[3 * i + 0];
        palette_[4 * i + 3] = 0;
    }
}

void PixelBuffer24::ConvertPixelsInto(PixelBuffer24& target) const {
    const PixelReader reader = Reader();
    for (int y = 0; y < Height(); ++y)
        reader.RowTo24(RowPtr(y), target.RowPtr(y), Width());
}

bool PixelBuffer24::ConvertTo24(bool topDownArgument) {
    if (!Pixels()) return false;
    if (BitsPerPixel() == 24 && IsTopDown() == topDownArgument) return true;
    PixelBuffer24 converted;
    converted.Create(Width(), Height(), 24, topDownArgument);
    if (!OwnsPixels() && Capacity() < converted.ImageSize()) {
        ShowError("Not enough allocated memory to convert into 24 bits !");
        return false;
    }
    if (!converted.Allocate()) {
        ShowError("Not enough memory!");
        return false;
    }
    ConvertPixelsInto(converted);
    if (OwnsPixels()) {
        TakeBufferFrom(converted);
    } else {
        std::memcpy(Pixels(), converted.Pixels(), converted.ImageSize());
    }
    Create(Width(), Height(), 24, topDownArgument);
    return true;
}

std::size_t PixelBuffer24::CopyRect(int x0, int y0, int x1, int y1, PixelBuffer24& target, int dx,
                                    int dy) const {
    if (BitsPerPixel() != target.BitsPerPixel()) return 0;
    if (x0 > Width() || x1 > Width() || y0 > Height() || y1 > Height()) return 0;
    if (dx > target.Width() || dx + (x1 - x0) > target.Width()) return 0;
    if (dy > target.Height() || dy + (y1 - y0) > target.Height()) return 0;
    if (x0 < 0 || y0 < 0 || dx < 0 || dy < 0 || x1 <= x0 || y1 <= y0) return 0;
    if (!Pixels() || !target.Pixels()) return 0;
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * (BitsPerPixel() / 8);
    for (int y = y0; y < y1; ++y) {
        std::memcpy(target.PixelPtr(dx, dy + y - y0), Pixels() + PixelOffset(x0, y), rowBytes);
    }
    return rowBytes * static_cast<std::size_t>(y1 - y0);
}

DibView PixelBuffer24::View() const {
    DibView view;
    view.pixels = Pixels();
    view.width = Width();
    view.height = Height();
    view.stride = Stride();
    view.bitsPerPixel = BitsPerPixel();
    view.topDown = IsTopDown();
    view.palette = palette_.data();
    view.paletteCount = paletteCount_;
    view.masks = bitFields_;
    return view;
}

void PixelBuffer24::Draw(Surface* surface, int x, int y, int w, int h, bool clip) const {
    if (!surface || !Pixels()) return;
    if (clip) {
        w = std::min(w, Width());
        h = std::min(h, Height());
    }
    if (w < 0) w = Width();
    if (h < 0) h = Height();
    if (mirrorX_) {
        x += w;
        w = -w;
    }
    surface->StretchDib(x, y, w, h, View());
}
