#pragma once
// Builds S16 bytes and pictures for the sprite tests.

#include <functional>
#include <utility>

#include "TestFiles.h"
#include "bitmap/PixelBuffer24.h"
#include "sprite/S16Icon.h"

// An S16 file with the records exactly as given, then `data` as the pixel area.
Bytes S16Bytes(const std::vector<S16Icon>& records, const Bytes& data);
// Run-length data from (count, word) pairs; raw data from words.
Bytes RunData(const std::vector<std::pair<int, std::uint16_t>>& runs);
Bytes RawData(const std::vector<std::uint16_t>& words);
// A record for a stored area of w x h at (x, y) in a tw x th icon.
S16Icon Record(int w, int h, int x, int y, int tw, int th, int starts, int bytes, int compress);

// Fills a 24-bit picture from `color(x, y)`.
void Paint(PixelBuffer24& picture, int width, int height,
           const std::function<ColorValue(int, int)>& color);
// An S16 file of `count` icons coded from pictures `color(icon, x, y)`, each w x h.
Bytes CodedS16(int count, int w, int h, const std::function<ColorValue(int, int, int)>& color);
