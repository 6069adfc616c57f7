#pragma once
// The first icon decoder, one table look-up and one store per pixel after the
// whole picture is filled with the key colour: slow, and the measure the fast
// decoder is held to, byte for byte, in the tests and the S16 fuzz target.

#include <cstdint>
#include <span>

#include "bitmap/PixelBuffer24.h"
#include "sprite/S16Icon.h"

// Fills `picture` (already TWidth x THeight at 24 bits) with the key colour
// and places the coded pixels; returns the number placed.
int ReferenceDecodeIcon(const S16Icon& record, std::span<const std::uint8_t> data,
                        PixelBuffer24& picture);
