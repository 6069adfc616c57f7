#include "sprite/SpriteSheet.h"

#include <algorithm>

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconDecoder.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"

int DefaultSheetColumns(int count) {
    int columns = 1;
    while (static_cast<std::int64_t>(columns) * columns < count)
        ++columns;
    return columns;
}

bool LayOutSheet(const std::vector<S16Icon>& table, int columns, SheetLayout& layout,
                 std::string& problem) {
    layout = SheetLayout{};
    if (table.empty()) {
        problem = "it has no icon";
        return false;
    }
    if (columns < 0) {
        problem = FormatText("%d columns cannot hold a sheet", columns);
        return false;
    }
    layout.count = static_cast<int>(table.size());
    layout.columns =
        columns == 0 ? DefaultSheetColumns(layout.count) : std::min(columns, layout.count);
    layout.rows = (layout.count + layout.columns - 1) / layout.columns;
    std::int64_t width = 0, height = 0;
    for (const S16Icon& icon : table) {
        width = std::max<std::int64_t>(width, icon.TWidth);
        height = std::max<std::int64_t>(height, icon.THeight);
    }
    // Records come from files: the sheet is measured in 64 bits before anything is made.
    const std::int64_t sheetWidth = width * layout.columns;
    const std::int64_t sheetHeight = height * layout.rows;
    if (width < 1 || height < 1) {
        problem = "none of its icons has a size";
        return false;
    }
    if (width > INT32_MAX / layout.columns || height > INT32_MAX / layout.rows ||
        sheetWidth * sheetHeight > kMaxSheetPixels) {
        problem = FormatText(
            "a sheet of its icons would be %lld x %lld pixels, over the %lld "
            "a sheet may have",
            static_cast<long long>(sheetWidth), static_cast<long long>(sheetHeight),
            static_cast<long long>(kMaxSheetPixels));
        return false;
    }
    layout.cellWidth = static_cast<int>(width);
    layout.cellHeight = static_cast<int>(height);
    return true;
}

bool ComposeSheet(S16Image& image, const SheetLayout& layout, PixelBuffer24& sheet,
                  int& failedIcon) {
    failedIcon = 0;
    sheet.Create(layout.Width(), layout.Height(), 24, false);
    if (!sheet.Allocate()) return false;
    FillWithKeyColour(sheet);
    const int remembered = image.CurrentIconNumber();
    for (int k = 1; failedIcon == 0 && k <= layout.count; ++k) {
        if (IsEmptyIconRecord(image.Icon(k))) continue;
        image.SelectIcon(k);
        if (image.DecodeIcon() < 1) {
            failedIcon = k;
            break;
        }
        image.CopyRect(0, 0, image.Width(), image.Height(), sheet, layout.CellX(k),
                       layout.CellY(k));
    }
    image.SelectIcon(remembered);
    return failedIcon == 0;
}
