#pragma once
// The inner loops of icon decoding: RGB565 words to 24-bit pixels (with SIMD
// where the processor has it, chosen at run time) and fills of one pixel.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Which code expands words. Every path gives the same bytes.
enum class ExpandPath { Scalar, Ssse3, Avx2 };

// Writes the low three bytes of `pixel`, blue first.
inline void PutPixel3(std::uint8_t* p, std::uint32_t pixel) {
    p[0] = static_cast<std::uint8_t>(pixel);
    p[1] = static_cast<std::uint8_t>(pixel >> 8);
    p[2] = static_cast<std::uint8_t>(pixel >> 16);
}

// The 24-bit pixel of an RGB565 word, in the low three bytes (blue first).
constexpr std::uint32_t ExpandWord(unsigned v) {
    return ((v & 0x1Fu) << 3) | (((v >> 5) & 0x3Fu) << 10) | (((v >> 11) & 0x1Fu) << 19);
}

// Expands `count` little-endian RGB565 words at `words` into `count` pixels of
// 3 bytes (blue, green, red) at `pixels`; the low bits of each channel stay
// zero. Writes exactly 3 x count bytes.
void ExpandWords(const std::uint8_t* words, int count, std::uint8_t* pixels);

// ExpandWords for `rows` rows of `count` words each, the words one row after
// another, row r's pixels at pixels + r x step; on the chosen path.
using ExpandFunction = void (*)(const std::uint8_t* words, int count, int rows,
                                std::uint8_t* pixels, std::ptrdiff_t step);
ExpandFunction ChosenExpandFunction();

// Where decoded pixels go: `rows` rows of `width` pixels, the first at `row`,
// each next one `step` bytes on (negative in a bottom-up picture).
struct PixelRows {
    std::uint8_t* row = nullptr;
    std::ptrdiff_t step = 0;
    int width = 0;
    int rows = 0;
};
// Places the (count, word) runs of `triples` 3-byte triples at `runs` into
// `target` row by row, a run going on into the next row, until `total` pixels,
// the end of the runs or the end of the rows; returns the pixels placed. On
// the chosen path.
using RunsFunction = std::int64_t (*)(const std::uint8_t* runs, std::size_t triples,
                                      std::int64_t total, const PixelRows& target);
RunsFunction ChosenRunsFunction();

// Writes `count` copies of the 3-byte pixel in the low bytes of `pixel`,
// exactly 3 x count bytes.
inline void FillPixels(std::uint8_t* p, int count, std::uint32_t pixel) {
    if (count < 1) return;
    if (std::endian::native != std::endian::little) {
        for (int k = 0; k < count; ++k, p += 3)
            PutPixel3(p, pixel);
        return;
    }
    if (count < 8) {
        // 4-byte stores that overlap the next pixel, 3 bytes for the last.
        for (int k = 1; k < count; ++k, p += 3)
            std::memcpy(p, &pixel, 4);
        PutPixel3(p, pixel);
        return;
    }
    // Eight pixels are 24 bytes, three 64-bit words; the pattern repeats after
    // them, so it can be stored at any pixel boundary. The words go straight
    // from registers to the picture: a pattern kept in memory and read back
    // wider than it was written would stall every load.
    const std::uint64_t one = pixel & 0xFFFFFFu;
    const std::uint64_t two = one | (one << 24);
    const std::uint64_t w0 = two | (two << 48);
    const std::uint64_t w1 = (one >> 16) | (two << 8) | (one << 56);
    const std::uint64_t w2 = (one >> 8) | (two << 16);
    auto put8 = [&](std::uint8_t* at) {
        std::memcpy(at, &w0, 8);
        std::memcpy(at + 8, &w1, 8);
        std::memcpy(at + 16, &w2, 8);
    };
    std::uint8_t* const end = p + 3 * static_cast<std::ptrdiff_t>(count);
#ifdef __SSE2__
    if (count >= 16) {
        // Sixteen pixels in three 16-byte stores.
        const __m128i a = _mm_set_epi64x(static_cast<long long>(w1), static_cast<long long>(w0));
        const __m128i b = _mm_set_epi64x(static_cast<long long>(w0), static_cast<long long>(w2));
        const __m128i c = _mm_set_epi64x(static_cast<long long>(w2), static_cast<long long>(w1));
        auto put16 = [&](std::uint8_t* at) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), a);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 16), b);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 32), c);
        };
        for (; end - p >= 48; p += 48)
            put16(p);
        if (p < end) put16(end - 48);
        return;
    }
#endif
    for (; end - p >= 24; p += 24)
        put8(p);
    // The rest ends with the last eight pixels again.
    if (p < end) put8(end - 24);
}

// The path in use: the best one the processor runs unless another was chosen.
ExpandPath CurrentExpandPath();
// Chooses a path (for tests and benchmarks); false, and nothing changes, when
// the processor cannot run it.
bool ChooseExpandPath(ExpandPath path);
// The best path the processor runs.
ExpandPath BestExpandPath();
const char* ExpandPathName(ExpandPath path);
