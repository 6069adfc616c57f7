// The fast decoder against a slow reference that follows the decoding rule
// pixel by pixel, over many generated records and data.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "S16Files.h"
#include "sprite/IconDecoder.h"
#include "sprite/S16Format.h"

namespace {

int ReferenceDecode(const S16Icon& r, const Bytes& data, PixelBuffer24& picture) {
    const int tw = picture.Width(), th = picture.Height();
    const long long total = static_cast<long long>(r.Width) * r.Height;
    const int w = std::max(1, std::min(r.Width, tw));
    const int h = std::min(r.Height, th);
    int x0 = r.StartX < 0 ? 0 : r.StartX;
    if (x0 + w > tw) x0 = (tw - w) / 2;
    int y0 = r.StartY < 0 ? 0 : r.StartY;
    if (y0 + h > th) y0 = (th - h) / 2;
    long long i = 0;
    std::size_t at = 0;
    auto place = [&](std::uint16_t v) {
        const long long x = x0 + i % w, y = y0 + i / w;
        if (x >= tw || y >= th) return false;
        picture.SetColor(static_cast<int>(x), static_cast<int>(y), s16::ToColor(v));
        ++i;
        return true;
    };
    if (r.Compress == 1) {
        while (i < total && data.size() - at >= 3) {
            const int c = data[at];
            const std::uint16_t v = static_cast<std::uint16_t>(data[at + 1] | (data[at + 2] << 8));
            at += 3;
            for (int k = 0; k < c; ++k) {
                if (i == total || !place(v)) return static_cast<int>(i);
            }
        }
    } else {
        while (i < total && data.size() - at >= 2) {
            if (!place(static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8)))) break;
            at += 2;
        }
    }
    return static_cast<int>(i);
}

}  // namespace

TEST(IconDecoder, MatchesTheReferenceOnGeneratedIcons) {
    std::mt19937 random(1234);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 400; ++round) {
        S16Icon r = Record(pick(1, 30), pick(1, 30), pick(-3, 20), pick(-3, 20), pick(1, 25),
                           pick(1, 25), 0, 0, pick(0, 2));
        Bytes data(static_cast<std::size_t>(pick(0, 400)));
        for (auto& b : data)
            b = static_cast<std::uint8_t>(pick(0, 255));
        PixelBuffer24 fast, slow;
        for (PixelBuffer24* p : {&fast, &slow}) {
            p->Create(r.TWidth, r.THeight, 24, false);
            p->Allocate();
            FillWithKeyColour(*p);
        }
        const int placed = DecodeIconData(r, data, fast);
        ASSERT_EQ(placed, ReferenceDecode(r, data, slow)) << "round " << round;
        ASSERT_EQ(Bytes(fast.Pixels(), fast.Pixels() + fast.ImageSize()),
                  Bytes(slow.Pixels(), slow.Pixels() + slow.ImageSize()))
            << "round " << round << ": " << r.Width << "x" << r.Height << " at " << r.StartX << ","
            << r.StartY << " in " << r.TWidth << "x" << r.THeight << " compress " << r.Compress
            << ", " << data.size() << " bytes";
    }
}
