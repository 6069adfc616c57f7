// BMP file reading and writing of PixelBuffer24.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

bool SupportedDepth(int bpp) {
    return bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// The info headers that begin with the 40-byte layout: the plain one, the two
// that add masks, and the versions 4 and 5.
bool KnownHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool UsesBitFields(const BmpInfoHeader& header) {
    return header.compression == bmp::kCompressionBitFields &&
           (header.bitCount == 16 || header.bitCount == 32);
}

// Header facts of a BMP file that passed every test, before the image takes them.
struct BmpLayout {
    BmpInfoHeader header;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t pixelBytes = 0;    // stride x height
    std::int64_t paletteStart = 0;  // file offset of the colour table
    std::int64_t paletteBytes = 0;
    std::int64_t pixelStart = 0;
    std::int64_t available = 0;  // pixel bytes the file holds
    BitFields masks;
};

std::vector<std::uint8_t> FileHeaderBytes(std::uint32_t paletteBytes, std::size_t imageSize) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.U16(bmp::kType);
    w.U32(static_cast<std::uint32_t>(bmp::kHeadersSize + paletteBytes + imageSize));
    w.U16(0);
    w.U16(0);
    w.U32(static_cast<std::uint32_t>(bmp::kHeadersSize + paletteBytes));
    return out;
}

}  // namespace

bool PixelBuffer24::Load(const std::string& requestedPath) {
    std::string path = requestedPath;
    if (SplitPath(path, kPathExtension).empty()) path += ".bmp";
    if (!Exists(path)) {
        ShowError("%s not found", path.c_str());
        return false;
    }
    DataFile file;
    if (!file.Open(path, "rb", false)) {
        ShowError("Error reading %s", path.c_str());
        return false;
    }
    fileName = path;
    const auto fileLength = static_cast<std::int64_t>(file.Length());

    std::uint8_t fileHeader[bmp::kFileHeaderSize];
    if (file.Read(fileHeader, sizeof fileHeader) != sizeof fileHeader) {
        ShowError("Invalid BMP FileHeader size in %s", path.c_str());
        return false;
    }
    if (LoadU16(fileHeader) != bmp::kType) {
        ShowError("Invalid BMP type in %s", path.c_str());
        return false;
    }
    std::uint8_t infoBytes[bmp::kInfoHeaderSize];
    const std::size_t infoRead = file.Read(infoBytes, sizeof infoBytes);
    BmpLayout layout;
    layout.header = BmpInfoHeader::Parse({infoBytes, infoRead});
    if (infoRead != sizeof infoBytes || !KnownHeaderSize(layout.header.size)) {
        // A file that ends inside the info header shows how many bytes it has.
        const bool sizeKnown = infoRead >= 4 && !KnownHeaderSize(layout.header.size);
        const int shown =
            sizeKnown ? static_cast<int>(layout.header.size) : static_cast<int>(infoRead);
        ShowError("Invalid BMP Header size: %d <> %d in %s", shown, bmp::kInfoHeaderSize,
                  path.c_str());
        return false;
    }
    const int bpp = layout.header.bitCount;
    if (!SupportedDepth(bpp)) {
        ShowError("Only 8, 16, 24 and 32 bits BMP supported: %s has %d", path.c_str(), bpp);
        return false;
    }
    if (layout.header.compression != bmp::kCompressionRgb && !UsesBitFields(layout.header)) {
        ShowError("Unsupported BMP compression %u in %s",
                  static_cast<unsigned>(layout.header.compression), path.c_str());
        return false;
    }
    layout.width = std::llabs(static_cast<long long>(layout.header.width));
    layout.height = std::llabs(static_cast<long long>(layout.header.height));
    const std::int64_t rowBytes = bmp::RowSize(layout.width, bpp);
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    if (layout.width == 0 || layout.height == 0 || layout.width > kIntMax ||
        layout.height > kIntMax || rowBytes > kIntMax ||
        layout.height > std::numeric_limits<std::int64_t>::max() / rowBytes) {
        ShowError("Invalid BMP size %lld x %lld in %s", static_cast<long long>(layout.width),
                  static_cast<long long>(layout.height), path.c_str());
        return false;
    }
    layout.pixelBytes = rowBytes * layout.height;
    if (!ownsPixels && layout.pixelBytes > static_cast<std::int64_t>(capacity)) {
        ShowError("Image too big to allocated buffer: %s", path.c_str());
        return false;
    }
    const std::int64_t dataOffset = LoadU32(fileHeader + 10);
    layout.paletteStart = bmp::kFileHeaderSize + static_cast<std::int64_t>(layout.header.size);
    layout.masks = BitFields::Default(bpp);
    if (UsesBitFields(layout.header)) {
        // After a 40-byte header the masks come first; the offset must leave room for them.
        if (layout.header.size == bmp::kInfoHeaderSize) layout.paletteStart += bmp::kBitFieldsSize;
        std::uint8_t maskBytes[bmp::kBitFieldsSize];
        if (dataOffset < bmp::kHeadersSize + bmp::kBitFieldsSize ||
            !file.ReadAt(bmp::kHeadersSize, maskBytes, sizeof maskBytes)) {
            ShowError("Missing BMP colour masks in %s", path.c_str());
            return false;
        }
        layout.masks = {LoadU32(maskBytes), LoadU32(maskBytes + 4), LoadU32(maskBytes + 8)};
    }
    layout.paletteBytes = std::max<std::int64_t>(0, dataOffset - layout.paletteStart);
    layout.pixelStart = layout.paletteStart + layout.paletteBytes;
    layout.available = fileLength - layout.pixelStart;
    // Tolerate a file that only lacks the padding of its last row.
    const std::int64_t lastRowPadding = rowBytes - (layout.width * bpp + 7) / 8;
    if (layout.available < layout.pixelBytes - lastRowPadding) {
        ShowError("Truncated BMP pixel data in %s", path.c_str());
        return false;
    }

    // Colour tables longer than 256 entries are cut; the pixel data still starts at the stated
    // offset.
    std::array<std::uint8_t, bmp::kMaxPaletteEntries* bmp::kPaletteEntrySize> newPalette = palette;
    const std::size_t tableBytes =
        static_cast<std::size_t>(std::min<std::int64_t>(layout.paletteBytes, sizeof newPalette));
    if (tableBytes > 0 && !file.ReadAt(static_cast<std::uint64_t>(layout.paletteStart),
                                       newPalette.data(), tableBytes)) {
        ShowError("Truncated BMP pixel data in %s", path.c_str());
        return false;
    }
    if (!file.Seek(static_cast<std::uint64_t>(layout.pixelStart))) {
        ShowError("Error reading %s", path.c_str());
        return false;
    }

    infoHeader = layout.header;
    infoHeader.size = bmp::kInfoHeaderSize;  // only the 40-byte part is kept
    palette = newPalette;
    paletteCount = 0;
    if (layout.paletteBytes > 0) {
        const std::uint32_t used = layout.header.colorsUsed;
        paletteCount =
            used != 0 ? static_cast<int>(std::min<std::uint32_t>(used, bmp::kMaxPaletteEntries))
                      : (bpp == 8 ? bmp::kMaxPaletteEntries : 0);
    }
    SetGeometry(static_cast<int>(layout.width), static_cast<int>(layout.height), bpp,
                layout.header.height < 0);
    bitFields = layout.masks;
    infoHeader.compression =
        bitFields == BitFields::Default(bpp) ? bmp::kCompressionRgb : bmp::kCompressionBitFields;
    infoHeader.sizeImage = static_cast<std::uint32_t>(imageSize);
    if (!Allocate()) {
        ShowError("Not enough memory!");
        return false;
    }
    const std::size_t toRead =
        static_cast<std::size_t>(std::min<std::int64_t>(layout.available, layout.pixelBytes));
    // Only a missing padding of the last row (never counted in `toRead`) is
    // filled; a file that gives fewer bytes than it holds is an error.
    if (file.Read(pixels, toRead) != toRead) {
        FreePixels();
        ShowError("Error reading %s", path.c_str());
        return false;
    }
    if (toRead < imageSize) std::memset(pixels + toRead, 0, imageSize - toRead);
    return true;
}

bool PixelBuffer24::Save(const std::string& path, bool bottomUp) {
    if (!pixels) return false;
    DataFile file;
    if (!file.Open(path, "wb", false)) {
        ShowError("Error creating %s", path.c_str());
        return false;
    }
    const int entries = std::clamp(paletteCount, 0, bmp::kMaxPaletteEntries);
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(entries * bmp::kPaletteEntrySize);
    const bool withMasks = bitFields != BitFields::Default(bitsPerPixel);
    const std::uint32_t maskBytes = withMasks ? bmp::kBitFieldsSize : 0;
    std::vector<std::uint8_t> head = FileHeaderBytes(maskBytes + paletteBytes, imageSize);
    BmpInfoHeader written = infoHeader;
    written.size = bmp::kInfoHeaderSize;
    written.compression = withMasks ? bmp::kCompressionBitFields : bmp::kCompressionRgb;
    if (bottomUp) written.height = height;
    written.AppendTo(head);
    if (withMasks) {
        ByteWriter w(head);
        w.U32(bitFields.red);
        w.U32(bitFields.green);
        w.U32(bitFields.blue);
    }
    head.insert(head.end(), palette.begin(), palette.begin() + paletteBytes);
    bool ok = file.Write(head.data(), head.size());
    if (topDown && bottomUp) {
        for (int y = height - 1; y >= 0 && ok; --y)
            ok = file.Write(RowPtr(y), static_cast<std::size_t>(stride));
    } else {
        ok = ok && file.Write(pixels, imageSize);
    }
    if (!file.Close() || !ok) {
        ReportWriteError(path);
        return false;
    }
    return true;
}

bool PixelBuffer24::SaveAs24(const std::string& path, bool topDownArgument) {
    if (!pixels) return false;
    if (bitsPerPixel == 24 && topDown == topDownArgument) return Save(path, true);
    PixelBuffer24 converted;
    converted.Create(width, height, 24, topDownArgument);
    if (!converted.Allocate()) {
        ShowError("Not enough memory!");
        return false;
    }
    ConvertPixelsInto(converted);
    return converted.Save(path, true);
}
