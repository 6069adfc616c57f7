// Arbitrary bytes as an S16 file: open, decode every icon, draw the collage
// and re-encode what was decoded; nothing may crash or read out of bounds,
// and the fast decoder gives the first decoder's bytes for every stored icon.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "FuzzFiles.h"
#include "ReferenceDecoder.h"
#include "bitmap/RasterSurface.h"
#include "sprite/IconDecoder.h"
#include "sprite/IconEncoder.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

// Decodes `icon` with both decoders, into buffers of different old contents.
void CompareDecoders(const CodedIcon& icon) {
    const S16Icon& r = icon.record;
    if (!s16::DecodableIconSize(r.TWidth, r.THeight)) return;
    PixelBuffer24 fast, slow;
    for (PixelBuffer24* p : {&fast, &slow}) {
        p->Create(r.TWidth, r.THeight, 24, false);
        if (!p->Allocate()) return;
    }
    std::memset(fast.Pixels(), 0x5A, fast.ImageSize());
    std::memset(slow.Pixels(), 0xA5, slow.ImageSize());
    const int placed = DecodeIcon(r, icon.data, fast);
    if (placed != ReferenceDecodeIcon(r, icon.data, slow) ||
        std::memcmp(fast.Pixels(), slow.Pixels(), fast.ImageSize()) != 0)
        std::abort();
}

}  // namespace

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
        if (image.ReadCodedIcon(k, stored)) CompareDecoders(stored);
    }
    RasterSurface surface(120, 90);
    bool atEnd = false;
    DrawCollage(image, &surface, Rect{0, 0, 120, 90}, 1, atEnd);
    DrawIcon(image, &surface, Rect{0, 0, 120, 90}, 3);
    return 0;
}
