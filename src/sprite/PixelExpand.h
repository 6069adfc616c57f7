#pragma once
// The inner loops of icon decoding: RGB565 words to 24-bit pixels (with SIMD
// where the processor has it, chosen at run time) and fills of one pixel.

#include <cstdint>

// Which code expands words. Every path gives the same bytes.
enum class ExpandPath { Scalar, Ssse3 };

// Expands `count` little-endian RGB565 words at `words` into `count` pixels of
// 3 bytes (blue, green, red) at `pixels`; the low bits of each channel stay
// zero. Writes exactly 3 x count bytes.
void ExpandWords(const std::uint8_t* words, int count, std::uint8_t* pixels);

// Writes `count` copies of the 3-byte pixel in the low bytes of `pixel`,
// exactly 3 x count bytes.
void FillPixels(std::uint8_t* p, int count, std::uint32_t pixel);

// The 24-bit pixel of an RGB565 word, in the low three bytes (blue first).
constexpr std::uint32_t ExpandWord(unsigned v) {
    return ((v & 0x1Fu) << 3) | (((v >> 5) & 0x3Fu) << 10) | (((v >> 11) & 0x1Fu) << 19);
}

// The path in use: the best one the processor runs unless another was chosen.
ExpandPath CurrentExpandPath();
// Chooses a path (for tests and benchmarks); false, and nothing changes, when
// the processor cannot run it.
bool ChooseExpandPath(ExpandPath path);
// The best path the processor runs.
ExpandPath BestExpandPath();
const char* ExpandPathName(ExpandPath path);
