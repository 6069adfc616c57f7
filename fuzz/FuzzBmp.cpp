// Arbitrary bytes as a BMP file: load, convert, copy and save must never crash.
#include "FuzzFiles.h"
#include "bitmap/PixelBuffer24.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    PixelBuffer24 picture;
    if (picture.LoadBytes({data, size}, "fuzz.bmp")) {
        (void)picture.GetColor(picture.Width() - 1, picture.Height() - 1);
        PixelBuffer24 copy;
        copy.CreateLike(picture.Width(), picture.Height(), picture);
        if (copy.Allocate()) picture.CopyRect(0, 0, picture.Width(), picture.Height(), copy, 0, 0);
        picture.ConvertTo24(false);
    }
    return 0;
}
