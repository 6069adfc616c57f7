#pragma once
// Coding of a whole picture as one S16 icon: the stored area is the smallest
// rectangle holding every pixel that differs from the key colour, coded raw
// or run-length, whichever is shorter (ties go to run-length).

#include <string>

#include "sprite/S16Icon.h"

class PixelBuffer24;

// Codes `picture` (8, 16, 24 or 32 bits, read as GetColor reads it) into
// `out`, whose record has Starts 0. False when the picture is empty, when
// memory runs out (after " Not enough  memory " and `source`), or when the icon would be
// one that decoding refuses (after a message naming `source` and the limit).
bool EncodeIcon(const PixelBuffer24& picture, const std::string& source, CodedIcon& out);
// The same, naming the picture's own file.
bool EncodeIcon(const PixelBuffer24& picture, CodedIcon& out);
// Codes `picture` with the stored area, coding and Reserved of `described`
// (an icon's record as a sheet description gives it), so that an unchanged
// icon comes out as it was stored. A picture that does not match the record,
// or has pixels other than the key colour outside the stored area (an edited
// icon), is coded as EncodeIcon codes it, keeping only Reserved.
bool EncodeIconAs(const PixelBuffer24& picture, const std::string& source, const S16Icon& described,
                  CodedIcon& out);
