#include "sprite/S16Editor.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconDataMap.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SafeFileWriter.h"

namespace {

// The coded icons of the image as stored, in icon order, leaving out icon
// `skipped` (0 keeps them all): a damaged icon can still be removed. Data that
// several icons share are read once and stay shared; icons whose data overlap
// in part, or lie outside the file, are reported.
bool ReadKeptIcons(S16Image& image, int skipped, std::vector<CodedIcon>& icons) {
    const IconDataMap map = MapIconData(image, skipped, false);
    if (map.Overlaps()) {
        ShowError("Icons %d and %d of [%s] overlap in the file", map.overlapFirst,
                  map.overlapSecond, image.FileName().c_str());
        return false;
    }
    icons.clear();
    icons.reserve(static_cast<std::size_t>(image.IconCount()));
    std::vector<int> position(static_cast<std::size_t>(image.IconCount()) + 1, -1);
    for (int k = 1; k <= image.IconCount(); ++k) {
        if (k == skipped) continue;
        position[static_cast<std::size_t>(k)] = static_cast<int>(icons.size());
        icons.emplace_back();
        const int owner = map.owner[static_cast<std::size_t>(k - 1)];
        if (owner != k) {
            icons.back().record = image.Icon(k);
            icons.back().sharedWith = position[static_cast<std::size_t>(owner)];
            continue;
        }
        if (!image.ReadCodedIcon(k, icons.back())) {
            ShowError("Error reading icon %d of [%s]", k, image.FileName().c_str());
            return false;
        }
    }
    return true;
}

// Writes `bytes` as the new content of the image's file and reopens nothing.
bool RewriteWith(S16Image& image, const std::vector<std::uint8_t>& bytes) {
    const std::string path = image.FileName();
    SafeFileWriter writer(path, S16BackupPath(path));
    writer.RequireOriginal(
        image.File());  // refuses when another program replaced the file meanwhile
    image.CloseFile();
    return writer.Create() && writer.Write(bytes) && writer.Commit();
}

// Writes the icons as the new content of the image's file and reopens nothing;
// with `planOnly`, says there what would change and writes nothing. The data
// are laid out back to back whatever the old Starts were.
bool Rewrite(S16Image& image, std::vector<CodedIcon>& icons, S16EditPlan* planOnly) {
    const std::vector<std::uint8_t> bytes = BuildS16File(icons);
    if (planOnly != nullptr) {
        std::error_code error;
        const std::uintmax_t length = std::filesystem::file_size(image.FileName(), error);
        *planOnly = {image.IconCount(), static_cast<int>(icons.size()),
                     error ? 0 : static_cast<std::uint64_t>(length), bytes.size()};
        return true;
    }
    return RewriteWith(image, bytes);
}

std::string IconSummary(const S16Icon& r) {
    return FormatText("%d x %d, %d bytes coded", r.TWidth, r.THeight, r.Bytes);
}

}  // namespace

std::string S16BackupPath(const std::string& path) {
    return SplitPath(path, kPathWithoutExt) + ".back";
}

bool InsertIconFromBmp(S16Image& image, const std::string& bitmapPath, int n,
                       S16EditPlan* planOnly) {
    // Without the whole table the rewrite would keep only the new icon.
    if (!CheckS16Table(image, image.FileName(), false)) return false;
    PixelBuffer24 picture;
    if (!picture.Load(bitmapPath) || !picture.ConvertTo24(false)) return false;
    CodedIcon added;
    if (!EncodeIcon(picture, added)) return false;
    std::vector<CodedIcon> icons;
    if (!ReadKeptIcons(image, 0, icons)) return false;
    const int count = static_cast<int>(icons.size());
    const int slot = (n - 1 < 0 || n - 1 > count) ? count : n - 1;
    for (CodedIcon& icon : icons) {
        if (icon.sharedWith >= slot) ++icon.sharedWith;
    }
    icons.insert(icons.begin() + slot, std::move(added));
    return Rewrite(image, icons, planOnly);
}

bool RemoveIcon(S16Image& image, int n, S16EditPlan* planOnly) {
    if (!CheckS16Table(image, image.FileName(), false)) return false;
    if (n < 1 || n > image.IconCount()) return false;
    std::vector<CodedIcon> icons;
    if (!ReadKeptIcons(image, n, icons)) return false;
    return Rewrite(image, icons, planOnly);
}

bool PlanIconReplacement(S16Image& image, const std::string& name, int n,
                         const std::string& picturePath, IconReplacement& plan) {
    if (!CheckS16Table(image, name, false)) return false;
    if (n < 1 || n > image.IconCount()) {
        ShowError("Icon %d is not in %s (%d icons)", n, name.c_str(), image.IconCount());
        return false;
    }
    PixelBuffer24 picture;
    CodedIcon added;
    if (!picture.Load(picturePath) || !EncodeIcon(picture, picturePath, added)) return false;
    const std::string before = IconSummary(image.Icon(n));
    // Icon n is left out: icons that shared its data keep them, the first of
    // them holding the copy.
    std::vector<CodedIcon> icons;
    if (!ReadKeptIcons(image, n, icons)) return false;
    const int slot = n - 1;
    for (CodedIcon& icon : icons) {
        if (icon.sharedWith >= slot) ++icon.sharedWith;
    }
    icons.insert(icons.begin() + slot, std::move(added));
    plan.bytes = BuildS16File(icons);
    plan.change = FormatText("icon %d of %s: %s, was %s", n, name.c_str(),
                             IconSummary(icons[static_cast<std::size_t>(slot)].record).c_str(),
                             before.c_str());
    return true;
}

bool ReplaceIconFromPicture(S16Image& image, int n, const std::string& picturePath,
                            IconReplacement* planOnly) {
    const std::string path = image.FileName();
    IconReplacement plan;
    if (!PlanIconReplacement(image, path, n, picturePath, plan)) return false;
    if (planOnly != nullptr) {
        *planOnly = std::move(plan);
        return true;
    }
    if (!RewriteWith(image, plan.bytes)) return false;
    ShowInfo("Replaced %s", plan.change.c_str());
    return true;
}
