#include "shp/ShpExport.h"

#include <vector>

#include "shp/ShpFormat.h"
#include "shp/ShpFrameImage.h"
#include "sprite/IconDataMap.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"
#include "support/ByteIo.h"
#include "support/Messages.h"
#include "support/SafeFileWriter.h"

namespace {

// The SHP palette's transparent colour, which a decoded magenta pixel becomes.
constexpr ColorValue kShpTransparentColour = 0x00F8E4D8;

// Codes the decoded current icon as one frame.
bool CodeFrame(S16Image& image, std::vector<std::uint8_t>& frame) {
    image.ReplaceColour(s16::kTransparentColor, kShpTransparentColour);
    ShpFrameImage picture;
    picture.Create(image.Width(), image.Height(), 24, false);
    if (!picture.Allocate() ||
        image.CopyRect(0, 0, image.Width(), image.Height(), picture, 0, 0) == 0)
        return false;
    ShpFrameHeader header;
    return picture.WriteShpFrame(frame, header) > 0;
}

}  // namespace

bool ExportIconSetAsShp(S16Image& image, const std::string& outputPath) {
    const int count = image.IconCount();
    if (count < 1) return false;
    // Icons with the same record and data become one frame that several
    // entries point at; data overlapping otherwise would be coded once per icon.
    const IconDataMap map = MapIconData(image, 0, true);
    if (map.Overlaps()) {
        ShowError("Icons %d and %d of [%s] overlap in the file", map.overlapFirst,
                  map.overlapSecond, image.FileName().c_str());
        return false;
    }
    const int remembered = image.CurrentIconNumber();
    std::vector<std::vector<std::uint8_t>> frames(static_cast<std::size_t>(count));
    bool ok = true;
    for (int i = 1; ok && i <= count; ++i) {
        if (map.owner[static_cast<std::size_t>(i - 1)] != i) continue;
        image.SelectIcon(i);
        // An icon that cannot be decoded fails the export: no other picture takes its place.
        ok = image.DecodeIcon() > 0 && CodeFrame(image, frames[static_cast<std::size_t>(i - 1)]);
    }
    image.SelectIcon(remembered);
    if (!ok) return false;

    std::vector<std::uint8_t> out(shp::kMagic, shp::kMagic + 4);
    ByteWriter w(out);
    w.I32(count);
    std::vector<std::uint32_t> offsets(static_cast<std::size_t>(count));
    std::uint64_t offset =
        shp::kHeaderSize + shp::kOffsetEntrySize * static_cast<std::uint64_t>(count);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const auto owner = static_cast<std::size_t>(map.owner[i] - 1);
        if (owner != i) {
            offsets[i] = offsets[owner];
        } else {
            offsets[i] = static_cast<std::uint32_t>(offset);
            offset += frames[i].size();
        }
        w.U32(offsets[i]);
        w.U32(0);
    }
    if (offset > UINT32_MAX) {
        ShowError("%s would pass 4 GiB", outputPath.c_str());
        return false;
    }
    for (const auto& frame : frames)
        out.insert(out.end(), frame.begin(), frame.end());
    return WriteWholeFile(outputPath, out);
}

bool ExportIconSetAsShpAndTell(S16Image& image, const std::string& outputPath) {
    if (!ExportIconSetAsShp(image, outputPath)) {
        ShowError("\n   Error on conversion   \n");
        return false;
    }
    ShowInfo("\n   %s\n  succesfuly created  \n", outputPath.c_str());
    return true;
}
