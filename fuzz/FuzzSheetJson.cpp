// Arbitrary bytes as a sprite sheet description: a description that reads
// holds frames within the limits, writes and reads again to the same frames,
// and cuts icons from a picture without reading outside it.
#include <cstdlib>
#include <string_view>

#include "FuzzFiles.h"
#include "bitmap/PixelBuffer24.h"
#include "sprite/S16Format.h"
#include "sprite/SheetBuild.h"
#include "sprite/SpriteSheetJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    SheetDescription description;
    std::string problem;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!ParseSheetJson(text, description, problem)) return 0;
    for (const SheetFrame& frame : description.frames) {
        if (frame.w < 0 || frame.h < 0 || frame.offsetX + frame.w > frame.sourceWidth ||
            frame.offsetY + frame.h > frame.sourceHeight)
            std::abort();
    }
    SheetDescription again;
    if (!ParseSheetJson(SheetJsonText(description), again, problem) ||
        again.frames.size() != description.frames.size())
        std::abort();
    if (description.frames.size() > 16) return 0;  // a few frames show every path
    PixelBuffer24 sheet;
    sheet.Create(48, 32, 24, false);
    if (!sheet.Allocate()) return 0;
    for (int y = 0; y < sheet.Height(); ++y) {
        for (int x = 0; x < sheet.Width(); ++x)
            sheet.SetColor(x, y, (x + y) % 3 == 0 ? s16::kKeyColor : MakeColor(x, y, 8));
    }
    std::vector<CodedIcon> icons;
    if (IconsFromDescribedSheet(sheet, "sheet", description, "sheet.json", icons))
        BuildS16File(icons);
    return 0;
}
