#include "sprite/PixelExpand.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define VARNOK_X86_SIMD 1
#include <immintrin.h>
#endif

namespace {

// Stores a pixel with a 4-byte write that overlaps the next pixel; the last
// one is written with PutPixel3 so nothing past it is touched.
inline void PutPixel(std::uint8_t* p, std::uint32_t pixel) {
    std::memcpy(p, &pixel, 4);
}

// ExpandWord in two look-ups, one per byte of the word: the low byte holds
// blue and three bits of green, the high byte the other green bits and red.
// Two small tables (2 KB) stay in the first-level cache, and the loops
// spend half the instructions they would on shifts and masks.
struct HalfWordTables {
    std::array<std::uint32_t, 256> low{};
    std::array<std::uint32_t, 256> high{};
    constexpr HalfWordTables() {
        for (unsigned b = 0; b < 256; ++b) {
            low[b] = ExpandWord(b);
            high[b] = ExpandWord(b << 8);
        }
    }
};
constexpr HalfWordTables kHalfWords;
static_assert(kHalfWords.low[0x34] + kHalfWords.high[0x12] == ExpandWord(0x1234));

inline std::uint32_t ExpandWordAt(const std::uint8_t* word) {
    return kHalfWords.low[word[0]] | kHalfWords.high[word[1]];
}

inline void ExpandScalar(const std::uint8_t* words, int count, std::uint8_t* pixels) {
    if (count < 1) return;
    if constexpr (std::endian::native == std::endian::little) {
        for (int k = 1; k < count; ++k, words += 2, pixels += 3)
            PutPixel(pixels, ExpandWordAt(words));
        PutPixel3(pixels, ExpandWordAt(words));
    } else {
        for (int k = 0; k < count; ++k, words += 2, pixels += 3)
            PutPixel3(pixels, ExpandWordAt(words));
    }
}

#ifdef VARNOK_X86_SIMD

// Eight words to eight pixels: blue in the low byte and green in the high byte
// of one vector's 16-bit lanes, red in the low byte of another's, then one
// byte shuffle of each for the first 16 output bytes and one for the last 8.
__attribute__((target("ssse3"))) inline void Expand8Ssse3(const std::uint8_t* words,
                                                          std::uint8_t* pixels) {
    constexpr char Z = static_cast<char>(0x80);
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words));
    const __m128i blue = _mm_and_si128(_mm_slli_epi16(v, 3), _mm_set1_epi16(0x00F8));
    const __m128i green =
        _mm_and_si128(_mm_slli_epi16(v, 5), _mm_set1_epi16(static_cast<short>(0xFC00)));
    const __m128i red = _mm_and_si128(_mm_srli_epi16(v, 8), _mm_set1_epi16(0x00F8));
    const __m128i blueGreen = _mm_or_si128(blue, green);
    const __m128i low = _mm_or_si128(
        _mm_shuffle_epi8(blueGreen, _mm_setr_epi8(0, 1, Z, 2, 3, Z, 4, 5, Z, 6, 7, Z, 8, 9, Z, 10)),
        _mm_shuffle_epi8(red, _mm_setr_epi8(Z, Z, 0, Z, Z, 2, Z, Z, 4, Z, Z, 6, Z, Z, 8, Z)));
    const __m128i high = _mm_or_si128(
        _mm_shuffle_epi8(blueGreen,
                         _mm_setr_epi8(11, Z, 12, 13, Z, 14, 15, Z, Z, Z, Z, Z, Z, Z, Z, Z)),
        _mm_shuffle_epi8(red, _mm_setr_epi8(Z, 10, Z, Z, 12, Z, Z, 14, Z, Z, Z, Z, Z, Z, Z, Z)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), low);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels + 16), high);
}

__attribute__((target("ssse3"))) inline void ExpandSsse3(const std::uint8_t* words, int count,
                                                         std::uint8_t* pixels) {
    if (count < 8) {
        ExpandScalar(words, count, pixels);
        return;
    }
    int k = 0;
    for (; k + 8 <= count; k += 8)
        Expand8Ssse3(words + 2 * k, pixels + 3 * k);
    // The last few pixels: the last eight again, which rewrites some with the
    // same bytes and touches nothing past the end.
    if (k < count) Expand8Ssse3(words + 2 * (count - 8), pixels + 3 * (count - 8));
}

// Sixteen words to sixteen pixels: the eight-word steps in both 128-bit lanes
// at once (the byte shuffle works within a lane), each lane's 24 bytes then
// stored as 16 + 8.
__attribute__((target("avx2"))) inline void Expand16Avx2(const std::uint8_t* words,
                                                         std::uint8_t* pixels) {
    constexpr char Z = static_cast<char>(0x80);
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words));
    const __m256i blue = _mm256_and_si256(_mm256_slli_epi16(v, 3), _mm256_set1_epi16(0x00F8));
    const __m256i green =
        _mm256_and_si256(_mm256_slli_epi16(v, 5), _mm256_set1_epi16(static_cast<short>(0xFC00)));
    const __m256i red = _mm256_and_si256(_mm256_srli_epi16(v, 8), _mm256_set1_epi16(0x00F8));
    const __m256i blueGreen = _mm256_or_si256(blue, green);
    const __m256i low = _mm256_or_si256(
        _mm256_shuffle_epi8(
            blueGreen, _mm256_setr_epi8(0, 1, Z, 2, 3, Z, 4, 5, Z, 6, 7, Z, 8, 9, Z, 10, 0, 1, Z, 2,
                                        3, Z, 4, 5, Z, 6, 7, Z, 8, 9, Z, 10)),
        _mm256_shuffle_epi8(red, _mm256_setr_epi8(Z, Z, 0, Z, Z, 2, Z, Z, 4, Z, Z, 6, Z, Z, 8, Z, Z,
                                                  Z, 0, Z, Z, 2, Z, Z, 4, Z, Z, 6, Z, Z, 8, Z)));
    const __m256i high = _mm256_or_si256(
        _mm256_shuffle_epi8(
            blueGreen, _mm256_setr_epi8(11, Z, 12, 13, Z, 14, 15, Z, Z, Z, Z, Z, Z, Z, Z, Z, 11, Z,
                                        12, 13, Z, 14, 15, Z, Z, Z, Z, Z, Z, Z, Z, Z)),
        _mm256_shuffle_epi8(
            red, _mm256_setr_epi8(Z, 10, Z, Z, 12, Z, Z, 14, Z, Z, Z, Z, Z, Z, Z, Z, Z, 10, Z, Z,
                                  12, Z, Z, 14, Z, Z, Z, Z, Z, Z, Z, Z)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), _mm256_castsi256_si128(low));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels + 16), _mm256_castsi256_si128(high));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + 24), _mm256_extracti128_si256(low, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels + 40), _mm256_extracti128_si256(high, 1));
}

__attribute__((target("avx2"))) inline void ExpandAvx2(const std::uint8_t* words, int count,
                                                       std::uint8_t* pixels) {
    if (count < 16) {
        ExpandSsse3(words, count, pixels);
        return;
    }
    int k = 0;
    for (; k + 16 <= count; k += 16)
        Expand16Avx2(words + 2 * k, pixels + 3 * k);
    // As for eight words: the last sixteen again.
    if (k < count) Expand16Avx2(words + 2 * (count - 16), pixels + 3 * (count - 16));
}

#endif

// One row after another, each path's loop compiled for its own processor so
// that its constants stay in registers from row to row.
void RowsScalar(const std::uint8_t* words, int count, int rows, std::uint8_t* pixels,
                std::ptrdiff_t step) {
    for (int r = 0; r < rows; ++r, words += 2 * static_cast<std::ptrdiff_t>(count), pixels += step)
        ExpandScalar(words, count, pixels);
}

#ifdef VARNOK_X86_SIMD
__attribute__((target("ssse3"))) void RowsSsse3(const std::uint8_t* words, int count, int rows,
                                                std::uint8_t* pixels, std::ptrdiff_t step) {
    for (int r = 0; r < rows; ++r, words += 2 * static_cast<std::ptrdiff_t>(count), pixels += step)
        ExpandSsse3(words, count, pixels);
}

__attribute__((target("avx2"))) void RowsAvx2(const std::uint8_t* words, int count, int rows,
                                              std::uint8_t* pixels, std::ptrdiff_t step) {
    for (int r = 0; r < rows; ++r, words += 2 * static_cast<std::ptrdiff_t>(count), pixels += step)
        ExpandAvx2(words, count, pixels);
}
#endif

// Places the runs from `at` on that end inside the row [p, rowEnd), and
// stops at the first that does not, at the row's end or at the runs' end.
// Most runs end in the row they start in: this loop is all a row of them
// costs, a few instructions and one fill per run. Without kCheckTotal the
// caller knows that the rest of the row is within the total.
template <class Fill, bool kCheckTotal>
[[gnu::always_inline]] inline void RunsInRow(const std::uint8_t*& at, const std::uint8_t* end,
                                             std::uint8_t*& p, const std::uint8_t* rowEnd,
                                             std::int64_t& left) {
    while (at != end) {
        const unsigned n = at[0];
        const std::ptrdiff_t bytes = 3 * static_cast<std::ptrdiff_t>(n);
        if (bytes > rowEnd - p || (kCheckTotal && n > left)) return;
        Fill::Run(p, static_cast<int>(n), ExpandWordAt(at + 1));
        p += bytes;
        left -= n;
        at += 3;
        if (p == rowEnd) return;
    }
}

// The run-length loop, the same on every path but for how a run is filled;
// inlined into each path's function so the fill is compiled for its processor.
template <class Fill>
[[gnu::always_inline]] inline std::int64_t RunLoop(const std::uint8_t* at, std::size_t triples,
                                                   std::int64_t total, const PixelRows& target) {
    const std::uint8_t* const end = at + 3 * triples;
    const std::ptrdiff_t rowBytes = 3 * static_cast<std::ptrdiff_t>(target.width);
    const std::ptrdiff_t step = target.step;
    std::uint8_t* row = target.row;
    std::uint8_t* p = row;
    int rowsLeft = target.rows;
    std::int64_t left = total;
    while (left > 0 && at != end && rowsLeft > 0) {
        std::uint8_t* rowEnd = row + rowBytes;
        if (3 * left >= rowEnd - p)
            RunsInRow<Fill, false>(at, end, p, rowEnd, left);
        else
            RunsInRow<Fill, true>(at, end, p, rowEnd, left);
        if (p == rowEnd) {
            row += step;
            p = row;
            --rowsLeft;
            continue;
        }
        if (at == end || left == 0) break;
        // A run that goes on into the next rows, or that passes the total.
        const std::uint32_t pixel = ExpandWordAt(at + 1);
        std::int64_t n = std::min<std::int64_t>(at[0], left);
        at += 3;
        left -= n;
        while (n > 0 && rowsLeft > 0) {
            const std::int64_t m = std::min<std::int64_t>(n, (rowEnd - p) / 3);
            Fill::Run(p, static_cast<int>(m), pixel);
            n -= m;
            p += 3 * m;
            if (p == rowEnd) {
                row += step;
                p = row;
                rowEnd = row + rowBytes;
                --rowsLeft;
            }
        }
        // Pixels of a run cut short by the area's bottom were not placed.
        left += n;
    }
    return total - left;
}

struct PortableFill {
    [[gnu::always_inline]] static void Run(std::uint8_t* p, int count, std::uint32_t pixel) {
        FillPixels(p, count, pixel);
    }
};

std::int64_t RunsScalar(const std::uint8_t* runs, std::size_t triples, std::int64_t total,
                        const PixelRows& target) {
    return RunLoop<PortableFill>(runs, triples, total, target);
}

#ifdef VARNOK_X86_SIMD
// Sixteen pixels (48 bytes) of one colour from three byte shuffles of it; the
// pattern repeats every eight pixels, so it may be stored at any pixel.
struct ShuffleFill {
    __attribute__((target("ssse3"))) static void Run(std::uint8_t* p, int count,
                                                     std::uint32_t pixel) {
        if (count < 8) {
            FillPixels(p, count, pixel);
            return;
        }
        const __m128i one = _mm_cvtsi32_si128(static_cast<int>(pixel));
        const __m128i a =
            _mm_shuffle_epi8(one, _mm_setr_epi8(0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0));
        const __m128i b =
            _mm_shuffle_epi8(one, _mm_setr_epi8(1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1));
        const __m128i c =
            _mm_shuffle_epi8(one, _mm_setr_epi8(2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2));
        std::uint8_t* const end = p + 3 * static_cast<std::ptrdiff_t>(count);
        if (count <= 16) {
            // Eight pixels from the start and eight ending at the end.
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), a);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 16), b);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 24), a);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(end - 8), b);
            return;
        }
        for (; end - p >= 48; p += 48) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), a);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16), b);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 32), c);
        }
        if (p < end) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 48), a);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 32), b);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 16), c);
        }
    }
};

__attribute__((target("ssse3"))) std::int64_t RunsSsse3(const std::uint8_t* runs,
                                                        std::size_t triples, std::int64_t total,
                                                        const PixelRows& target) {
    return RunLoop<ShuffleFill>(runs, triples, total, target);
}

// The same loop in three-operand (VEX) code, which spares a register copy
// before each shuffle.
__attribute__((target("avx2"))) std::int64_t RunsAvx2(const std::uint8_t* runs, std::size_t triples,
                                                      std::int64_t total, const PixelRows& target) {
    return RunLoop<ShuffleFill>(runs, triples, total, target);
}
#endif

RunsFunction RunsOf(ExpandPath path) {
#ifdef VARNOK_X86_SIMD
    if (path == ExpandPath::Ssse3) return RunsSsse3;
    if (path == ExpandPath::Avx2) return RunsAvx2;
#endif
    (void)path;
    return RunsScalar;
}

ExpandFunction FunctionOf(ExpandPath path) {
#ifdef VARNOK_X86_SIMD
    if (path == ExpandPath::Ssse3) return RowsSsse3;
    if (path == ExpandPath::Avx2) return RowsAvx2;
#endif
    (void)path;
    return RowsScalar;
}

bool Runs(ExpandPath path) {
    if (path == ExpandPath::Scalar) return true;
#ifdef VARNOK_X86_SIMD
    // The first choice may be made while static objects are still being built.
    __builtin_cpu_init();
    if (path == ExpandPath::Ssse3) return __builtin_cpu_supports("ssse3");
    if (path == ExpandPath::Avx2) return __builtin_cpu_supports("avx2");
#endif
    return false;
}

struct Chosen {
    std::atomic<ExpandPath> path{BestExpandPath()};
    std::atomic<ExpandFunction> function{FunctionOf(BestExpandPath())};
    std::atomic<RunsFunction> runs{RunsOf(BestExpandPath())};
};

Chosen& Current() {
    static Chosen chosen;
    return chosen;
}

}  // namespace

void ExpandWords(const std::uint8_t* words, int count, std::uint8_t* pixels) {
    ChosenExpandFunction()(words, count, 1, pixels, 0);
}

RunsFunction ChosenRunsFunction() {
    return Current().runs.load(std::memory_order_relaxed);
}

ExpandFunction ChosenExpandFunction() {
    return Current().function.load(std::memory_order_relaxed);
}

ExpandPath BestExpandPath() {
    if (Runs(ExpandPath::Avx2)) return ExpandPath::Avx2;
    return Runs(ExpandPath::Ssse3) ? ExpandPath::Ssse3 : ExpandPath::Scalar;
}

ExpandPath CurrentExpandPath() {
    return Current().path.load(std::memory_order_relaxed);
}

bool ChooseExpandPath(ExpandPath path) {
    if (!Runs(path)) return false;
    Current().function.store(FunctionOf(path), std::memory_order_relaxed);
    Current().runs.store(RunsOf(path), std::memory_order_relaxed);
    Current().path.store(path, std::memory_order_relaxed);
    return true;
}

const char* ExpandPathName(ExpandPath path) {
    switch (path) {
        case ExpandPath::Scalar:
            return "scalar";
        case ExpandPath::Ssse3:
            return "SSSE3";
        case ExpandPath::Avx2:
            return "AVX2";
    }
    return "?";
}
