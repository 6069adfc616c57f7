#include "bitmap/DibBuffer.h"

#include <new>
#include <utility>

#include "bitmap/BmpFormat.h"

void DibBuffer::SetGeometry(int newWidth, int newHeight, int bpp, bool newTopDown) {
    width = newWidth < 0 ? 0 : newWidth;
    height = newHeight < 0 ? 0 : newHeight;
    bitsPerPixel = static_cast<std::uint16_t>(bpp);
    topDown = newTopDown;
    stride = static_cast<int>(bmp::RowSize(width, bitsPerPixel));
    imageSize = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
}

bool DibBuffer::Allocate() {
    if (!ownsPixels) return pixels != nullptr;
    // A buffer that is already large enough is reused: the contents are
    // undefined after Allocate either way.
    if (owned_ && capacity >= imageSize && imageSize > 0) return true;
    FreePixels();
    // Zeroed, so that row padding never carries stale memory into a file.
    owned_.reset(new (std::nothrow) std::uint8_t[imageSize > 0 ? imageSize : 1]());
    pixels = owned_.get();
    capacity = pixels ? imageSize : 0;
    return pixels != nullptr;
}

void DibBuffer::FreePixels() {
    if (!ownsPixels) return;
    owned_.reset();
    pixels = nullptr;
    capacity = 0;
}

void DibBuffer::Attach(std::uint8_t* buffer, std::size_t bufferCapacity, bool owns) {
    FreePixels();
    ownsPixels = owns;
    if (owns) owned_.reset(buffer);
    pixels = buffer;
    capacity = buffer ? bufferCapacity : 0;
}

void DibBuffer::TakeBufferFrom(DibBuffer& other) {
    FreePixels();
    ownsPixels = true;
    owned_ = std::move(other.owned_);
    pixels = std::exchange(other.pixels, nullptr);
    capacity = std::exchange(other.capacity, 0);
}

std::ptrdiff_t DibBuffer::PixelOffset(int x, int y, int strideOverride, int bppOverride) const {
    const std::ptrdiff_t rowBytes = strideOverride < 0 ? stride : strideOverride;
    const int depth = bppOverride < 0 ? bitsPerPixel : bppOverride;
    const std::ptrdiff_t row = topDown ? y : height - 1 - y;
    return row * rowBytes + static_cast<std::ptrdiff_t>(x) * (depth / 8);
}

std::uint8_t* DibBuffer::PixelPtr(int x, int y, int strideOverride, int bppOverride) {
    return pixels + PixelOffset(x, y, strideOverride, bppOverride);
}
