#include "sprite/S16Editor.h"

#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SafeFileWriter.h"

namespace {

// The coded icons of the image as stored, in icon order; reports an icon whose
// data do not lie inside the file.
bool ReadAllIcons(S16Image& image, std::vector<CodedIcon>& icons) {
    icons.resize(static_cast<std::size_t>(image.IconCount()));
    for (int k = 1; k <= image.IconCount(); ++k) {
        if (!image.ReadCodedIcon(k, icons[static_cast<std::size_t>(k - 1)])) {
            ShowError("Error reading icon %d of [%s]", k, image.FileName().c_str());
            return false;
        }
    }
    return true;
}

// Writes the icons as the new content of the image's file and reopens nothing.
// The data are laid out back to back whatever the old Starts were.
bool Rewrite(S16Image& image, std::vector<CodedIcon>& icons) {
    const std::string path = image.FileName();
    const std::vector<std::uint8_t> bytes = BuildS16File(icons);
    SafeFileWriter writer(path, S16BackupPath(path));
    writer.RequireOriginal(
        image.File());  // refuses when another program replaced the file meanwhile
    image.CloseFile();
    return writer.Create() && writer.Write(bytes) && writer.Commit();
}

}  // namespace

std::string S16NewPath(const std::string& path) {
    return SplitPath(path, kPathWithoutExt) + "_new.s16";
}
std::string S16BackupPath(const std::string& path) {
    return SplitPath(path, kPathWithoutExt) + ".back";
}

bool InsertIconFromBmp(S16Image& image, const std::string& bitmapPath, int n) {
    PixelBuffer24 picture;
    if (!picture.Load(bitmapPath) || !picture.ConvertTo24(false)) return false;
    CodedIcon added;
    if (!EncodeIcon(picture, added)) return false;
    std::vector<CodedIcon> icons;
    if (!ReadAllIcons(image, icons)) return false;
    const int count = static_cast<int>(icons.size());
    const int slot = (n - 1 < 0 || n - 1 > count) ? count : n - 1;
    icons.insert(icons.begin() + slot, std::move(added));
    return Rewrite(image, icons);
}

bool RemoveIcon(S16Image& image, int n) {
    if (n < 1 || n > image.IconCount()) return false;
    std::vector<CodedIcon> icons;
    if (!ReadAllIcons(image, icons)) return false;
    icons.erase(icons.begin() + (n - 1));
    return Rewrite(image, icons);
}
