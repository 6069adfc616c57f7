#pragma once
// Paletted BMP pixels below 8 bits and run-length coded pixels, turned into
// one palette index per byte.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Expands one stored row of 1- or 4-bit indices into `width` bytes.
void ExpandIndexRow(const std::uint8_t* src, int bitsPerPixel, int width, std::uint8_t* dst);

// Decodes RLE8 (`bitsPerPixel` 8) or RLE4 (4) data into `height` rows of
// `stride` bytes at `indices`, rows in the order the file stores them; pixels
// the data skip keep index 0. Every run, copy and delta is checked against the
// picture (a run may fill the padding of a stored row, not pass it). On failure `reason` is
// "truncated" when the data end before the picture does, otherwise what is wrong.
bool DecodeBmpRle(std::span<const std::uint8_t> data, int bitsPerPixel, int width, int height,
                  std::uint8_t* indices, std::size_t stride, std::string& reason);
