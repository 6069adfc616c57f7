#include "ShpFiles.h"

Bytes ShpBytes(const std::vector<ShpFrameSpec>& frames) {
    Bytes out{'1', '.', '1', '0'};
    PutU32(out, static_cast<std::uint32_t>(frames.size()));
    std::uint32_t offset = 8 + 8 * static_cast<std::uint32_t>(frames.size());
    for (const ShpFrameSpec& frame : frames) {
        PutU32(out, offset);
        PutU32(out, 0);
        offset += 24 + static_cast<std::uint32_t>(frame.rows.size());
    }
    for (const ShpFrameSpec& frame : frames) {
        frame.header.AppendTo(out);
        out.insert(out.end(), frame.rows.begin(), frame.rows.end());
    }
    return out;
}

ShpFrameHeader FrameHeader(int width, int height, int left, int top, int right, int bottom) {
    ShpFrameHeader h;
    h.WidthMinus1 = static_cast<std::int16_t>(width - 1);
    h.HeightMinus1 = static_cast<std::int16_t>(height - 1);
    h.Left = left;
    h.Top = top;
    h.Right = right;
    h.Bottom = bottom;
    return h;
}
