#include "bitmap/DibBuffer.h"

#include <new>
#include <utility>

#include "bitmap/BmpFormat.h"

void DibBuffer::SetGeometry(int newWidth, int newHeight, int bpp, bool newTopDown) {
    width_ = newWidth < 0 ? 0 : newWidth;
    height_ = newHeight < 0 ? 0 : newHeight;
    bitsPerPixel_ = static_cast<std::uint16_t>(bpp);
    topDown_ = newTopDown;
    stride_ = static_cast<int>(bmp::RowSize(width_, bitsPerPixel_));
    imageSize_ = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
}

bool DibBuffer::Allocate() {
    if (!ownsPixels_) return pixels_ != nullptr;
    // A buffer that is already large enough is reused: the contents are
    // undefined after Allocate either way.
    if (owned_ && capacity_ >= imageSize_ && imageSize_ > 0) return true;
    FreePixels();
    // Zeroed, so that row padding never carries stale memory into a file.
    owned_.reset(new (std::nothrow) std::uint8_t[imageSize_ > 0 ? imageSize_ : 1]());
    pixels_ = owned_.get();
    capacity_ = pixels_ ? imageSize_ : 0;
    return pixels_ != nullptr;
}

void DibBuffer::FreePixels() {
    if (!ownsPixels_) return;
    owned_.reset();
    pixels_ = nullptr;
    capacity_ = 0;
}

void DibBuffer::Attach(std::uint8_t* buffer, std::size_t bufferCapacity, bool owns) {
    FreePixels();
    ownsPixels_ = owns;
    if (owns) owned_.reset(buffer);
    pixels_ = buffer;
    capacity_ = buffer ? bufferCapacity : 0;
}

void DibBuffer::TakeBufferFrom(DibBuffer& other) {
    FreePixels();
    ownsPixels_ = true;
    owned_ = std::move(other.owned_);
    pixels_ = std::exchange(other.pixels_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
}

std::ptrdiff_t DibBuffer::PixelOffset(int x, int y, int strideOverride, int bppOverride) const {
    const std::ptrdiff_t rowBytes = strideOverride < 0 ? stride_ : strideOverride;
    const int depth = bppOverride < 0 ? bitsPerPixel_ : bppOverride;
    const std::ptrdiff_t row = topDown_ ? y : height_ - 1 - y;
    return row * rowBytes + static_cast<std::ptrdiff_t>(x) * (depth / 8);
}

std::uint8_t* DibBuffer::PixelPtr(int x, int y, int strideOverride, int bppOverride) {
    return pixels_ + PixelOffset(x, y, strideOverride, bppOverride);
}
