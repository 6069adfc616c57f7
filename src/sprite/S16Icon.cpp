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
    const auto sharing = [&icons](const CodedIcon& icon) {
        return icon.sharedWith >= 0 && static_cast<std::size_t>(icon.sharedWith) < icons.size() &&
               !icons[static_cast<std::size_t>(icon.sharedWith)].placeholder &&
               icons[static_cast<std::size_t>(icon.sharedWith)].sharedWith < 0;
    };
    std::vector<std::uint8_t> out;
    std::size_t dataBytes = 0;
    for (CodedIcon& icon : icons) {
        if (icon.placeholder) {
            icon.record = S16Icon{};
            icon.data.clear();
        } else if (sharing(icon)) {
            icon.data.clear();
        }
        dataBytes += icon.data.size();
    }
    // Data first laid out, then the records that share them take their place.
    std::int32_t starts = 0;
    for (CodedIcon& icon : icons) {
        if (icon.placeholder || sharing(icon)) continue;
        icon.record.Starts = starts;
        icon.record.Bytes = static_cast<std::int32_t>(icon.data.size());
        starts += icon.record.Bytes;
    }
    for (CodedIcon& icon : icons) {
        if (icon.placeholder || !sharing(icon)) continue;
        const S16Icon& owner = icons[static_cast<std::size_t>(icon.sharedWith)].record;
        icon.record.Starts = owner.Starts;
        icon.record.Bytes = owner.Bytes;
    }
    out.reserve(s16::kCountSize + icons.size() * s16::kIconRecordSize + dataBytes);
    ByteWriter(out).I32(static_cast<std::int32_t>(icons.size()));
    for (const CodedIcon& icon : icons)
        icon.record.AppendTo(out);
    for (const CodedIcon& icon : icons)
        out.insert(out.end(), icon.data.begin(), icon.data.end());
    return out;
}
