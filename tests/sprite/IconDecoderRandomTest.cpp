// The fast decoder, on every expansion path, against the first decoder over
// thousands of random icons of every size the format allows: valid and
// malformed data, raw and run-length, stored areas that do not fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "ReferenceDecoder.h"
#include "S16Files.h"
#include "sprite/IconDecoder.h"
#include "sprite/PixelExpand.h"
#include "sprite/S16Format.h"

namespace {

class RandomIcons {
public:
    explicit RandomIcons(unsigned seed) : random_(seed) {}

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

    // Mostly small icons, some of a few hundred pixels a side, a few up to the
    // largest the format allows.
    void Size(int& tw, int& th) {
        const int kind = Pick(0, 19);
        const int side = kind < 13 ? 40 : kind < 19 ? 240 : s16::kMaxIconWidth;
        tw = Pick(1, side);
        th = Pick(1, std::min(s16::kMaxIconHeight, std::max(1, s16::kMaxIconPixels / tw)));
        if (kind == 19 && Pick(0, 1) == 0) th = std::min(s16::kMaxIconPixels / tw, 600);
    }

    // A stored area that usually fits the icon, sometimes sticks out, starts
    // outside or is larger.
    S16Icon Record(int tw, int th) {
        S16Icon r;
        r.TWidth = tw;
        r.THeight = th;
        r.Width = tw;
        r.Height = th;
        if (Pick(0, 2) == 0) {
            r.Width = Pick(1, tw + 4);
            r.Height = Pick(1, th + 4);
            r.StartX = Pick(-3, tw);
            r.StartY = Pick(-3, th);
        }
        if (Pick(0, 29) == 0) {
            // Sizes a damaged table can hold: zero, negative (two negatives
            // make a positive pixel count), starts far outside.
            r.Width = Pick(-4, 2) * Pick(1, tw);
            r.Height = Pick(-4, 2) * Pick(1, th);
            r.StartX = Pick(-1000, 1000);
            r.StartY = Pick(-1000, 1000);
        }
        const int compress = Pick(0, 9);
        r.Compress = compress < 5 ? 1 : compress < 9 ? 0 : 2;
        return r;
    }

    // Data for `pixels` pixels: exact, short by a few bytes, cut at random or
    // longer than needed; runs of every length, words of every value.
    Bytes Data(const S16Icon& r) {
        const std::int64_t pixels =
            std::clamp<std::int64_t>(static_cast<std::int64_t>(r.Width) * r.Height, 0,
                                     static_cast<std::int64_t>(r.TWidth) * r.THeight);
        Bytes data;
        if (Pick(0, 9) == 0) {
            data.resize(static_cast<std::size_t>(Pick(0, 3 * static_cast<int>(pixels) + 7)));
            for (auto& b : data)
                b = static_cast<std::uint8_t>(random_());
            return data;
        }
        if (r.IsRunLength()) {
            const int longest = Pick(0, 1) == 0 ? 20 : 255;
            for (std::int64_t covered = 0; covered < pixels;) {
                const int count = Pick(0, longest);
                const auto word = static_cast<std::uint16_t>(random_());
                data.insert(data.end(),
                            {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(word),
                             static_cast<std::uint8_t>(word >> 8)});
                covered += count;
            }
        } else {
            data.resize(static_cast<std::size_t>(2 * pixels));
            for (auto& b : data)
                b = static_cast<std::uint8_t>(random_());
        }
        switch (Pick(0, 5)) {
            case 0:
                data.resize(data.size() - std::min<std::size_t>(data.size(), Pick(1, 5)));
                break;
            case 1:
                data.resize(static_cast<std::size_t>(Pick(0, static_cast<int>(data.size()))));
                break;
            case 2:
                data.resize(data.size() + static_cast<std::size_t>(Pick(1, 40)), 0x5A);
                break;
            default:
                break;
        }
        return data;
    }

private:
    std::mt19937 random_;
};

void MakePicture(PixelBuffer24& picture, int tw, int th, std::uint8_t garbage) {
    picture.Create(tw, th, 24, false);
    ASSERT_TRUE(picture.Allocate());
    std::memset(picture.Pixels(), garbage, picture.ImageSize());
}

Bytes PixelsOf(const PixelBuffer24& picture) {
    return Bytes(picture.Pixels(), picture.Pixels() + picture.ImageSize());
}

std::vector<ExpandPath> RunnablePaths() {
    std::vector<ExpandPath> paths;
    for (ExpandPath p : {ExpandPath::Scalar, ExpandPath::Ssse3, ExpandPath::Avx2}) {
        if (ChooseExpandPath(p)) paths.push_back(p);
    }
    ChooseExpandPath(BestExpandPath());
    return paths;
}

}  // namespace

TEST(IconDecoder, EveryPathMatchesTheFirstDecoderOnRandomIcons) {
    const std::vector<ExpandPath> paths = RunnablePaths();
    ASSERT_FALSE(paths.empty());
    RandomIcons random(20240607);
    int largest = 0;
    for (int round = 0; round < 3000; ++round) {
        int tw = 0, th = 0;
        random.Size(tw, th);
        largest = std::max(largest, tw * th);
        const S16Icon r = random.Record(tw, th);
        const Bytes data = random.Data(r);
        const std::string what = "round " + std::to_string(round) + ": " + std::to_string(r.Width) +
                                 "x" + std::to_string(r.Height) + " at " +
                                 std::to_string(r.StartX) + "," + std::to_string(r.StartY) +
                                 " in " + std::to_string(tw) + "x" + std::to_string(th) +
                                 " compress " + std::to_string(r.Compress) + ", " +
                                 std::to_string(data.size()) + " bytes";

        PixelBuffer24 expected;
        MakePicture(expected, tw, th, 0x33);
        const int placed = ReferenceDecodeIcon(r, data, expected);
        const Bytes expectedPixels = PixelsOf(expected);

        for (ExpandPath path : paths) {
            ASSERT_TRUE(ChooseExpandPath(path));
            // Whatever the buffer held before, the margins take the key colour.
            PixelBuffer24 picture;
            MakePicture(picture, tw, th, static_cast<std::uint8_t>(round));
            ASSERT_EQ(DecodeIcon(r, data, picture), placed) << what;
            ASSERT_TRUE(PixelsOf(picture) == expectedPixels)
                << what << " on the " << ExpandPathName(path) << " path";

            MakePicture(picture, tw, th, 0x77);
            FillWithKeyColour(picture);
            ASSERT_EQ(DecodeIconData(r, data, picture), placed) << what;
            ASSERT_TRUE(PixelsOf(picture) == expectedPixels)
                << what << " after a fill, on the " << ExpandPathName(path) << " path";
        }
    }
    ChooseExpandPath(BestExpandPath());
    EXPECT_GT(largest, 200000);
}
