#pragma once
// Drawing of S16 icons into a picture area: one icon zoomed and mirrored, or
// a collage of successive icons; and composing a collage into a BMP file.

#include <string>

#include "bitmap/Surface.h"

class PixelBuffer24;
class S16Image;

inline constexpr ColorValue kSilver = 0x00C0C0C0;

// Draws the current icon at the area's top-left corner. Returns the decode
// result; the area stays silver when it is 0.
int DrawIcon(S16Image& image, Surface* surface, const Rect& area, int zoom);
// Draws as many icons as fit, from icon `first` on; returns how many were
// placed. `atEnd` tells that the set's last icon was placed.
int DrawCollage(S16Image& image, Surface* surface, const Rect& area, int first, bool& atEnd);
// Runs the collage layout without drawing: on return the two values hold the
// width and height the placed icons occupy. Returns the first icon used.
int CollageSize(S16Image& image, int& maxWidth, int& maxHeight, int first);
// Composes the collage that fits in `area` into `collage` (24 bits, silver
// around the icons). False when nothing could be placed or memory ran out.
bool ComposeCollage(S16Image& image, const Rect& area, int first, PixelBuffer24& collage);
// Composes the collage that fits in `area` into a picture and saves it as a
// 24-bit BMP file. False when nothing could be placed or saved.
bool BuildCollage(S16Image& image, const std::string& fileName, const Rect& area, int first);
