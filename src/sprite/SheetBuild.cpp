#include "sprite/SheetBuild.h"

#include <map>

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Builder.h"
#include "sprite/S16Format.h"
#include "sprite/SpriteSheet.h"
#include "sprite/SpriteSheetJson.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SafeFileWriter.h"
#include "support/WholeFileReader.h"

namespace {

// A description is text of a few hundred bytes per frame.
constexpr std::uint64_t kMaxDescriptionBytes = 64ull << 20;

// Gives every pixel of `picture` the key colour (palette index 159 at 8 bits).
void FillWithKey(PixelBuffer24& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (picture.BitsPerPixel() == 8)
                picture.SetIndex(x, y, s16::kTransparentIndex);
            else
                picture.SetColor(x, y, s16::kKeyColor);
        }
    }
}

bool InsidePicture(const SheetFrame& frame, const PixelBuffer24& sheet) {
    return static_cast<std::int64_t>(frame.x) + frame.w <= sheet.Width() &&
           static_cast<std::int64_t>(frame.y) + frame.h <= sheet.Height();
}

// The whole icon of `frame`, in the sheet's depth and colour table.
bool CutFrame(const PixelBuffer24& sheet, const std::string& sheetName, const SheetFrame& frame,
              PixelBuffer24& cell) {
    cell.CreateLike(frame.sourceWidth, frame.sourceHeight, sheet);
    if (!cell.Allocate()) {
        ReportOutOfMemory(
            FormatText("Cutting frame \"%s\" of %s", frame.name.c_str(), sheetName.c_str()));
        return false;
    }
    const bool whole = frame.w == frame.sourceWidth && frame.h == frame.sourceHeight;
    if (!whole) FillWithKey(cell);
    if (frame.w > 0 && frame.h > 0)
        sheet.CopyRect(frame.x, frame.y, frame.x + frame.w, frame.y + frame.h, cell, frame.offsetX,
                       frame.offsetY);
    return true;
}

// Icons whose description says they shared data share them again where the
// data came out the same: an edited icon gets data of its own.
void ShareDescribedData(const SheetDescription& description, std::vector<CodedIcon>& icons) {
    std::map<int, std::size_t> byNumber;
    for (std::size_t i = 0; i < description.frames.size(); ++i) {
        const SheetFrame& frame = description.frames[i];
        if (frame.described) byNumber.emplace(frame.icon, i);
        const auto owner = byNumber.find(frame.sharesDataOf);
        if (frame.sharesDataOf == 0 || owner == byNumber.end()) continue;
        const CodedIcon& first = icons[owner->second];
        if (!icons[i].placeholder && !first.placeholder && first.sharedWith < 0 &&
            first.data == icons[i].data)
            icons[i].sharedWith = static_cast<int>(owner->second);
    }
}

}  // namespace

std::string SheetDescriptionPath(const std::string& sheetPath) {
    return ChangeExtension(sheetPath, ".json");
}

bool IconsFromDescribedSheet(const PixelBuffer24& sheet, const std::string& sheetName,
                             const SheetDescription& description,
                             const std::string& descriptionName, std::vector<CodedIcon>& icons) {
    // Frames may overlap: their icons together are held to twice the largest
    // sheet, so that a short description cannot ask for endless work.
    std::int64_t pixels = 0;
    for (const SheetFrame& frame : description.frames)
        pixels += static_cast<std::int64_t>(frame.sourceWidth) * frame.sourceHeight;
    if (pixels > 2 * kMaxSheetPixels) {
        ShowError(
            "[%s] is not a sheet description this program builds: its icons hold %lld "
            "pixels, more than %lld",
            descriptionName.c_str(), static_cast<long long>(pixels),
            2 * static_cast<long long>(kMaxSheetPixels));
        return false;
    }
    icons.assign(description.frames.size(), CodedIcon{});
    PixelBuffer24 cell;
    for (std::size_t i = 0; i < description.frames.size(); ++i) {
        const SheetFrame& frame = description.frames[i];
        if (!InsidePicture(frame, sheet)) {
            ShowError(
                "[%s] is not a sheet description of %s: frame \"%s\" (%d x %d at %d, %d) "
                "lies outside its %d x %d pixels",
                descriptionName.c_str(), sheetName.c_str(), frame.name.c_str(), frame.w, frame.h,
                frame.x, frame.y, sheet.Width(), sheet.Height());
            return false;
        }
        if (frame.described && IsEmptyIconRecord(frame.record)) {
            icons[i].placeholder = true;
            continue;
        }
        if (!CutFrame(sheet, sheetName, frame, cell)) return false;
        const std::string source =
            FormatText("Frame \"%s\" of %s", frame.name.c_str(), sheetName.c_str());
        const bool coded = frame.described ? EncodeIconAs(cell, source, frame.record, icons[i])
                                           : EncodeIcon(cell, source, icons[i]);
        if (!coded) return false;
    }
    ShareDescribedData(description, icons);
    return true;
}

bool IconsFromSheetGrid(const PixelBuffer24& sheet, const std::string& source, int columns,
                        int rows, std::vector<CodedIcon>& icons) {
    if (columns < 1 || rows < 1 || sheet.Width() % columns != 0 || sheet.Height() % rows != 0) {
        ShowError("%s is %d x %d: it does not divide into %d x %d equal cells", source.c_str(),
                  sheet.Width(), sheet.Height(), columns, rows);
        return false;
    }
    return IconsFromCells(sheet, source, columns, rows, icons);
}

bool LoadSheetDescription(const std::string& path, SheetDescription& description) {
    std::string text;
    if (!ReadWholeFile(path, kMaxDescriptionBytes, text)) return false;
    std::string problem;
    if (ParseSheetJson(text, description, problem)) return true;
    ShowError("[%s] is not a sheet description: %s", path.c_str(), problem.c_str());
    return false;
}

bool S16BytesFromSheetFile(const std::string& sheetPath, int columns, int rows,
                           std::vector<std::uint8_t>& bytes) {
    std::vector<CodedIcon> icons;
    PixelBuffer24 sheet;
    if (columns > 0 && rows > 0) {
        if (!sheet.Load(sheetPath) || !IconsFromSheetGrid(sheet, sheetPath, columns, rows, icons))
            return false;
    } else {
        const std::string descriptionPath = SheetDescriptionPath(sheetPath);
        if (!Exists(descriptionPath)) {
            ShowError("%s has no sheet description beside it: %s is missing", sheetPath.c_str(),
                      descriptionPath.c_str());
            return false;
        }
        SheetDescription description;
        if (!LoadSheetDescription(descriptionPath, description) || !sheet.Load(sheetPath) ||
            !IconsFromDescribedSheet(sheet, sheetPath, description, descriptionPath, icons))
            return false;
    }
    bytes = BuildS16File(icons);
    return true;
}

bool MakeS16FromSheetFile(const std::string& sheetPath, int columns, int rows,
                          const std::string& outputPath, BuildPlan* planOnly) {
    std::vector<std::uint8_t> bytes;
    if (!S16BytesFromSheetFile(sheetPath, columns, rows, bytes)) return false;
    if (planOnly != nullptr) {
        planOnly->files.emplace_back(outputPath, bytes.size());
        return true;
    }
    if (!WriteWholeFile(outputPath, bytes)) return false;
    ShowInfo("\n %s was created \n", outputPath.c_str());
    return true;
}
