#pragma once
// A demonstration data set made entirely by this program: the archive
// KELPAR.dat with unit and interface items, loose S16 files, bitmaps and
// SHP files.
// The same arguments always give the same bytes.

#include <string>

class Progress;
class PixelBuffer24;

inline constexpr int kDefaultSampleItems = 24;

// Writes the sample set into `folder` (made when missing); exactly `items` S16
// items go into the archive, about half of them 9-icon units, beside
// VERSION.TXT. False after a message.
bool WriteSampleData(const std::string& folder, int items, Progress& progress);

// The pictures the sample is made of, for tests and benchmarks as well.
// A unit seen in pose 0..8 (eight directions, then fallen), on the key colour.
void PaintUnitIcon(PixelBuffer24& picture, int unit, int pose);
// An interface picture of its own size: noisy ones code raw, banded ones as runs.
void PaintInterfaceIcon(PixelBuffer24& picture, int item);
