// BMP file reading and writing of PixelBuffer24.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
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

// The bytes of the BMP file in `file` that its headers give a use: up to the
// end of its pixel rows, or only its headers when they make no sense.
std::uint64_t BytesToRead(DataFile& file, std::uint64_t length) {
    constexpr std::uint64_t kLargestHeaders = bmp::kFileHeaderSize + 124 + bmp::kBitFieldsSize;
    std::uint8_t head[bmp::kHeadersSize];
    if (length < sizeof head || !file.ReadAt(0, head, sizeof head)) return kLargestHeaders;
    const std::uint64_t dataOffset = LoadU32(head + 10);
    const std::int64_t width = std::llabs(static_cast<std::int32_t>(LoadU32(head + 18)));
    const std::int64_t height = std::llabs(static_cast<std::int32_t>(LoadU32(head + 22)));
    const int bitsPerPixel = LoadU16(head + 28);
    const std::int64_t rowBytes = bmp::RowSize(width, bitsPerPixel);
    if (LoadU16(head) != bmp::kType || rowBytes <= 0 || height == 0 ||
        height > std::numeric_limits<std::int64_t>::max() / rowBytes / 2)
        return kLargestHeaders;
    return std::max(kLargestHeaders, dataOffset + static_cast<std::uint64_t>(rowBytes * height));
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
    const std::uint64_t length = file.Length();
    if (file.Error() != 0) {
        ShowError("Error reading %s", path.c_str());
        return false;
    }
    // Read what the headers say the picture uses, no more: a BMP's parts are
    // then checked against the bytes there are, and a huge file that is no
    // bitmap costs no huge allocation.
    const auto size = static_cast<std::size_t>(std::min(length, BytesToRead(file, length)));
    std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[size > 0 ? size : 1]);
    if (!bytes) {
        ShowError("Not enough memory!");
        return false;
    }
    if (size > 0 && !file.ReadAt(0, bytes.get(), size)) {
        ShowError("Error reading %s", path.c_str());
        return false;
    }
    return LoadBytes({bytes.get(), size}, path);
}

bool PixelBuffer24::LoadBytes(std::span<const std::uint8_t> bytes, const std::string& name) {
    const char* shownName = name.c_str();
    fileName_ = name;
    const auto fileLength = static_cast<std::int64_t>(bytes.size());

    if (bytes.size() < bmp::kFileHeaderSize) {
        ShowError("Invalid BMP FileHeader size in %s", shownName);
        return false;
    }
    const std::uint8_t* fileHeader = bytes.data();
    if (LoadU16(fileHeader) != bmp::kType) {
        ShowError("Invalid BMP type in %s", shownName);
        return false;
    }
    const std::span<const std::uint8_t> infoBytes = bytes.subspan(
        bmp::kFileHeaderSize,
        std::min<std::size_t>(bmp::kInfoHeaderSize, bytes.size() - bmp::kFileHeaderSize));
    const std::size_t infoRead = infoBytes.size();
    BmpLayout layout;
    layout.header = BmpInfoHeader::Parse(infoBytes);
    if (infoRead != bmp::kInfoHeaderSize || !KnownHeaderSize(layout.header.size)) {
        // A file that ends inside the info header shows how many bytes it has.
        const bool sizeKnown = infoRead >= 4 && !KnownHeaderSize(layout.header.size);
        const int shown =
            sizeKnown ? static_cast<int>(layout.header.size) : static_cast<int>(infoRead);
        ShowError("Invalid BMP Header size: %d <> %d in %s", shown, bmp::kInfoHeaderSize,
                  shownName);
        return false;
    }
    const int bpp = layout.header.bitCount;
    if (!SupportedDepth(bpp)) {
        ShowError("Only 8, 16, 24 and 32 bits BMP supported: %s has %d", shownName, bpp);
        return false;
    }
    if (layout.header.compression != bmp::kCompressionRgb && !UsesBitFields(layout.header)) {
        ShowError("Unsupported BMP compression %u in %s",
                  static_cast<unsigned>(layout.header.compression), shownName);
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
                  static_cast<long long>(layout.height), shownName);
        return false;
    }
    layout.pixelBytes = rowBytes * layout.height;
    if (!OwnsPixels() && layout.pixelBytes > static_cast<std::int64_t>(Capacity())) {
        ShowError("Image too big to allocated buffer: %s", shownName);
        return false;
    }
    const std::int64_t dataOffset = LoadU32(fileHeader + 10);
    layout.paletteStart = bmp::kFileHeaderSize + static_cast<std::int64_t>(layout.header.size);
    layout.masks = BitFields::Default(bpp);
    if (UsesBitFields(layout.header)) {
        // After a 40-byte header the masks come first; the offset must leave room for them.
        if (layout.header.size == bmp::kInfoHeaderSize) layout.paletteStart += bmp::kBitFieldsSize;
        if (dataOffset < bmp::kHeadersSize + bmp::kBitFieldsSize ||
            fileLength < bmp::kHeadersSize + bmp::kBitFieldsSize) {
            ShowError("Missing BMP colour masks in %s", shownName);
            return false;
        }
        const std::uint8_t* maskBytes = bytes.data() + bmp::kHeadersSize;
        layout.masks = {LoadU32(maskBytes), LoadU32(maskBytes + 4), LoadU32(maskBytes + 8)};
    }
    layout.paletteBytes = std::max<std::int64_t>(0, dataOffset - layout.paletteStart);
    layout.pixelStart = layout.paletteStart + layout.paletteBytes;
    layout.available = fileLength - layout.pixelStart;
    // Tolerate a file that only lacks the padding of its last row.
    const std::int64_t lastRowPadding = rowBytes - (layout.width * bpp + 7) / 8;
    if (layout.available < layout.pixelBytes - lastRowPadding) {
        ShowError("Truncated BMP pixel data in %s", shownName);
        return false;
    }

    // Colour tables longer than 256 entries are cut; the pixel data still starts at the stated
    // offset.
    std::array<std::uint8_t, bmp::kMaxPaletteEntries* bmp::kPaletteEntrySize> newPalette = palette_;
    const std::size_t tableBytes =
        static_cast<std::size_t>(std::min<std::int64_t>(layout.paletteBytes, sizeof newPalette));
    if (layout.paletteStart + static_cast<std::int64_t>(tableBytes) > fileLength) {
        ShowError("Truncated BMP pixel data in %s", shownName);
        return false;
    }
    std::memcpy(newPalette.data(), bytes.data() + layout.paletteStart, tableBytes);

    infoHeader_ = layout.header;
    infoHeader_.size = bmp::kInfoHeaderSize;  // only the 40-byte part is kept
    palette_ = newPalette;
    paletteCount_ = 0;
    if (layout.paletteBytes > 0) {
        const std::uint32_t used = layout.header.colorsUsed;
        paletteCount_ =
            used != 0 ? static_cast<int>(std::min<std::uint32_t>(used, bmp::kMaxPaletteEntries))
                      : (bpp == 8 ? bmp::kMaxPaletteEntries : 0);
    }
    SetGeometry(static_cast<int>(layout.width), static_cast<int>(layout.height), bpp,
                layout.header.height < 0);
    bitFields_ = layout.masks;
    infoHeader_.compression =
        bitFields_ == BitFields::Default(bpp) ? bmp::kCompressionRgb : bmp::kCompressionBitFields;
    infoHeader_.sizeImage = static_cast<std::uint32_t>(ImageSize());
    if (!Allocate()) {
        ShowError("Not enough memory!");
        return false;
    }
    // Only a missing padding of the last row is filled.
    const std::size_t toCopy =
        static_cast<std::size_t>(std::min<std::int64_t>(layout.available, layout.pixelBytes));
    std::memcpy(Pixels(), bytes.data() + layout.pixelStart, toCopy);
    if (toCopy < ImageSize()) std::memset(Pixels() + toCopy, 0, ImageSize() - toCopy);
    return true;
}

std::vector<std::uint8_t> PixelBuffer24::BmpHeadBytes(bool bottomUp) const {
    const int entries = std::clamp(paletteCount_, 0, bmp::kMaxPaletteEntries);
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(entries * bmp::kPaletteEntrySize);
    const bool withMasks = bitFields_ != BitFields::Default(BitsPerPixel());
    const std::uint32_t maskBytes = withMasks ? bmp::kBitFieldsSize : 0;
    std::vector<std::uint8_t> head = FileHeaderBytes(maskBytes + paletteBytes, ImageSize());
    BmpInfoHeader written = infoHeader_;
    written.size = bmp::kInfoHeaderSize;
    written.compression = withMasks ? bmp::kCompressionBitFields : bmp::kCompressionRgb;
    if (bottomUp) written.height = Height();
    written.AppendTo(head);
    if (withMasks) {
        ByteWriter w(head);
        w.U32(bitFields_.red);
        w.U32(bitFields_.green);
        w.U32(bitFields_.blue);
    }
    head.insert(head.end(), palette_.begin(), palette_.begin() + paletteBytes);
    return head;
}

std::vector<std::uint8_t> PixelBuffer24::BmpFileBytes(bool bottomUp) const {
    if (!Pixels()) return {};
    std::vector<std::uint8_t> bytes = BmpHeadBytes(bottomUp);
    bytes.reserve(bytes.size() + ImageSize());
    if (IsTopDown() && bottomUp) {
        for (int y = Height() - 1; y >= 0; --y)
            bytes.insert(bytes.end(), RowPtr(y), RowPtr(y) + Stride());
    } else {
        bytes.insert(bytes.end(), Pixels(), Pixels() + ImageSize());
    }
    return bytes;
}

bool PixelBuffer24::Save(const std::string& path, bool bottomUp) {
    if (!Pixels()) return false;
    DataFile file;
    if (!file.Open(path, "wb", false)) {
        ShowError("Error creating %s", path.c_str());
        return false;
    }
    const std::vector<std::uint8_t> head = BmpHeadBytes(bottomUp);
    bool ok = file.Write(head.data(), head.size());
    if (IsTopDown() && bottomUp) {
        for (int y = Height() - 1; y >= 0 && ok; --y)
            ok = file.Write(RowPtr(y), static_cast<std::size_t>(Stride()));
    } else {
        ok = ok && file.Write(Pixels(), ImageSize());
    }
    if (!file.Close() || !ok) {
        ReportWriteError(path);
        return false;
    }
    return true;
}

bool PixelBuffer24::SaveAs24(const std::string& path, bool topDownArgument) {
    if (!Pixels()) return false;
    if (BitsPerPixel() == 24 && IsTopDown() == topDownArgument) return Save(path, true);
    PixelBuffer24 converted;
    converted.Create(Width(), Height(), 24, topDownArgument);
    if (!converted.Allocate()) {
        ShowError("Not enough memory!");
        return false;
    }
    ConvertPixelsInto(converted);
    return converted.Save(path, true);
}

std::vector<std::uint8_t> PixelBuffer24::Bmp24FileBytes() const {
    if (!Pixels()) return {};
    if (BitsPerPixel() == 24 && !IsTopDown()) return BmpFileBytes(true);
    PixelBuffer24 converted;
    converted.Create(Width(), Height(), 24, false);
    if (!converted.Allocate()) {
        ShowError("Not enough memory!");
        return {};
    }
    ConvertPixelsInto(converted);
    return converted.BmpFileBytes(true);
}
