// Arbitrary bytes as an SHP file: decode every frame, draw the page and
// convert the file to S16; nothing may crash or read out of bounds.
#include <algorithm>
#include <cstdio>

#include "FuzzFiles.h"
#include "bitmap/RasterSurface.h"
#include "shp/ShpConversion.h"
#include "shp/ShpImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    const std::string path = WriteFuzzInput(data, size, ".shp");
    ShpImage image;
    if (image.Open(path)) {
        const int frames = std::min(image.FrameCount(), 32);
        for (int k = 1; k <= frames; ++k) {
            image.SelectFrame(k);
            image.DecodeFrame();
        }
        RasterSurface surface(160, 120);
        bool noMore = false;
        image.DrawPage(&surface, Rect{0, 0, 160, 120}, 1, noMore);
        const std::string s16 = path + ".s16";
        ConvertShpToS16(path, s16);
        std::remove(s16.c_str());
    }
    std::remove(path.c_str());
    return 0;
}
