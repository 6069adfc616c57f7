#include "bitmap/Surface.h"

ColorValue DibView::ColorAt(int x, int y) const {
    const int row = topDown ? y : height - 1 - y;
    const std::uint8_t* p = pixels + static_cast<std::ptrdiff_t>(row) * stride;
    switch (bitsPerPixel) {
        case 8: {
            const int index = p[x];
            if (!palette || index >= 256) return 0;
            const std::uint8_t* entry = palette + 4 * index;
            return MakeColor(entry[2], entry[1], entry[0]);
        }
        case 16: {  // shown in the 5-5-5 layout, as an uncompressed 16-bit bitmap is
            const int v = p[2 * x] | (p[2 * x + 1] << 8);
            return MakeColor(((v >> 10) & 0x1F) << 3, ((v >> 5) & 0x1F) << 3, (v & 0x1F) << 3);
        }
        case 24:
            p += 3 * x;
            return MakeColor(p[2], p[1], p[0]);
        case 32:
            p += 4 * x;
            return MakeColor(p[2], p[1], p[0]);
        default:
            return 0;
    }
}
