#include "sprite/CollageLayout.h"

#include <algorithm>

#include "sprite/S16Image.h"

CollageResult LayOutCollage(S16Image& image, int first, int availableWidth, int availableHeight,
                            bool squeeze, const std::function<void(const CollageCell&)>& place) {
    CollageResult result;
    const int count = image.IconCount();
    int x = 1, y = 1, rowBottom = 1;
    bool newRowForced = false;
    for (int k = std::max(first, 1); k <= count; ++k) {
        result.lastSelected = image.SelectIcon(k);
        int w = image.CurrentIcon().TWidth;
        int h = image.CurrentIcon().THeight;
        if (squeeze) {
            if (w > availableWidth - 1) w = availableWidth - 3;
            if (h > availableHeight - 1) h = availableHeight - 3;
        }
        int cellX = x;
        x = x + w + 1;
        rowBottom = std::max(rowBottom, y + h);
        if (x > availableWidth || newRowForced) {
            cellX = 1;
            x = w + 2;
            y = rowBottom + 1;
            rowBottom = y + h;
        }
        if (rowBottom > availableHeight) break;
        ++result.placed;
        result.lastPlaced = k;
        result.usedWidth = std::max(result.usedWidth, x);
        result.usedHeight = rowBottom;
        place(CollageCell{k, cellX, y, w, h});
        newRowForced = count == 9 && (result.placed == 3 || result.placed == 6);
    }
    return result;
}
