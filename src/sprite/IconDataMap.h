#pragma once
// How the icons of an S16 use its pixel data area: which icons share the same
// data and whether any two overlap in part. A rewrite or an export that took
// every icon's data separately could grow without bound from a small file
// whose records all point at the same bytes.

#include <vector>

class S16Image;

struct IconDataMap {
    // For each icon (index = number - 1): the number of the first icon whose
    // data it uses, its own number when it uses them first; 0 for a skipped icon.
    std::vector<int> owner;
    // The first two icons found whose data overlap without being shared (0 when none).
    int overlapFirst = 0;
    int overlapSecond = 0;

    bool Overlaps() const { return overlapFirst != 0; }
};

// Maps the icons of `image` other than `skipped` (0 skips none). Icons with
// the same data (same Starts and Bytes) share them, when `sameRecordToShare`
// only if their records are equal as well; any other overlap is reported. A
// negative length stands for the rest of the data area.
IconDataMap MapIconData(const S16Image& image, int skipped, bool sameRecordToShare);
