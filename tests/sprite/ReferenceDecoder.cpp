#include "ReferenceDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "sprite/S16Format.h"
#include "support/ByteIo.h"

namespace {

// Walks the stored area in coding order without any division: columns
// x0 .. x0 + w - 1 of rows y0, y0 + 1, ..., until the picture's bottom.
class AreaCursor {
public:
    AreaCursor(PixelBuffer24& picture, int x0, int y0, int w)
        : picture_(picture), x0_(x0), w_(w), y_(y0) {
        if (y_ < picture_.Height()) row_ = picture_.RowPtr(y_) + 3 * x0_;
    }

    bool Inside() const { return row_ != nullptr; }
    // Pixels left in the current row, and where the next one goes.
    int RowSpan() const { return w_ - column_; }
    std::uint8_t* Here() const { return row_ + 3 * column_; }
    // Moves on by `n` pixels, at most the row span.
    void Advance(int n) {
        column_ += n;
        if (column_ < w_) return;
        column_ = 0;
        row_ = ++y_ < picture_.Height() ? picture_.RowPtr(y_) + 3 * x0_ : nullptr;
    }

private:
    PixelBuffer24& picture_;
    int x0_;
    int w_;
    int y_;
    int column_ = 0;
    std::uint8_t* row_ = nullptr;
};

// The 24-bit pixel of an RGB565 word in the low three bytes (blue first).
inline std::uint32_t ExpandWord(unsigned v) {
    return ((v & 0x1Fu) << 3) | (((v >> 5) & 0x3Fu) << 10) | (((v >> 11) & 0x1Fu) << 19);
}

// Every word's pixel, looked up instead of computed on the hot paths.
const std::uint32_t* ExpandTable() {
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(65536);
        for (unsigned v = 0; v < t.size(); ++v)
            t[v] = ExpandWord(v);
        return t;
    }();
    return table.data();
}

// Stores pixels with 4-byte writes that overlap the next pixel; the last
// pixel of a stretch is written with 3 bytes so nothing past it is touched.
inline void PutPixel(std::uint8_t* p, std::uint32_t pixel) {
    std::memcpy(p, &pixel, 4);
}
inline void PutLastPixel(std::uint8_t* p, std::uint32_t pixel) {
    p[0] = static_cast<std::uint8_t>(pixel);
    p[1] = static_cast<std::uint8_t>(pixel >> 8);
    p[2] = static_cast<std::uint8_t>(pixel >> 16);
}

void FillPixels(std::uint8_t* p, int n, std::uint32_t pixel) {
    for (int k = 1; k < n; ++k, p += 3)
        PutPixel(p, pixel);
    PutLastPixel(p, pixel);
}

std::int64_t DecodeRuns(std::span<const std::uint8_t> data, std::int64_t total,
                        AreaCursor& cursor) {
    std::int64_t placed = 0;
    const std::uint8_t* at = data.data();
    const std::uint8_t* end = at + data.size() / 3 * 3;
    while (placed < total && at != end && cursor.Inside()) {
        const std::uint32_t pixel = ExpandWord(at[1] | (at[2] << 8));
        std::int64_t n = std::min<std::int64_t>(at[0], total - placed);
        at += 3;
        while (n > 0 && cursor.Inside()) {
            const int m = static_cast<int>(std::min<std::int64_t>(n, cursor.RowSpan()));
            FillPixels(cursor.Here(), m, pixel);
            cursor.Advance(m);
            placed += m;
            n -= m;
        }
    }
    return placed;
}

std::int64_t DecodeRaw(std::span<const std::uint8_t> data, std::int64_t total, AreaCursor& cursor) {
    const std::int64_t words =
        std::min<std::int64_t>(total, static_cast<std::int64_t>(data.size() / 2));
    const std::uint8_t* s = data.data();
    const std::uint32_t* expand = ExpandTable();
    std::int64_t placed = 0;
    while (placed < words && cursor.Inside()) {
        const int m = static_cast<int>(std::min<std::int64_t>(words - placed, cursor.RowSpan()));
        std::uint8_t* p = cursor.Here();
        for (int k = 1; k < m; ++k, p += 3, s += 2)
            PutPixel(p, expand[LoadU16(s)]);
        PutLastPixel(p, expand[LoadU16(s)]);
        s += 2;
        cursor.Advance(m);
        placed += m;
    }
    return placed;
}

void FillWithKeyColour(PixelBuffer24& picture) {
    if (!picture.Pixels() || picture.Height() < 1) return;
    std::uint8_t* first = picture.RowPtr(0);
    for (int x = 0; x < picture.Width(); ++x) {
        first[3 * x + 0] = static_cast<std::uint8_t>(s16::kKeyColor);
        first[3 * x + 1] = static_cast<std::uint8_t>(s16::kKeyColor >> 8);
        first[3 * x + 2] = static_cast<std::uint8_t>(s16::kKeyColor >> 16);
    }
    std::memset(first + 3 * picture.Width(), 0,
                static_cast<std::size_t>(picture.Stride() - 3 * picture.Width()));
    for (int y = 1; y < picture.Height(); ++y) {
        std::memcpy(picture.RowPtr(y), first, static_cast<std::size_t>(picture.Stride()));
    }
}

}  // namespace

int ReferenceDecodeIcon(const S16Icon& r, std::span<const std::uint8_t> data,
                        PixelBuffer24& picture) {
    FillWithKeyColour(picture);
    const int tw = picture.Width();
    const int th = picture.Height();
    const std::int64_t total = static_cast<std::int64_t>(r.Width) * r.Height;
    if (total < 1 || tw < 1 || th < 1) return 0;
    const int w = std::max(1, std::min(r.Width, tw));
    const int h = std::min(r.Height, th);
    int x0 = std::max(0, r.StartX);
    if (static_cast<std::int64_t>(x0) + w > tw) x0 = (tw - w) / 2;
    int y0 = std::max(0, r.StartY);
    if (static_cast<std::int64_t>(y0) + h > th) y0 = (th - h) / 2;
    if (y0 < 0) y0 = 0;

    AreaCursor cursor(picture, x0, y0, w);
    const std::int64_t placed =
        r.IsRunLength() ? DecodeRuns(data, total, cursor) : DecodeRaw(data, total, cursor);
    return static_cast<int>(placed);
}
