#include "bitmap/BmpFormat.h"

#include "support/ByteIo.h"

BmpInfoHeader BmpInfoHeader::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    BmpInfoHeader header;
    header.size = in.U32();
    if (header.size == bmp::kCoreHeaderSize) {
        header.width = in.U16();
        header.height = in.U16();
        header.planes = in.U16();
        header.bitCount = in.U16();
        return header;
    }
    header.width = in.I32();
    header.height = in.I32();
    header.planes = in.U16();
    header.bitCount = in.U16();
    header.compression = in.U32();
    header.sizeImage = in.U32();
    header.xPelsPerMeter = in.I32();
    header.yPelsPerMeter = in.I32();
    header.colorsUsed = in.U32();
    header.colorsImportant = in.U32();
    return header;
}

void BmpInfoHeader::AppendTo(std::vector<std::uint8_t>& out) const {
    ByteWriter w(out);
    w.U32(size);
    w.I32(width);
    w.I32(height);
    w.U16(planes);
    w.U16(bitCount);
    w.U32(compression);
    w.U32(sizeImage);
    w.I32(xPelsPerMeter);
    w.I32(yPelsPerMeter);
    w.U32(colorsUsed);
    w.U32(colorsImportant);
}
