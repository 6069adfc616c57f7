#include "BmpBuilder.h"

#include <algorithm>
#include <cstdlib>

Bytes BuildBmp(const BmpSpec& spec) {
    Bytes out;
    const std::uint32_t headersEnd =
        14 + std::max(spec.headerSize, 40 + static_cast<std::uint32_t>(spec.masks.size()));
    const std::uint32_t offset =
        spec.dataOffset.value_or(headersEnd + static_cast<std::uint32_t>(spec.palette.size()));
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(offset + spec.pixels.size()));
    PutU32(out, 0);
    PutU32(out, offset);
    PutU32(out, spec.headerSize);
    PutU32(out, static_cast<std::uint32_t>(spec.width));
    PutU32(out, static_cast<std::uint32_t>(spec.height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint16_t>(spec.bitsPerPixel));
    PutU32(out, spec.compression);
    PutU32(out, static_cast<std::uint32_t>(spec.pixels.size()));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, spec.colorsUsed);
    PutU32(out, spec.colorsUsed);
    out.insert(out.end(), spec.masks.begin(), spec.masks.end());
    while (out.size() < headersEnd)
        out.push_back(0);
    out.insert(out.end(), spec.palette.begin(), spec.palette.end());
    while (out.size() < offset)
        out.push_back(0);
    out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
    return out;
}

Bytes StoredRows(int width, int height, int bytesPerPixel,
                 const std::function<Bytes(int x, int y)>& pixel) {
    const int rows = std::abs(height);
    const int stride = (width * bytesPerPixel * 8 + 31) / 32 * 4;
    Bytes out;
    for (int r = 0; r < rows; ++r) {
        const int y = height < 0 ? r : rows - 1 - r;
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const Bytes p = pixel(x, y);
            row.insert(row.end(), p.begin(), p.end());
        }
        row.resize(static_cast<std::size_t>(stride), 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes Bmp24(int width, int height, const std::function<ColorValue(int x, int y)>& color) {
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.pixels = StoredRows(width, height, 3, [&](int x, int y) {
        const ColorValue c = color(x, y);
        return Bytes{static_cast<std::uint8_t>(BlueOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
                     static_cast<std::uint8_t>(RedOf(c))};
    });
    return BuildBmp(spec);
}

Bytes Bmp8(int width, int height, const Bytes& palette,
           const std::function<int(int x, int y)>& index) {
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitsPerPixel = 8;
    spec.palette = palette;
    spec.pixels = StoredRows(width, height, 1, [&](int x, int y) {
        return Bytes{static_cast<std::uint8_t>(index(x, y))};
    });
    return BuildBmp(spec);
}
