#pragma once
// PNG files in memory to and from 8-bit RGBA pictures, through the PNG library.
// Failures give a short reason for the caller to put after the file's name.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bitmap/RgbaPicture.h"

// True when the bytes start with the PNG signature.
bool LooksLikePng(std::span<const std::uint8_t> bytes);

// Reads a PNG of any colour type, bit depth and interlacing into 8-bit RGBA
// (palette transparency and grey or colour keys become alpha; 16-bit samples
// keep their top 8 bits). `out` is left as it was on failure.
bool DecodePng(std::span<const std::uint8_t> bytes, RgbaPicture& out, std::string& error);

// Writes the picture as an 8-bit RGBA PNG; with `rgbWhenOpaque`, a picture
// whose every alpha is 255 is written as RGB without the alpha channel.
bool EncodePng(const RgbaPicture& picture, std::vector<std::uint8_t>& out, std::string& error,
               bool rgbWhenOpaque = false);
