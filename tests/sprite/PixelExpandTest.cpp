// Every expansion path against the one-word rule, and the exact extent of
// what the expansion and the fill write.
#include <gtest/gtest.h>

#include <vector>

#include "sprite/PixelExpand.h"

namespace {

constexpr std::uint8_t kGuard = 0xA7;

class EachPath : public ::testing::TestWithParam<ExpandPath> {
protected:
    void SetUp() override {
        if (!ChooseExpandPath(GetParam())) GTEST_SKIP() << "not run by this processor";
    }
    void TearDown() override { ChooseExpandPath(BestExpandPath()); }
};

}  // namespace

TEST_P(EachPath, ExpandsEveryWordAndWritesNothingPastTheEnd) {
    std::vector<std::uint8_t> words(2 * 65536);
    for (unsigned v = 0; v < 65536; ++v) {
        words[2 * v] = static_cast<std::uint8_t>(v);
        words[2 * v + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    std::vector<std::uint8_t> pixels(3 * 65536 + 1, kGuard);
    ExpandWords(words.data(), 65536, pixels.data());
    for (unsigned v = 0; v < 65536; ++v) {
        const std::uint32_t want = ExpandWord(v);
        ASSERT_EQ(pixels[3 * v] | (pixels[3 * v + 1] << 8) | (pixels[3 * v + 2] << 16), want)
            << "word " << v;
    }
    EXPECT_EQ(pixels.back(), kGuard);
    // The channels keep their low bits zero: white is F8 FC F8.
    EXPECT_EQ(ExpandWord(0xFFFF), 0xF8FCF8u);

    // Counts around the vector width, at odd source and target addresses.
    for (int count = 0; count <= 40; ++count) {
        std::vector<std::uint8_t> out(3 * count + 7, kGuard);
        ExpandWords(words.data() + 2 * 1001 + 1, count, out.data() + 3);
        for (int k = 0; k < count; ++k) {
            const unsigned v = words[2003 + 2 * k] | (words[2004 + 2 * k] << 8);
            const std::uint32_t want = ExpandWord(v);
            ASSERT_EQ(out[3 + 3 * k] | (out[4 + 3 * k] << 8) | (out[5 + 3 * k] << 16), want)
                << count << " words, pixel " << k;
        }
        for (int k : {0, 1, 2, 3 * count + 3, 3 * count + 4, 3 * count + 5, 3 * count + 6})
            ASSERT_EQ(out[static_cast<std::size_t>(k)], kGuard) << count << " words, byte " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(PixelExpand, EachPath,
                         ::testing::Values(ExpandPath::Scalar, ExpandPath::Ssse3, ExpandPath::Avx2),
                         [](const auto& p) { return std::string(ExpandPathName(p.param)); });

TEST(PixelExpand, FillsExactlyTheRun) {
    const std::uint32_t pixel = 0x00C0B0A0;
    for (int count = 0; count <= 120; ++count) {
        std::vector<std::uint8_t> out(3 * count + 10, kGuard);
        FillPixels(out.data() + 5, count, pixel);
        for (int k = 0; k < count; ++k) {
            ASSERT_EQ(out[5 + 3 * k], 0xA0) << count << " pixels, pixel " << k;
            ASSERT_EQ(out[6 + 3 * k], 0xB0) << count << " pixels, pixel " << k;
            ASSERT_EQ(out[7 + 3 * k], 0xC0) << count << " pixels, pixel " << k;
        }
        for (int k : {0, 4, 3 * count + 5, 3 * count + 9})
            ASSERT_EQ(out[static_cast<std::size_t>(k)], kGuard) << count << " pixels, byte " << k;
    }
}
