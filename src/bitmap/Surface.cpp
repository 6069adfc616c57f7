#include "bitmap/Surface.h"

#include "bitmap/PixelReader.h"

ColorValue DibView::ColorAt(int x, int y) const {
    const int row = topDown ? y : height - 1 - y;
    const std::uint8_t* p = pixels + static_cast<std::ptrdiff_t>(row) * stride;
    if (bitsPerPixel == 24) {
        p += 3 * x;
        return MakeColor(p[2], p[1], p[0]);
    }
    if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 32) return 0;
    const BitFields layout = masks == BitFields{} ? BitFields::Default(bitsPerPixel) : masks;
    return PixelReader(bitsPerPixel, layout, palette).ColorAt(p + x * (bitsPerPixel / 8));
}
