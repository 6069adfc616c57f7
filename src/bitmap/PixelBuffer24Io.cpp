// Picture file reading (BMP and PNG, told apart by content) and BMP writing of
// PixelBuffer24.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "bitmap/BmpIndexedPixels.h"
#include "bitmap/PictureLimits.h"
#include "bitmap/PictureTransparency.h"
#include "bitmap/PixelBuffer24.h"
#include "bitmap/PixelReader.h"
#include "bitmap/PngCodec.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Text.h"

namespace {

bool SupportedDepth(int bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

bool UsesBitFields(const BmpInfoHeader& header) {
    return header.compression == bmp::kCompressionBitFields &&
           (header.bitCount == 16 || header.bitCount == 32);
}

bool UsesRle(const BmpInfoHeader& header) {
    return (header.compression == bmp::kCompressionRle8 && header.bitCount == 8) ||
           (header.compression == bmp::kCompressionRle4 && header.bitCount == 4);
}

bool CompressionFits(const BmpInfoHeader& header) {
    return header.compression == bmp::kCompressionRgb || UsesBitFields(header) || UsesRle(header);
}

// Worst case of run-length data: two bytes a pixel of a stored row (padding
// included, as some writers code it), an end of line a row, an end mark.
std::int64_t RleBytesBound(std::int64_t width, std::int64_t height, int bpp) {
    const std::int64_t rowPixels = bmp::RowSize(width, bpp) * 8 / bpp;
    return 2 * rowPixels * height + 2 * height + 2;
}

// Header facts of a BMP file that passed every test, before the image takes them.
struct BmpLayout {
    BmpInfoHeader header;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t rowBytes = 0;      // one stored row of the file, padded
    std::int64_t pixelBytes = 0;    // stride x height
    std::int64_t paletteStart = 0;  // file offset of the colour table
    std::int64_t paletteBytes = 0;
    int paletteEntrySize = bmp::kPaletteEntrySize;
    std::int64_t pixelStart = 0;
    std::int64_t available = 0;  // pixel bytes the file holds
    BitFields masks;
    std::uint32_t alphaMask = 0;
    int outBpp = 0;  // the depth the picture is held at
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
// end of its pixel rows (or the most its run-length data can take), or only
// its headers when they make no sense.
std::uint64_t BytesToRead(DataFile& file, std::uint64_t length) {
    constexpr std::uint64_t kLargestHeaders = bmp::kFileHeaderSize + 124 + bmp::kBitFieldsSize;
    constexpr std::size_t kHeadBytes = bmp::kFileHeaderSize + 20;  // up to the compression
    std::uint8_t head[kHeadBytes];
    if (length < sizeof head || !file.ReadAt(0, head, sizeof head)) return kLargestHeaders;
    const BmpInfoHeader header = BmpInfoHeader::Parse({head + bmp::kFileHeaderSize, 20});
    const std::uint64_t dataOffset = LoadU32(head + 10);
    const std::int64_t width = std::llabs(static_cast<long long>(header.width));
    const std::int64_t height = std::llabs(static_cast<long long>(header.height));
    const std::int64_t rowBytes = bmp::RowSize(width, header.bitCount);
    if (LoadU16(head) != bmp::kType || rowBytes <= 0 || height == 0 ||
        height > std::numeric_limits<std::int64_t>::max() / rowBytes / 2 ||
        width > std::numeric_limits<std::int32_t>::max())
        return kLargestHeaders;
    const std::int64_t pixelBytes =
        UsesRle(header) ? RleBytesBound(width, height, header.bitCount) : rowBytes * height;
    return std::max(kLargestHeaders, dataOffset + static_cast<std::uint64_t>(pixelBytes));
}

bool NamedAsPng(const std::string& name) {
    return EqualsNoCase(SplitPath(name, kPathExtension), ".png");
}

// An alpha channel under a mask, scaled to 8 bits as the colour channels are.
struct AlphaChannel {
    std::uint32_t mask;
    int shift;
    int bits;

    explicit AlphaChannel(std::uint32_t alphaMask)
        : mask(alphaMask),
          shift(alphaMask ? std::countr_zero(alphaMask) : 0),
          bits(std::popcount(alphaMask)) {}
    int Read(std::uint32_t value) const {
        const std::uint32_t v = (value & mask) >> shift;
        return static_cast<int>(bits <= 8 ? (v << (8 - bits)) & 0xFF : v >> (bits - 8));
    }
};

std::uint32_t StoredValue(const std::uint8_t* p, int bpp) {
    return bpp == 16 ? LoadU16(p) : LoadU32(p);
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
    // A PNG is read whole; of a BMP, what its headers say the picture uses, no
    // more: its parts are then checked against the bytes there are, and a huge
    // file that is no bitmap costs no huge allocation.
    std::uint8_t signature[8] = {};
    const bool png = length >= sizeof signature && file.ReadAt(0, signature, sizeof signature) &&
                     LooksLikePng(signature);
    if (png && length > kMaxPictureFileBytes) {
        ShowError("Invalid PNG file %s: image too large", path.c_str());
        return false;
    }
    const auto size =
        static_cast<std::size_t>(png ? length : std::min(length, BytesToRead(file, length)));
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
    fileName_ = name;
    // By content: a PNG by its signature, a BMP by its type; a file named as
    // a PNG that is neither is told about as a PNG.
    const bool bmpType = bytes.size() >= 2 && LoadU16(bytes.data()) == bmp::kType;
    if (LooksLikePng(bytes) || (!bmpType && NamedAsPng(name))) return LoadPngBytes(bytes, name);
    return LoadBmpBytes(bytes, name);
}

bool PixelBuffer24::LoadPngBytes(std::span<const std::uint8_t> bytes, const std::string& name) {
    RgbaPicture rgba;
    std::string reason;
    if (!DecodePng(bytes, rgba, reason)) {
        ShowError("Invalid PNG file %s: %s", name.c_str(), reason.c_str());
        return false;
    }
    const auto imageSize = static_cast<std::size_t>(bmp::RowSize(rgba.width, 24) * rgba.height);
    if (!OwnsPixels() && imageSize > Capacity()) {
        ShowError("Image too big to allocated buffer: %s", name.c_str());
        return false;
    }
    RgbaToKeyed(rgba, *this);
    if (Width() == 0) {
        ShowError("Not enough memory!");
        return false;
    }
    return true;
}

bool PixelBuffer24::LoadBmpBytes(std::span<const std::uint8_t> bytes, const std::string& name) {
    const char* shownName = name.c_str();
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
    const std::size_t infoRead = bytes.size() - bmp::kFileHeaderSize;
    const std::uint32_t headerSize =
        infoRead >= 4 ? LoadU32(bytes.data() + bmp::kFileHeaderSize) : 0;
    // The core header is read whole; of the longer ones, the 40-byte part.
    const std::size_t needed =
        headerSize == bmp::kCoreHeaderSize ? bmp::kCoreHeaderSize : bmp::kInfoHeaderSize;
    if (infoRead < needed || !bmp::KnownHeaderSize(headerSize)) {
        // A file that ends inside the info header shows how many bytes it has.
        const bool sizeKnown = infoRead >= 4 && !bmp::KnownHeaderSize(headerSize);
        const int shown = sizeKnown ? static_cast<int>(headerSize) : static_cast<int>(infoRead);
        ShowError("Invalid BMP Header size: %d <> %d in %s", shown, bmp::kInfoHeaderSize,
                  shownName);
        return false;
    }
    BmpLayout layout;
    layout.header = BmpInfoHeader::Parse(bytes.subspan(bmp::kFileHeaderSize, needed));
    const bool core = headerSize == bmp::kCoreHeaderSize;
    const int bpp = layout.header.bitCount;
    if (!SupportedDepth(bpp)) {
        ShowError("Only 8, 16, 24 and 32 bits BMP supported: %s has %d", shownName, bpp);
        return false;
    }
    if (!CompressionFits(layout.header)) {
        ShowError("Unsupported BMP compression %u in %s",
                  static_cast<unsigned>(layout.header.compression), shownName);
        return false;
    }
    const bool rle = UsesRle(layout.header);
    layout.width = std::llabs(static_cast<long long>(layout.header.width));
    layout.height = std::llabs(static_cast<long long>(layout.header.height));
    layout.rowBytes = bmp::RowSize(layout.width, bpp);
    // Indices below 8 bits would read as 8-bit pictures, whose key colour is
    // that of palette entry 159, which their tables never reach: they are held
    // as their colours. Run-length 8-bit data stay the 8-bit picture they code.
    layout.outBpp = bpp < 8 ? 24 : bpp;
    const std::int64_t outRowBytes = bmp::RowSize(layout.width, std::max(layout.outBpp, 24));
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    // Pictures whose pixels grow on reading (run-length data, depths below 8
    // bits) are held to the picture limit; the others to the file's length.
    const bool grows = rle || bpp < 8;
    if (layout.width == 0 || layout.height == 0 || layout.width > kIntMax ||
        layout.height > kIntMax || outRowBytes > kIntMax ||
        layout.height > std::numeric_limits<std::int64_t>::max() / outRowBytes ||
        (grows && !WithinPictureLimits(layout.width, layout.height))) {
        ShowError("Invalid BMP size %lld x %lld in %s", static_cast<long long>(layout.width),
                  static_cast<long long>(layout.height), shownName);
        return false;
    }
    layout.pixelBytes = bmp::RowSize(layout.width, layout.outBpp) * layout.height;
    const std::int64_t dataOffset = LoadU32(fileHeader + 10);
    layout.paletteStart = bmp::kFileHeaderSize + static_cast<std::int64_t>(headerSize);
    if (core) layout.paletteEntrySize = bmp::kCorePaletteEntrySize;
    layout.masks = BitFields::Default(bpp);
    if (UsesBitFields(layout.header)) {
        // After a 40-byte header the masks come first; the offset must leave room for them.
        if (headerSize == bmp::kInfoHeaderSize) layout.paletteStart += bmp::kBitFieldsSize;
        if (dataOffset < bmp::kHeadersSize + bmp::kBitFieldsSize ||
            fileLength < bmp::kHeadersSize + bmp::kBitFieldsSize) {
            ShowError("Missing BMP colour masks in %s", shownName);
            return false;
        }
        const std::uint8_t* maskBytes = bytes.data() + bmp::kHeadersSize;
        layout.masks = {LoadU32(maskBytes), LoadU32(maskBytes + 4), LoadU32(maskBytes + 8)};
        const std::int64_t alphaAt = bmp::kFileHeaderSize + bmp::kAlphaMaskOffset;
        if (headerSize >= bmp::kAlphaMaskOffset + 4 && fileLength >= alphaAt + 4)
            layout.alphaMask = LoadU32(bytes.data() + alphaAt);
    }
    layout.paletteBytes = std::max<std::int64_t>(0, dataOffset - layout.paletteStart);
    layout.pixelStart = layout.paletteStart + layout.paletteBytes;
    layout.available = fileLength - layout.pixelStart;
    if (rle) {
        if (layout.available < 0) {
            ShowError("Truncated BMP pixel data in %s", shownName);
            return false;
        }
    } else {
        // Tolerate a file that only lacks the padding of its last row.
        const std::int64_t lastRowPadding = layout.rowBytes - (layout.width * bpp + 7) / 8;
        if (layout.available < layout.rowBytes * layout.height - lastRowPadding) {
            ShowError("Truncated BMP pixel data in %s", shownName);
            return false;
        }
    }

    // Colour tables longer than 256 entries are cut; the pixel data still starts at the stated
    // offset. Entries the file does not give are black, whatever was loaded before.
    std::array<std::uint8_t, bmp::kMaxPaletteEntries * bmp::kPaletteEntrySize> newPalette{};
    const std::int64_t entries = std::min<std::int64_t>(
        layout.paletteBytes / layout.paletteEntrySize, bmp::kMaxPaletteEntries);
    if (layout.paletteStart + entries * layout.paletteEntrySize > fileLength) {
        ShowError("Truncated BMP pixel data in %s", shownName);
        return false;
    }
    for (std::int64_t i = 0; i < entries; ++i) {
        const std::uint8_t* entry =
            bytes.data() + layout.paletteStart + i * layout.paletteEntrySize;
        std::memcpy(&newPalette[static_cast<std::size_t>(4 * i)], entry,
                    static_cast<std::size_t>(layout.paletteEntrySize));
        if (core) newPalette[static_cast<std::size_t>(4 * i + 3)] = 0;
    }
    int newPaletteCount = 0;
    if (layout.paletteBytes > 0 && bpp <= 8) {
        const std::uint32_t used = core ? 0 : layout.header.colorsUsed;
        const int implied = std::min(1 << bpp, static_cast<int>(entries));
        newPaletteCount =
            used != 0 ? static_cast<int>(std::min<std::uint32_t>(used, bmp::kMaxPaletteEntries))
                      : (bpp == 8 && !core ? bmp::kMaxPaletteEntries : implied);
    } else if (layout.paletteBytes > 0 && layout.header.colorsUsed != 0) {
        newPaletteCount = static_cast<int>(
            std::min<std::uint32_t>(layout.header.colorsUsed, bmp::kMaxPaletteEntries));
    }

    // Pixels held otherwise than stored: indices below 8 bits and run-length
    // data become one index a byte first, and colours with alpha become keyed
    // colours.
    std::vector<std::uint8_t> converted;
    const std::uint8_t* storedPixels = bytes.data() + layout.pixelStart;
    const std::size_t stride = static_cast<std::size_t>(bmp::RowSize(layout.width, 8));
    if (grows) {
        try {
            converted.assign(stride * static_cast<std::size_t>(layout.height), 0);
        } catch (const std::bad_alloc&) {
            ShowError("Not enough memory!");
            return false;
        }
        const int width = static_cast<int>(layout.width);
        const int height = static_cast<int>(layout.height);
        if (rle) {
            std::string reason;
            const std::span<const std::uint8_t> data(storedPixels,
                                                     static_cast<std::size_t>(layout.available));
            if (!DecodeBmpRle(data, bpp, width, height, converted.data(), stride, reason)) {
                if (reason == "truncated") {
                    ShowError("Truncated BMP pixel data in %s", shownName);
                } else {
                    ShowError("Invalid BMP RLE data in %s: %s", shownName, reason.c_str());
                }
                return false;
            }
        } else {
            for (int row = 0; row < height; ++row) {
                ExpandIndexRow(storedPixels + row * layout.rowBytes, bpp, width,
                               converted.data() + static_cast<std::size_t>(row) * stride);
            }
        }
    }
    // A mask that every pixel leaves at zero is taken as no alpha at all: such
    // files mean their pixels to be seen.
    bool withAlpha = false;
    if (layout.alphaMask != 0) {
        const AlphaChannel alpha(layout.alphaMask);
        const int step = bpp / 8;
        for (std::int64_t row = 0; row < layout.height && !withAlpha; ++row) {
            const std::uint8_t* p = storedPixels + row * layout.rowBytes;
            for (std::int64_t x = 0; x < layout.width && !withAlpha; ++x, p += step)
                withAlpha = alpha.Read(StoredValue(p, bpp)) != 0;
        }
    }
    if (withAlpha) {
        layout.outBpp = 24;
        layout.pixelBytes = bmp::RowSize(layout.width, 24) * layout.height;
    }
    if (!OwnsPixels() && layout.pixelBytes > static_cast<std::int64_t>(Capacity())) {
        ShowError("Image too big to allocated buffer: %s", shownName);
        return false;
    }

    infoHeader_ = layout.header;
    infoHeader_.size = bmp::kInfoHeaderSize;  // only the 40-byte part is kept
    palette_ = newPalette;
    paletteCount_ = layout.outBpp == 8 ? newPaletteCount : 0;
    const bool topDown = layout.header.height < 0;
    SetGeometry(static_cast<int>(layout.width), static_cast<int>(layout.height), layout.outBpp,
                topDown);
    bitFields_ = withAlpha ? BitFields{} : layout.masks;
    if (grows) bitFields_ = BitFields::Default(layout.outBpp);
    infoHeader_.bitCount = static_cast<std::uint16_t>(layout.outBpp);
    infoHeader_.compression = bitFields_ == BitFields::Default(layout.outBpp)
                                  ? bmp::kCompressionRgb
                                  : bmp::kCompressionBitFields;
    infoHeader_.colorsUsed = static_cast<std::uint32_t>(paletteCount_);
    infoHeader_.sizeImage = static_cast<std::uint32_t>(ImageSize());
    if (!Allocate()) {
        ShowError("Not enough memory!");
        return false;
    }
    if (withAlpha) {
        // Read through the colour masks, then keyed under the transparency rule.
        const PixelReader reader(bpp, layout.masks, nullptr);
        const AlphaChannel alpha(layout.alphaMask);
        const int step = bpp / 8;
        for (int row = 0; row < Height(); ++row) {
            const std::uint8_t* p = storedPixels + row * layout.rowBytes;
            std::uint8_t* out = Pixels() + static_cast<std::size_t>(row) * Stride();
            for (int x = 0; x < Width(); ++x, p += step, out += 3) {
                const ColorValue c = reader.ColorAt(p);
                const ColorValue keyed =
                    KeyedColor(RedOf(c), GreenOf(c), BlueOf(c), alpha.Read(StoredValue(p, bpp)));
                out[0] = static_cast<std::uint8_t>(BlueOf(keyed));
                out[1] = static_cast<std::uint8_t>(GreenOf(keyed));
                out[2] = static_cast<std::uint8_t>(RedOf(keyed));
            }
        }
        return true;
    }
    if (grows && layout.outBpp == 8) {
        std::memcpy(Pixels(), converted.data(), ImageSize());
        return true;
    }
    if (grows) {
        for (int row = 0; row < Height(); ++row) {
            const std::uint8_t* index = converted.data() + static_cast<std::size_t>(row) * stride;
            std::uint8_t* out = Pixels() + static_cast<std::size_t>(row) * Stride();
            for (int x = 0; x < Width(); ++x, out += 3)
                std::memcpy(out, &newPalette[4 * static_cast<std::size_t>(index[x])], 3);
        }
        return true;
    }
    // Only a missing padding of the last row is filled.
    const std::size_t toCopy =
        static_cast<std::size_t>(std::min<std::int64_t>(layout.available, layout.pixelBytes));
    std::memcpy(Pixels(), storedPixels, toCopy);
    if (toCopy < ImageSize()) std::memset(Pixels() + toCopy, 0, ImageSize() - toCopy);
    return true;
}

bool PixelBuffer24::Save(const std::string& path, bool bottomUp) {
    if (!Pixels()) return false;
    DataFile file;
    if (!file.Open(path, "wb", false)) {
        ShowError("Error creating %s", path.c_str());
        return false;
    }
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
