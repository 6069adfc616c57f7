#pragma once
// The collage layout shared by drawing, measuring and composing: pictures
// side by side with one-pixel gaps, rows wrapping at the available width, and
// a set of nine forced into rows of three. SHP preview pages use it too.

#include <cstdint>
#include <functional>

class S16Image;

struct CollageCell {
    int icon = 0;  // picture number, 1-based
    int x = 0;     // cell position from the area's top-left corner
    int y = 0;
    int width = 0;
    int height = 0;
};

struct CollageResult {
    int placed = 0;
    int lastPlaced = 0;  // last picture number placed
    int usedWidth = 0;   // largest next column reached by a placed picture
    int usedHeight = 0;  // row bottom of the last placed picture
};

struct CellSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Lays out pictures first, first + 1, ... of `count` within the available
// width and height; `sizeOf` gives a picture's size. With `squeeze`, pictures
// larger than the area are given its size less 3. `place` is called for each
// picture placed.
CollageResult LayOutCells(int first, int count, int availableWidth, int availableHeight,
                          bool squeeze, const std::function<CellSize(int number)>& sizeOf,
                          const std::function<void(const CollageCell&)>& place);
// The layout of an S16 set's icons; each placed icon is current when `place` runs.
CollageResult LayOutCollage(S16Image& image, int first, int availableWidth, int availableHeight,
                            bool squeeze, const std::function<void(const CollageCell&)>& place);
