#pragma once
// The transparency rule between pictures with alpha and the keyed 24-bit
// pictures icons are built from: alpha below 128 is the unused area (the key
// colour), except a fully transparent (248, 0, 248), the S16 transparent
// colour; alpha 128 and above is the pixel's own colour.

#include "bitmap/PixelBuffer24.h"
#include "bitmap/RgbaPicture.h"

// The colour that marks the unused area of an icon, and the colour of the S16
// transparent word.
inline constexpr ColorValue kPictureKeyColor = MakeColor(248, 220, 220);
inline constexpr ColorValue kPictureTransparentColor = MakeColor(248, 0, 248);

// True when `colour` is `marker` as a decoded icon shows it: icons hold 5-6-5
// colour words, so the key colour inside an icon's stored area comes back as
// (248, 220, 216).
inline constexpr bool IsMarkerColour(ColorValue colour, ColorValue marker) {
    constexpr ColorValue kWordBits = 0xF8FCF8;
    return (colour & kWordBits) == (marker & kWordBits);
}

// The keyed colour of one pixel under the rule.
inline constexpr ColorValue KeyedColor(int red, int green, int blue, int alpha) {
    if (alpha >= 128) return MakeColor(red, green, blue);
    if (alpha == 0 && MakeColor(red, green, blue) == kPictureTransparentColor)
        return kPictureTransparentColor;
    return kPictureKeyColor;
}

// `out` becomes a 24-bit top-down picture of `in`'s size under the rule; it is
// left without pixels when `in` is empty, inconsistent or memory runs out.
void RgbaToKeyed(const RgbaPicture& in, PixelBuffer24& out);

// The reverse for writers: the key colour becomes (248, 220, 220) with alpha 0,
// the transparent colour (248, 0, 248) with alpha 0 (each also as a decoded
// colour word shows it, see IsMarkerColour), every other colour is opaque;
// with `opaque`, every pixel keeps its colour with alpha 255.
RgbaPicture KeyedToRgba(const PixelBuffer24& in, bool opaque);
