// Arbitrary bytes as an S16 file: open, decode every icon, draw the collage
// and re-encode what was decoded; nothing may crash or read out of bounds.
#include <algorithm>

#include "FuzzFiles.h"
#include "bitmap/RasterSurface.h"
#include "sprite/IconEncoder.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    S16Image image;
    image.OpenBytes({data, size}, "fuzz.s16");
    const int icons = std::min(image.IconCount(), 64);
    for (int k = 1; k <= icons; ++k) {
        image.SelectIcon(k);
        if (image.DecodeIcon() > 0) {
            CodedIcon coded;
            EncodeIcon(image, coded);
        }
        CodedIcon stored;
        image.ReadCodedIcon(k, stored);
    }
    RasterSurface surface(120, 90);
    bool atEnd = false;
    DrawCollage(image, &surface, Rect{0, 0, 120, 90}, 1, atEnd);
    DrawIcon(image, &surface, Rect{0, 0, 120, 90}, 3);
    return 0;
}
