#include "sprite/IconExport.h"

#include "sprite/S16Image.h"
#include "support/Messages.h"
#include "support/Paths.h"

bool SaveIconAsBmp(S16Image& image, const std::string& fileName) {
    if (!image.Pixels() || image.Width() < 1 || image.Height() < 1) return false;
    return image.SaveAs24(fileName);
}

std::string IconBitmapPath(const std::string& basePath, int number) {
    return FormatText("%s_%03d.bmp", SplitPath(basePath, kPathWithoutExt).c_str(), number);
}

int SaveAllIconsAsBmp(S16Image& image, const std::string& basePath) {
    const int remembered = image.CurrentIconNumber();
    const int count = image.IconCount();
    int failures = 0;
    for (int k = 1; k <= count; ++k) {
        image.SelectIcon(k);
        if (image.DecodeIcon() < 1) {
            ++failures;
            continue;
        }
        if (!SaveIconAsBmp(image, IconBitmapPath(basePath, k)))
            ++failures;  // a file not written is no success
    }
    image.SelectIcon(remembered);
    if (failures == 0) {
        ShowInfo("Done, All %d icons saved as BMP", count);
    } else {
        ShowError("Error: %d / %d icons were not saved as BMP\n", failures, count);
    }
    return failures;
}
