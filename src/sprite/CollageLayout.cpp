#include "sprite/CollageLayout.h"

#include <algorithm>
#include <cstdint>

#include "sprite/S16Image.h"

CollageResult LayOutCells(int first, int count, int availableWidth, int availableHeight,
                          bool squeeze, const std::function<CellSize(int number)>& sizeOf,
                          const std::function<void(const CollageCell&)>& place) {
    CollageResult result;
    // Sizes come from files: the layout runs in 64 bits so that no record can
    // overflow it, and only cells inside the available area are placed.
    std::int64_t x = 1, y = 1, rowBottom = 1;
    bool newRowForced = false;
    for (int k = std::max(first, 1); k <= count; ++k) {
        const CellSize size = sizeOf(k);
        std::int64_t w = std::max<std::int64_t>(size.width, 0);
        std::int64_t h = std::max<std::int64_t>(size.height, 0);
        if (squeeze) {
            if (w > availableWidth - 1) w = availableWidth - 3;
            if (h > availableHeight - 1) h = availableHeight - 3;
        }
        std::int64_t cellX = x;
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
        result.usedWidth = std::max(result.usedWidth, static_cast<int>(x));
        result.usedHeight = static_cast<int>(rowBottom);
        place(CollageCell{k, static_cast<int>(cellX), static_cast<int>(y), static_cast<int>(w),
                          static_cast<int>(h)});
        // A set of nine (a unit's poses) shows as three rows of three.
        newRowForced = count == 9 && (result.placed == 3 || result.placed == 6);
    }
    return result;
}

CollageResult LayOutCollage(S16Image& image, int first, int availableWidth, int availableHeight,
                            bool squeeze, const std::function<void(const CollageCell&)>& place) {
    return LayOutCells(
        first, image.IconCount(), availableWidth, availableHeight, squeeze,
        [&image](int number) {
            image.SelectIcon(number);
            return CellSize{image.CurrentIcon().TWidth, image.CurrentIcon().THeight};
        },
        [&image, &place](const CollageCell& cell) {
            image.SelectIcon(cell.icon);
            place(cell);
        });
}
