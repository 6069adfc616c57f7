#include "bitmap/BmpIndexedPixels.h"

#include <algorithm>
#include <cstring>

#include "bitmap/BmpFormat.h"

void ExpandIndexRow(const std::uint8_t* src, int bitsPerPixel, int width, std::uint8_t* dst) {
    if (bitsPerPixel == 1) {
        for (int x = 0; x < width; ++x)
            dst[x] = static_cast<std::uint8_t>((src[x >> 3] >> (7 - (x & 7))) & 1);
    } else {
        for (int x = 0; x < width; ++x)
            dst[x] = static_cast<std::uint8_t>((x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4);
    }
}

bool DecodeBmpRle(std::span<const std::uint8_t> data, int bitsPerPixel, int width, int height,
                  std::uint8_t* indices, std::size_t stride, std::string& reason) {
    const bool fourBits = bitsPerPixel == 4;
    // Some writers code the padding of a stored row as pixels too: runs may
    // reach into it, and what falls there is dropped.
    const std::int64_t rowLimit = fourBits ? bmp::RowSize(width, 4) * 2 : bmp::RowSize(width, 8);
    std::size_t pos = 0;
    int x = 0;
    int y = 0;
    // Pixels may go only inside the current row; returns how many to keep.
    auto place = [&](int count, int& kept) {
        if (y >= height) {
            reason = "pixels past the last row";
            return false;
        }
        if (count > rowLimit - x) {
            reason = "a run past the end of a row";
            return false;
        }
        kept = std::max(0, std::min(count, width - x));
        return true;
    };
    for (;;) {
        if (data.size() - pos < 2) {
            // Data that stop after the last pixel still hold the whole picture.
            if (y >= height || (y == height - 1 && x == width)) return true;
            reason = "truncated";
            return false;
        }
        const int count = data[pos];
        const int value = data[pos + 1];
        pos += 2;
        std::uint8_t* row = indices + static_cast<std::size_t>(y) * stride;
        if (count > 0) {
            int kept = 0;
            if (!place(count, kept)) return false;
            if (fourBits) {
                for (int i = 0; i < kept; ++i)
                    row[x + i] = static_cast<std::uint8_t>((i & 1) ? value & 0x0F : value >> 4);
            } else {
                std::memset(row + x, value, static_cast<std::size_t>(kept));
            }
            x += count;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                if (++y > height) {
                    reason = "a line end past the last row";
                    return false;
                }
                break;
            case 1:  // end of bitmap
                return true;
            case 2: {  // delta: move right and up
                if (data.size() - pos < 2) {
                    reason = "truncated";
                    return false;
                }
                x += data[pos];
                y += data[pos + 1];
                pos += 2;
                if (x > width || y > height || (y == height && x > 0)) {
                    reason = "a delta past the picture";
                    return false;
                }
                break;
            }
            default: {  // `value` pixels stored as they are, padded to 16 bits
                const std::size_t bytes =
                    fourBits ? (static_cast<std::size_t>(value) + 1) / 2 : value;
                const std::size_t padded = bytes + (bytes & 1);
                if (data.size() - pos < padded) {
                    reason = "truncated";
                    return false;
                }
                int kept = 0;
                if (!place(value, kept)) return false;
                const std::uint8_t* src = data.data() + pos;
                if (fourBits) {
                    ExpandIndexRow(src, 4, kept, row + x);
                } else {
                    std::memcpy(row + x, src, static_cast<std::size_t>(kept));
                }
                x += value;
                pos += padded;
                break;
            }
        }
    }
}
