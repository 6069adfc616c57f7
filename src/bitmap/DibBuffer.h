#pragma once
// The geometry and pixel storage of a device-independent bitmap: rows padded
// to 4 bytes, stored bottom-up or top-down, owned or attached from outside.

#include <cstddef>
#include <cstdint>
#include <memory>

class DibBuffer {
public:
    DibBuffer() = default;
    virtual ~DibBuffer() = default;
    DibBuffer(const DibBuffer&) = delete;
    DibBuffer& operator=(const DibBuffer&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    std::size_t ImageSize() const { return imageSize_; }
    bool IsTopDown() const { return topDown_; }
    bool OwnsPixels() const { return ownsPixels_; }
    std::uint8_t* Pixels() { return pixels_; }
    const std::uint8_t* Pixels() const { return pixels_; }
    std::size_t Capacity() const { return capacity_; }

    // Stores the geometry and computes stride and image size; allocates nothing.
    void SetGeometry(int newWidth, int newHeight, int bpp, bool newTopDown);
    // Owned buffer: (re)allocates ImageSize() bytes, contents undefined.
    // Attached buffer: kept. True when there are pixels.
    bool Allocate();
    // Frees an owned buffer; an attached one is left alone.
    void FreePixels();
    // Takes `buffer` of `bufferCapacity` bytes, owned or not.
    void Attach(std::uint8_t* buffer, std::size_t bufferCapacity, bool owns);

    // Byte offset of picture pixel (x, y), y = 0 at the top whatever the
    // storage order; a negative override means the image's own value.
    std::ptrdiff_t PixelOffset(int x, int y, int strideOverride = -1, int bppOverride = -1) const;
    std::uint8_t* PixelPtr(int x, int y, int strideOverride = -1, int bppOverride = -1);
    // Start of picture row y.
    std::uint8_t* RowPtr(int y) { return pixels_ + PixelOffset(0, y); }
    const std::uint8_t* RowPtr(int y) const { return pixels_ + PixelOffset(0, y); }

protected:
    void TakeBufferFrom(DibBuffer& other);
    // Takes another depth without touching stride or image size: the caller
    // recomputes the geometry when the pixels are to follow.
    void SetBitsPerPixel(int bpp) { bitsPerPixel_ = static_cast<std::uint16_t>(bpp); }

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::uint16_t bitsPerPixel_ = 24;
    std::size_t imageSize_ = 0;
    bool topDown_ = false;
    bool ownsPixels_ = true;
    std::uint8_t* pixels_ = nullptr;
    std::size_t capacity_ = 0;  // bytes available at `pixels`
    std::unique_ptr<std::uint8_t[]> owned_;
};
