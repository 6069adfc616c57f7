#pragma once
// Decoding of one icon's coded RGB565 data (raw or run-length) into a 24-bit
// bottom-up picture of the icon's total size.

#include <cstdint>
#include <span>

#include "sprite/S16Icon.h"

class PixelBuffer24;

// Sets every pixel of a 24-bit picture to the key colour.
void FillWithKeyColour(PixelBuffer24& picture);

// Places the coded pixels of `record` from `data` into `picture`, which is
// already TWidth x THeight at 24 bits. The stored area is clamped to the icon
// and centred where it would stick out; decoding stops at the end of the data,
// after Width x Height pixels, or at the first pixel below the icon. Returns
// the number of pixels placed.
int DecodeIconData(const S16Icon& record, std::span<const std::uint8_t> data,
                   PixelBuffer24& picture);

// Decodes as DecodeIconData does and gives every pixel it did not place the
// key colour, so `picture` needs no fill beforehand; each row's padding is
// zeroed. Returns the number of pixels placed.
int DecodeIcon(const S16Icon& record, std::span<const std::uint8_t> data, PixelBuffer24& picture);
