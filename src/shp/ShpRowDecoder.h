#pragma once
// Decoding of a frame's coded rows into an 8-bit picture that already holds
// the transparent index everywhere.

#include <cstdint>
#include <span>

#include "shp/ShpFormat.h"

class PixelBuffer24;

// Decodes the rows that start at `data[start]`: rows Top..Bottom (from row 0
// when Top is negative), each from column Left (0 when negative). Pixels
// outside the picture are dropped; the end of the data ends every remaining
// row, and decoding stops below the picture. `header`'s negative Top and Left
// become 0. Returns the pixels produced (runs, literals and skips together);
// `stoppedAt` (if set) receives where in `data` decoding stopped.
int DecodeShpRows(std::span<const std::uint8_t> data, std::size_t start, ShpFrameHeader& header,
                  PixelBuffer24& picture, std::size_t* stoppedAt = nullptr);
