#pragma once
// The fixed 256-colour palette of the other game's SHP files; index 159 is
// transparent.

#include <array>
#include <cstdint>

#include "shp/ShpFormat.h"

// Entry k is (red, green, blue) at 3k, 3k + 1, 3k + 2.
extern const std::array<std::uint8_t, 768> kShpPalette;

// The S16 colour word of a palette index: 0xF81F for the transparent index,
// else the entry in RGB565 with the low bits dropped.
std::uint16_t ShpColourWord(int index);
