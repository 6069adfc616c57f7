// Arbitrary bytes as a PNG file, through the PNG library: a picture that
// decodes has its stated size, applies the transparency rule, and encodes and
// decodes again to the same pixels.
#include <cstdlib>

#include "FuzzFiles.h"
#include "bitmap/PictureTransparency.h"
#include "bitmap/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    RgbaPicture picture;
    std::string error;
    if (!DecodePng({data, size}, picture, error)) return 0;
    const std::size_t expected =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4;
    if (picture.pixels.size() != expected) std::abort();
    PixelBuffer24 keyed;
    RgbaToKeyed(picture, keyed);
    if (!keyed.Pixels()) std::abort();
    std::vector<std::uint8_t> png;
    RgbaPicture again;
    if (!EncodePng(picture, png, error) || !DecodePng(png, again, error) ||
        again.pixels != picture.pixels)
        std::abort();
    return 0;
}
