#include "sprite/PictureLoad.h"

#include <cstdint>

#include "bitmap/PictureTransparency.h"
#include "bitmap/PixelBuffer24.h"
#include "bitmap/PngCodec.h"
#include "support/DataFile.h"
#include "support/Messages.h"

namespace {

bool StartsLikePng(const std::string& path) {
    DataFile file;
    std::uint8_t head[8] = {};
    return file.Open(path, "rb", false) && file.ReadAt(0, head, sizeof head) && LooksLikePng(head);
}

// A PNG file read whole: its size is what the codec checks the picture against.
bool LoadPng(const std::string& path, PixelBuffer24& picture) {
    DataFile file;
    if (!file.Open(path, "rb", false)) {
        ReportOpenError(path, file.Error());
        return false;
    }
    const std::uint64_t length = file.Length();
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(FormatText("Reading %s", path.c_str()));
        return false;
    }
    if (file.Error() != 0 || !file.ReadAt(0, bytes.data(), bytes.size())) {
        ReportReadError(path, file.Error());
        return false;
    }
    RgbaPicture rgba;
    std::string error;
    if (!DecodePng(bytes, rgba, error)) {
        ShowError("%s is not a PNG picture that can be read: %s", path.c_str(), error.c_str());
        return false;
    }
    RgbaToKeyed(rgba, picture);
    if (!picture.Pixels()) {
        ReportOutOfMemory(FormatText("Reading %s", path.c_str()));
        return false;
    }
    return true;
}

}  // namespace

bool LoadPicture(const std::string& path, PixelBuffer24& picture) {
    return StartsLikePng(path) ? LoadPng(path, picture) : picture.Load(path);
}
