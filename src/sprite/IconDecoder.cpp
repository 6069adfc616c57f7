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

// Walks the stored area in coding order without any division: columns
// x0 .. x0 + w - 1 of rows y0, y0 + 1, ..., until the picture's bottom.
class AreaCursor {
public:
    AreaCursor(const Rows& rows, int x0, int y0, int w)
        : step_(rows.step), w_(w), rowsLeft_(rows.height - y0) {
        if (rowsLeft_ > 0) row_ = rows.Row(y0) + 3 * x0;
    }

    bool Inside() const { return rowsLeft_ > 0; }
    // Pixels left in the current row, and where the next one goes.
    int RowSpan() const { return w_ - column_; }
    std::uint8_t* Here() const { return row_ + 3 * column_; }
    int RowsLeft() const { return rowsLeft_; }
    std::ptrdiff_t Step() const { return step_; }
    // Moves on by `n` whole rows from the start of a row.
    void AdvanceRows(int n) {
        row_ += step_ * n;
        rowsLeft_ -= n;
    }
    // Moves on by `n` pixels, at most the row span.
    void Advance(int n) {
        column_ += n;
        if (column_ < w_) return;
        column_ = 0;
        row_ += step_;
        --rowsLeft_;
    }

private:
    std::ptrdiff_t step_;
    int w_;
    int rowsLeft_;
    int column_ = 0;
    std::uint8_t* row_ = nullptr;
};

std::int64_t DecodeRuns(std::span<const std::uint8_t> data, std::int64_t total,
                        const AreaCursor& cursor) {
    if (!cursor.Inside()) return 0;
    const RunTarget target{cursor.Here(), cursor.Step(), cursor.RowSpan(), cursor.RowsLeft()};
    return ChosenRunsFunction()(data.data(), data.size() / 3, total, target);
}

std::int64_t DecodeRaw(std::span<const std::uint8_t> data, std::int64_t total, AreaCursor& cursor) {
    const std::int64_t words =
        std::min<std::int64_t>(total, static_cast<std::int64_t>(data.size() / 2));
    if (!cursor.Inside()) return 0;
    const ExpandFunction expand = ChosenExpandFunction();
    // Whole rows in one call, then the start of one more.
    const int w = cursor.RowSpan();
    const int rows = static_cast<int>(std::min<std::int64_t>(words / w, cursor.RowsLeft()));
    expand(data.data(), w, rows, cursor.Here(), cursor.Step());
    cursor.AdvanceRows(rows);
    std::int64_t placed = static_cast<std::int64_t>(rows) * w;
    const int rest = static_cast<int>(std::min<std::int64_t>(words - placed, w - 1));
    if (rest > 0 && cursor.Inside()) {
        expand(data.data() + 2 * placed, rest, 1, cursor.Here(), 0);
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
    if (a.total < 1 || rows.width < 1 || rows.height < 1) return 0;
    AreaCursor cursor(rows, a.x0, a.y0, a.w);
    return r.IsRunLength() ? DecodeRuns(data, a.total, cursor) : DecodeRaw(data, a.total, cursor);
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
    const int y1 = a.y0 + fullRows;
    for (int y = 0; y < a.y0; ++y)
        FillRowOutside(rows, y, 0, 0);
    if (a.x0 > 0 || a.x0 + a.w < rows.width || rows.padding > 0) {
        for (int y = a.y0; y < y1; ++y)
            FillRowOutside(rows, y, a.x0, a.x0 + a.w);
    }
    if (y1 < rows.height) FillRowOutside(rows, y1, a.x0, a.x0 + rest);
    for (int y = y1 + 1; y < rows.height; ++y)
        FillRowOutside(rows, y, 0, 0);
    return static_cast<int>(placed);
}
