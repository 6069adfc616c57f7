#include "sprite/IconDecoder.h"

#include <algorithm>
#include <cstring>

#include "bitmap/PixelBuffer24.h"
#include "sprite/PixelExpand.h"
#include "sprite/S16Format.h"

namespace {

// The picture's rows by pointer: row y starts at top + y x step, whichever
// way up the picture is stored, with no call per row.
struct Rows {
    explicit Rows(PixelBuffer24& picture)
        : top(picture.RowPtr(0)),
          step(picture.Height() > 1 ? picture.RowPtr(1) - picture.RowPtr(0) : 0),
          width(picture.Width()),
          height(picture.Height()),
          padding(picture.Stride() - 3 * picture.Width()) {}
    std::uint8_t* Row(int y) const { return top + step * y; }

    std::uint8_t* top;
    std::ptrdiff_t step;
    int width;
    int height;
    int padding;
};

std::int64_t DecodeRuns(std::span<const std::uint8_t> data, std::int64_t total,
                        const PixelRows& area) {
    return ChosenRunsFunction()(data.data(), data.size() / 3, total, area);
}

std::int64_t DecodeRaw(std::span<const std::uint8_t> data, std::int64_t total,
                       const PixelRows& area) {
    const std::int64_t words =
        std::min<std::int64_t>(total, static_cast<std::int64_t>(data.size() / 2));
    const ExpandFunction expand = ChosenExpandFunction();
    // Whole rows in one call, then the start of one more.
    const int rows = static_cast<int>(std::min<std::int64_t>(words / area.width, area.rows));
    expand(data.data(), area.width, rows, area.row, area.step);
    std::int64_t placed = static_cast<std::int64_t>(rows) * area.width;
    const int rest = static_cast<int>(std::min<std::int64_t>(words - placed, area.width - 1));
    if (rest > 0 && rows < area.rows) {
        expand(data.data() + 2 * placed, rest, 1, area.row + area.step * rows, 0);
        placed += rest;
    }
    return placed;
}

// Where the stored area lies in the picture.
struct Area {
    int x0 = 0;
    int y0 = 0;
    int w = 0;
    std::int64_t total = 0;
};

Area PlaceArea(const S16Icon& r, int tw, int th) {
    Area a;
    a.total = static_cast<std::int64_t>(r.Width) * r.Height;
    a.w = std::max(1, std::min(r.Width, tw));
    const int h = std::min(r.Height, th);
    a.x0 = std::max(0, r.StartX);
    if (static_cast<std::int64_t>(a.x0) + a.w > tw) a.x0 = (tw - a.w) / 2;
    a.y0 = std::max(0, r.StartY);
    if (static_cast<std::int64_t>(a.y0) + h > th) a.y0 = (th - h) / 2;
    if (a.y0 < 0) a.y0 = 0;
    return a;
}

std::int64_t Decode(const S16Icon& r, std::span<const std::uint8_t> data, const Rows& rows,
                    const Area& a) {
    if (a.total < 1 || rows.width < 1 || a.y0 >= rows.height) return 0;
    // The stored area's rows, from its top left pixel down to the picture's bottom.
    const PixelRows area{rows.Row(a.y0) + 3 * static_cast<std::ptrdiff_t>(a.x0), rows.step, a.w,
                         rows.height - a.y0};
    return r.IsRunLength() ? DecodeRuns(data, a.total, area) : DecodeRaw(data, a.total, area);
}

// Sets the key colour in row y outside columns [from, to) and zeroes the
// row's padding.
void FillRowOutside(const Rows& rows, int y, int from, int to) {
    const std::uint32_t key = s16::kKeyColor;
    std::uint8_t* row = rows.Row(y);
    if (from >= to) {
        FillPixels(row, rows.width, key);
    } else {
        if (from > 0) FillPixels(row, from, key);
        if (to < rows.width)
            FillPixels(row + 3 * static_cast<std::ptrdiff_t>(to), rows.width - to, key);
    }
    if (rows.padding > 0)
        std::memset(row + 3 * static_cast<std::ptrdiff_t>(rows.width), 0,
                    static_cast<std::size_t>(rows.padding));
}

}  // namespace

void FillWithKeyColour(PixelBuffer24& picture) {
    if (!picture.Pixels()) return;
    const Rows rows(picture);
    for (int y = 0; y < rows.height; ++y)
        FillRowOutside(rows, y, 0, 0);
}

int DecodeIconData(const S16Icon& r, std::span<const std::uint8_t> data, PixelBuffer24& picture) {
    if (!picture.Pixels()) return 0;
    const Rows rows(picture);
    return static_cast<int>(Decode(r, data, rows, PlaceArea(r, rows.width, rows.height)));
}

int DecodeIcon(const S16Icon& r, std::span<const std::uint8_t> data, PixelBuffer24& picture) {
    if (!picture.Pixels()) return 0;
    const Rows rows(picture);
    const Area a = PlaceArea(r, rows.width, rows.height);
    const std::int64_t placed = Decode(r, data, rows, a);
    // The placed pixels are whole rows of the area from y0, then the start of
    // one more row; everything else takes the key colour.
    const int fullRows = static_cast<int>(placed / a.w);
    const int rest = static_cast<int>(placed % a.w);
    // A record of negative height can place the area below the picture.
    const int y0 = std::min(a.y0, rows.height);
    const int y1 = y0 + fullRows;
    for (int y = 0; y < y0; ++y)
        FillRowOutside(rows, y, 0, 0);
    if (a.x0 > 0 || a.x0 + a.w < rows.width || rows.padding > 0) {
        for (int y = y0; y < y1; ++y)
            FillRowOutside(rows, y, a.x0, a.x0 + a.w);
    }
    if (y1 < rows.height) FillRowOutside(rows, y1, a.x0, a.x0 + rest);
    for (int y = y1 + 1; y < rows.height; ++y)
        FillRowOutside(rows, y, 0, 0);
    return static_cast<int>(placed);
}
