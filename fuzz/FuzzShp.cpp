// Arbitrary bytes as an SHP file: decode every frame, draw the page and
// convert the file to S16; nothing may crash or read out of bounds.
#include <algorithm>
#include <vector>

#include "FuzzFiles.h"
#include "bitmap/RasterSurface.h"
#include "shp/ShpConversion.h"
#include "shp/ShpImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    ShpImage image;
    if (image.OpenBytes({data, size}, "fuzz.shp")) {
        const int frames = std::min(image.FrameCount(), 32);
        for (int k = 1; k <= frames; ++k) {
            image.SelectFrame(k);
            image.DecodeFrame();
        }
        RasterSurface surface(160, 120);
        bool noMore = false;
        image.DrawPage(&surface, Rect{0, 0, 160, 120}, 1, noMore);
        std::vector<std::uint8_t> s16;
        ShpBytesToS16({data, size}, "fuzz.shp", s16);
    }
    return 0;
}
