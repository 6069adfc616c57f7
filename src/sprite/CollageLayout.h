#pragma once
// The collage layout shared by drawing, measuring and composing: icons side by
// side with one-pixel gaps, rows wrapping at the available width, and a 9-icon
// set forced into rows of three.

#include <functional>

class S16Image;

struct CollageCell {
    int icon = 0;  // icon number, 1-based
    int x = 0;     // cell position from the area's top-left corner
    int y = 0;
    int width = 0;
    int height = 0;
};

struct CollageResult {
    int placed = 0;
    int lastSelected = 0;  // last icon number selected
    int lastPlaced = 0;    // last icon number placed
    int usedWidth = 0;     // largest next column reached by a placed icon
    int usedHeight = 0;    // row bottom of the last placed icon
};

// Lays out icons first, first + 1, ... within available x available height.
// With `squeeze`, icons larger than the area are given its size less 3.
// `place` is called for each icon placed; the icon is then current.
CollageResult LayOutCollage(S16Image& image, int first, int availableWidth, int availableHeight,
                            bool squeeze, const std::function<void(const CollageCell&)>& place);
