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

    int Width() const { return width; }
    int Height() const { return height; }
    int Stride() const { return stride; }
    int BitsPerPixel() const { return bitsPerPixel; }
    std::size_t ImageSize() const { return imageSize; }
    bool IsTopDown() const { return topDown; }
    bool OwnsPixels() const { return ownsPixels; }
    std::uint8_t* Pixels() { return pixels; }
    const std::uint8_t* Pixels() const { return pixels; }
    std::size_t Capacity() const { return capacity; }

    // Stores the geometry and computes stride and image size; allocates nothing.
    void SetGeometry(int newWidth, int newHeight, int bpp, bool newTopDown);
    // Owned buffer: (re)allocates `imageSize` bytes, contents undefined.
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
    std::uint8_t* RowPtr(int y) { return pixels + PixelOffset(0, y); }
    const std::uint8_t* RowPtr(int y) const { return pixels + PixelOffset(0, y); }

protected:
    void TakeBufferFrom(DibBuffer& other);

    int width = 0;
    int height = 0;
    int stride = 0;
    std::uint16_t bitsPerPixel = 24;
    std::size_t imageSize = 0;
    bool topDown = false;
    bool ownsPixels = true;
    std::uint8_t* pixels = nullptr;
    std::size_t capacity = 0;  // bytes available at `pixels`

private:
    std::unique_ptr<std::uint8_t[]> owned_;
};
