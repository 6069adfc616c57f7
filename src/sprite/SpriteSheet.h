#pragma once
// The layout of a sprite sheet: every icon of a set in one picture, in cells
// of the largest icon's size, row by row from the top left, without gutters.
// Each icon sits at its cell's top-left corner; the rest of the cell shows
// the key colour.

#include <cstdint>
#include <string>
#include <vector>

#include "bitmap/PictureLimits.h"
#include "sprite/S16Icon.h"

class PixelBuffer24;
class S16Image;

// The largest sheet written: the largest picture the readers take back.
inline constexpr std::int64_t kMaxSheetPixels = kMaxPicturePixels;

struct SheetLayout {
    int count = 0;
    int columns = 0;
    int rows = 0;
    int cellWidth = 0;
    int cellHeight = 0;

    int Width() const { return columns * cellWidth; }
    int Height() const { return rows * cellHeight; }
    // The top-left corner of icon `number`'s cell (1-based).
    int CellX(int number) const { return (number - 1) % columns * cellWidth; }
    int CellY(int number) const { return (number - 1) / columns * cellHeight; }
};

// The columns of a sheet of `count` icons when none are asked for: the
// smallest square that holds them (three for a unit's nine poses).
int DefaultSheetColumns(int count);

// The layout of the icons of `table` in `columns` columns (0: the default).
// False, with `problem` set, when there is no icon, when `columns` is
// negative, or when the sheet would pass kMaxSheetPixels.
bool LayOutSheet(const std::vector<S16Icon>& table, int columns, SheetLayout& layout,
                 std::string& problem);

// True for the record of an icon that could not be made (all fields 0): it
// has an empty frame in a sheet and is rebuilt as such.
inline bool IsEmptyIconRecord(const S16Icon& record) {
    return record == S16Icon{};
}

// Decodes every icon of `image` into `sheet` (24 bits) at its cell. False
// when memory runs out (`failedIcon` 0) or an icon with a record cannot be
// decoded (`failedIcon` its number); nothing is shown. The current icon is kept.
bool ComposeSheet(S16Image& image, const SheetLayout& layout, PixelBuffer24& sheet,
                  int& failedIcon);
