#include "shp/ShpFrameImage.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "shp/ShpPalette.h"

namespace {

// Remembers recent colour lookups: pictures repeat their colours.
class NearestColourCache {
public:
    int Find(int red, int green, int blue) {
        const std::uint32_t key = (static_cast<std::uint32_t>(red) << 16) | (green << 8) | blue;
        Slot& slot = slots_[(key * 2654435761u) >> (32 - kBits)];
        if (slot.key != key + 1) {
            slot.key = key + 1;
            slot.index = static_cast<std::uint8_t>(NearestShpColour(red, green, blue));
        }
        return slot.index;
    }

private:
    static constexpr int kBits = 14;
    struct Slot {
        std::uint32_t key = 0;  // colour + 1; 0 = empty
        std::uint8_t index = 0;
    };
    std::vector<Slot> slots_ = std::vector<Slot>(1u << kBits);
};

}  // namespace

int NearestShpColour(int red, int green, int blue) {
    if (red == 255 && green == 255 && blue == 255) return 255;
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 255; ++i) {
        const std::uint8_t* e = kShpPalette.data() + 3 * i;
        const int distance = std::abs(e[0] - red) + std::abs(e[1] - green) + std::abs(e[2] - blue);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

ShpFrameImage::ShpFrameImage() {
    Create(0, 0, 8, false);
    SetPaletteRgb(kShpPalette.data());
}

bool ShpFrameImage::QuantizeToShpPalette() {
    if (!Pixels() || (BitsPerPixel() != 24 && BitsPerPixel() != 32)) return false;
    PixelBuffer24 indexed;
    indexed.Create(Width(), Height(), 8, IsTopDown());
    if (!indexed.Allocate()) return false;
    // The nearest colour never changes, so the cache can serve every picture.
    static thread_local NearestColourCache cache;
    const int step = BitsPerPixel() / 8;
    for (int y = 0; y < Height(); ++y) {
        const std::uint8_t* p = RowPtr(y);
        std::uint8_t* q = indexed.RowPtr(y);
        for (int x = 0; x < Width(); ++x, p += step)
            q[x] = static_cast<std::uint8_t>(cache.Find(p[2], p[1], p[0]));
    }
    TakeBufferFrom(indexed);
    Create(Width(), Height(), 8, IsTopDown());
    SetPaletteRgb(kShpPalette.data());
    return true;
}

int ShpFrameImage::IndexAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return shp::kTransparentIndex;
    return RowPtr(y)[x];
}

ShpFrameHeader ShpFrameImage::FindBounds() const {
    ShpFrameHeader h;
    h.HeightMinus1 = static_cast<std::int16_t>(Height() - 1);
    h.WidthMinus1 = static_cast<std::int16_t>(Width() - 1);
    h.Left = shp::kMaxFrameWidth;
    h.Right = 0;
    h.Top = shp::kMaxFrameHeight;
    h.Bottom = 0;
    bool found = false;
    for (int y = 0; y < Height(); ++y) {
        const std::uint8_t* row = RowPtr(y);
        for (int x = 0; x < Width(); ++x) {
            if (row[x] == shp::kTransparentIndex) continue;
            h.Right = std::max(h.Right, x);
            h.Left = std::min(h.Left, x);
            if (!found) h.Top = y;
            found = true;
            h.Bottom = y;
        }
    }
    // The fallbacks for a picture without opaque pixels, or with them only in
    // column 0 or row 0.
    if (h.Left > Width()) h.Left = 0;
    if (h.Right < 1) h.Right = Width();
    if (h.Top > Height()) h.Top = 1;
    if (h.Bottom < 1) h.Bottom = h.Top + 1;
    return h;
}

void ShpFrameImage::WriteRow(int y, const ShpFrameHeader& h, std::vector<std::uint8_t>& out) const {
    const std::size_t rowStart = out.size();
    int x = h.Left;
    bool rowEnds = false;
    while (!rowEnds) {
        const int c = IndexAt(x, y);
        if (c == shp::kTransparentIndex) {
            const std::size_t token = out.size();
            out.push_back(shp::kSkip);
            out.push_back(0);
            while (true) {
                if (x > h.Right) {  // a trailing stretch is dropped unless it is all the row holds
                    if (token != rowStart) out.resize(token);
                    rowEnds = true;
                    break;
                }
                if (out[token + 1] == shp::kMaxSkip) break;
                ++out[token + 1];
                ++x;
                if (IndexAt(x, y) != shp::kTransparentIndex) break;
            }
        } else if (IndexAt(x + 1, y) == c && IndexAt(x + 2, y) == c) {
            const std::size_t token = out.size();
            out.push_back(2);
            out.push_back(static_cast<std::uint8_t>(c));
            ++x;
            while (!rowEnds && IndexAt(x, y) == c) {
                if (x > h.Right)
                    rowEnds = true;
                else if (out[token] == 2 * shp::kMaxRun)
                    break;
                else {
                    out[token] += 2;
                    ++x;
                }
            }
            if (x > h.Right) rowEnds = true;
        } else {
            const std::size_t token = out.size();
            out.push_back(1);
            while (true) {
                const int here = IndexAt(x, y);
                if (here == IndexAt(x + 1, y) && here == IndexAt(x + 2, y)) break;
                if (x > h.Right) {
                    rowEnds = true;
                    break;
                }
                if (out[token] == 2 * shp::kMaxRun + 1 || here == shp::kTransparentIndex) break;
                out[token] += 2;
                out.push_back(static_cast<std::uint8_t>(here));
                ++x;
            }
            if (x > h.Right) rowEnds = true;
        }
    }
    out.push_back(shp::kEndOfRow);
}

std::size_t ShpFrameImage::WriteShpFrame(std::vector<std::uint8_t>& out, ShpFrameHeader& header) {
    if (BitsPerPixel() != 8 && !QuantizeToShpPalette()) return 0;
    const std::size_t start = out.size();
    header = FindBounds();
    header.AppendTo(out);
    for (int y = header.Top; y <= header.Bottom; ++y)
        WriteRow(y, header, out);
    return out.size() - start;
}
