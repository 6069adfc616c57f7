#include "shp/ShpFormat.h"

#include "support/ByteIo.h"

ShpFrameHeader ShpFrameHeader::Read(ByteReader& in) {
    ShpFrameHeader h;
    h.HeightMinus1 = in.I16();
    h.WidthMinus1 = in.I16();
    h.Reserved = in.I32();
    h.Left = in.I32();
    h.Top = in.I32();
    h.Right = in.I32();
    h.Bottom = in.I32();
    return h;
}

void ShpFrameHeader::AppendTo(std::vector<std::uint8_t>& out) const {
    ByteWriter w(out);
    w.I16(HeightMinus1);
    w.I16(WidthMinus1);
    w.I32(Reserved);
    w.I32(Left);
    w.I32(Top);
    w.I32(Right);
    w.I32(Bottom);
}
