#include "sprite/S16Builder.h"

#include <functional>

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Icon.h"
#include "support/DurabilityBatch.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SafeFileWriter.h"
#include "support/Text.h"

namespace {

constexpr int kIconsPerSheet = 9;

std::string OutputPathFor(const std::string& bitmapPath) {
    return SplitPath(bitmapPath, kPathWithoutExt) + ".s16";
}

// Makes the nine icons of one loaded bitmap; false when it cannot.
using IconMaker = std::function<bool(const PixelBuffer24& bitmap, std::vector<CodedIcon>& icons)>;

}  // namespace

bool IconsFromCells(const PixelBuffer24& sheet, const std::string& source, int columns, int rows,
                    std::vector<CodedIcon>& icons) {
    const int w = sheet.Width() / columns;
    const int h = sheet.Height() / rows;
    PixelBuffer24 cell;
    cell.CreateLike(w, h, sheet);
    if (!cell.Allocate()) {
        ReportOutOfMemory(FormatText("Cutting the cells of %s", source.c_str()));
        return false;
    }
    icons.clear();
    for (int j = 0; j < columns * rows; ++j) {
        const int x = j % columns * w;
        const int y = j / columns * h;
        sheet.CopyRect(x, y, x + w, y + h, cell, 0, 0);
        CodedIcon icon;
        if (!EncodeIcon(cell, FormatText("Cell %d of %s", j + 1, source.c_str()), icon))
            return false;
        icons.push_back(std::move(icon));
    }
    return true;
}

namespace {

bool ClonedIcons(const PixelBuffer24& bitmap, std::vector<CodedIcon>& icons) {
    CodedIcon icon;
    if (!EncodeIcon(bitmap, icon)) return false;
    icons.assign(kIconsPerSheet, icon);
    return true;
}

bool SheetIcons(const PixelBuffer24& bitmap, bool grid3x3, std::vector<CodedIcon>& icons) {
    const std::string& source = bitmap.FileName();
    const int columns = grid3x3 ? 3 : 9;
    const int rows = grid3x3 ? 3 : 1;
    if (bitmap.Width() / columns < 1 || bitmap.Height() / rows < 1) {
        ShowError("%s is %d x %d; a %d x %d sheet needs at least %d x %d pixels", source.c_str(),
                  bitmap.Width(), bitmap.Height(), columns, rows, columns, rows);
        return false;
    }
    return IconsFromCells(bitmap, source, columns, rows, icons);
}

BuildCounts MakeNineIconFiles(const std::string& folder, const std::vector<std::string>& names,
                              const IconMaker& makeIcons, BuildPlan* planOnly) {
    BuildCounts counts;
    PixelBuffer24 bitmap;
    DurabilityBatch batch;  // one flush to disk for all files, before the count is told
    for (const std::string& name : names) {
        const std::string bitmapPath = folder + name;
        std::vector<CodedIcon> icons;
        if (!bitmap.Load(bitmapPath) || !makeIcons(bitmap, icons)) {
            ++counts.failed;
            continue;
        }
        const std::vector<std::uint8_t> bytes = BuildS16File(icons);
        if (planOnly != nullptr) {
            planOnly->files.emplace_back(OutputPathFor(bitmapPath), bytes.size());
            ++counts.created;
            continue;
        }
        if (!WriteWholeFile(OutputPathFor(bitmapPath), bytes, &batch)) {
            ++counts.failed;
            continue;
        }
        ++counts.created;
    }
    if (!batch.MakeDurable()) {
        counts.failed += counts.created;
        counts.created = 0;
    }
    if (planOnly != nullptr) return counts;  // each failure was told as it happened
    if (counts.failed > 0) {
        ShowError("\n%d files created\n%d files could not be created\n", counts.created,
                  counts.failed);
    } else {
        ShowInfo("\nDone !\n%d files created all with 9 icons\n", counts.created);
    }
    return counts;
}

}  // namespace

BuildCounts MakeClonedS16(const std::string& folder, const std::vector<std::string>& names,
                          BuildPlan* planOnly) {
    return MakeNineIconFiles(folder, names, ClonedIcons, planOnly);
}

BuildCounts MakeS16FromSheet(const std::string& folder, const std::vector<std::string>& names,
                             bool grid3x3, BuildPlan* planOnly) {
    return MakeNineIconFiles(
        folder, names,
        [grid3x3](const PixelBuffer24& bitmap, std::vector<CodedIcon>& icons) {
            return SheetIcons(bitmap, grid3x3, icons);
        },
        planOnly);
}

bool MakeS16FromList(const std::string& folder, const std::vector<std::string>& entries,
                     const std::string& outputPath, ListGaps gaps, BuildPlan* planOnly) {
    std::vector<CodedIcon> icons(entries.size());
    PixelBuffer24 bitmap;
    bool complete = true;
    for (std::size_t j = 0; j < entries.size(); ++j) {
        const std::string path = IconListPicturePath(folder, TextAfter(entries[j], ": "));
        icons[j].placeholder = !bitmap.Load(path) || !EncodeIcon(bitmap, icons[j]);
        if (icons[j].placeholder && gaps == ListGaps::kRefuse) {
            ShowError("%s cannot become an icon: nothing was written to %s", path.c_str(),
                      outputPath.c_str());
            complete = false;
        }
    }
    if (!complete) return false;
    const std::vector<std::uint8_t> bytes = BuildS16File(icons);
    if (planOnly != nullptr) {
        planOnly->files.emplace_back(outputPath, bytes.size());
        return true;
    }
    if (!WriteWholeFile(outputPath, bytes)) return false;
    ShowInfo("\n %s was created \n", outputPath.c_str());
    return true;
}

std::string IconListEntry(int number, const std::string& baseName) {
    return FormatText("#%03d : %s", number, baseName.c_str());
}

namespace {

bool HasExtension(const std::string& fileName, const char* extension) {
    return EqualsNoCase(SplitPath(fileName, kPathExtension), extension);
}

}  // namespace

bool IsPictureFileName(const std::string& fileName) {
    return HasExtension(fileName, ".bmp") || HasExtension(fileName, ".png");
}

std::string IconListName(const std::string& fileName) {
    if (!HasExtension(fileName, ".bmp")) return fileName;
    const std::string baseName = SplitPath(fileName, kPathBaseName);
    return IsPictureFileName(baseName) ? fileName : baseName;
}

std::string IconListPicturePath(const std::string& folder, const std::string& name) {
    return folder + name + (IsPictureFileName(name) ? "" : ".bmp");
}
