#include "bitmap/RasterSurface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

RasterSurface::RasterSurface(int width, int height) {
    canvas_.Create(width, height, 24, true);
    canvas_.Allocate();
    std::memset(canvas_.Pixels(), 0, canvas_.ImageSize());
}

void RasterSurface::FillRect(int x, int y, int w, int h, ColorValue color) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + w, canvas_.Width());
    const int bottom = std::min(y + h, canvas_.Height());
    for (int py = top; py < bottom; ++py) {
        for (int px = left; px < right; ++px)
            canvas_.SetColor(px, py, color);
    }
}

// For each destination column (or row) of an extent, the source column it shows.
static std::vector<int> NearestSourceMap(int extent, int sourceSize) {
    const int length = std::abs(extent);
    std::vector<int> map(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const int source = static_cast<int>(static_cast<long long>(i) * sourceSize / length);
        map[static_cast<std::size_t>(i)] = extent < 0 ? sourceSize - 1 - source : source;
    }
    return map;
}

void RasterSurface::StretchDib(int x, int y, int w, int h, const DibView& picture) {
    if (!picture.pixels || w == 0 || h == 0 || picture.width <= 0 || picture.height <= 0) return;
    const int left = w < 0 ? x + w : x;
    const int top = h < 0 ? y + h : y;
    const std::vector<int> columns = NearestSourceMap(w, picture.width);
    const std::vector<int> rows = NearestSourceMap(h, picture.height);
    for (int j = 0; j < static_cast<int>(rows.size()); ++j) {
        const int py = top + j;
        if (py < 0 || py >= canvas_.Height()) continue;
        for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
            const int px = left + i;
            if (px < 0 || px >= canvas_.Width()) continue;
            canvas_.SetColor(px, py,
                             picture.ColorAt(columns[static_cast<std::size_t>(i)],
                                             rows[static_cast<std::size_t>(j)]));
        }
    }
}
