#include "sprite/S16Icon.h"

#include "sprite/S16Format.h"
#include "support/ByteIo.h"

S16Icon S16Icon::Read(ByteReader& in) {
    S16Icon icon;
    icon.Width = in.I32();
    icon.Height = in.I32();
    icon.StartX = in.I32();
    icon.StartY = in.I32();
    icon.TWidth = in.I32();
    icon.THeight = in.I32();
    icon.Starts = in.I32();
    icon.Bytes = in.I32();
    icon.Compress = in.I32();
    icon.Reserved = in.I32();
    return icon;
}

void S16Icon::AppendTo(std::vector<std::uint8_t>& out) const {
    ByteWriter w(out);
    for (std::int32_t field :
         {Width, Height, StartX, StartY, TWidth, THeight, Starts, Bytes, Compress, Reserved}) {
        w.I32(field);
    }
}

std::vector<std::uint8_t> BuildS16File(std::vector<CodedIcon>& icons) {
    std::vector<std::uint8_t> out;
    std::size_t dataBytes = 0;
    for (const CodedIcon& icon : icons)
        dataBytes += icon.data.size();
    out.reserve(s16::kCountSize + icons.size() * s16::kIconRecordSize + dataBytes);
    ByteWriter(out).I32(static_cast<std::int32_t>(icons.size()));
    std::int32_t starts = 0;
    for (CodedIcon& icon : icons) {
        if (icon.placeholder) {
            icon.record = S16Icon{};
            icon.data.clear();
            icon.record.AppendTo(out);
            continue;
        }
        icon.record.Starts = starts;
        icon.record.Bytes = static_cast<std::int32_t>(icon.data.size());
        icon.record.AppendTo(out);
        starts += icon.record.Bytes;
    }
    for (const CodedIcon& icon : icons)
        out.insert(out.end(), icon.data.begin(), icon.data.end());
    return out;
}
