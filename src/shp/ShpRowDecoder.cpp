#include "shp/ShpRowDecoder.h"

#include <algorithm>
#include <cstring>

#include "bitmap/PixelBuffer24.h"

namespace {

// The row being decoded: writes clipped to the picture's width.
struct RowWriter {
    std::uint8_t* row = nullptr;  // null when the row lies below the picture
    int width = 0;

    void Fill(std::int64_t x, int count, std::uint8_t index) const {
        if (!row || x >= width) return;
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(count, width - x));
        if (index != shp::kTransparentIndex) std::memset(row + x, index, n);
    }
    void Copy(std::int64_t x, const std::uint8_t* indexes, int count) const {
        if (!row || x >= width) return;
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(count, width - x));
        for (std::size_t k = 0; k < n; ++k) {
            if (indexes[k] != shp::kTransparentIndex)
                row[x + static_cast<std::int64_t>(k)] = indexes[k];
        }
    }
};

}  // namespace

int DecodeShpRows(std::span<const std::uint8_t> data, std::size_t start, ShpFrameHeader& header,
                  PixelBuffer24& picture, std::size_t* stoppedAt) {
    std::int64_t firstRow = header.Top;
    std::int64_t lastRow = header.Bottom;
    if (header.Top < 0) {
        lastRow = static_cast<std::int64_t>(header.Bottom) - header.Top;
        firstRow = 0;
        header.Top = 0;
    }
    if (header.Left < 0) header.Left = 0;
    const std::int64_t startColumn = header.Left;
    // Rows below the picture would only be dropped: they are not walked.
    lastRow = std::min<std::int64_t>(lastRow, picture.Height() - 1);

    std::int64_t produced = 0;
    std::size_t at = start;
    const std::size_t end = data.size();
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
        const RowWriter row{y < picture.Height() ? picture.RowPtr(static_cast<int>(y)) : nullptr,
                            picture.Width()};
        std::int64_t x = startColumn;
        while (at < end) {
            const std::uint8_t code = data[at++];
            if (code == shp::kEndOfRow) break;
            if (code == shp::kSkip) {
                const int n = at < end ? data[at++] : 0;
                x += n;
                produced += n;
            } else if (code % 2 == 0) {
                const int n = code / 2;
                if (at < end) row.Fill(x, n, data[at]);
                at = std::min(at + 1, end);
                x += n;
                produced += n;
            } else {
                const int n = std::min<int>((code - 1) / 2, static_cast<int>(end - at));
                row.Copy(x, data.data() + at, n);
                at += static_cast<std::size_t>(n);
                x += n;
                produced += n;
            }
        }
        if (at >= end) break;  // the end of the data ends every remaining row
    }
    if (stoppedAt) *stoppedAt = std::max(at, start);
    return static_cast<int>(std::min<std::int64_t>(produced, 0x7FFFFFFF));
}
