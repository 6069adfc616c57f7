#include "sprite/PictureFile.h"

#include <new>
#include <string>

#include "bitmap/BmpFormat.h"
#include "bitmap/PictureTransparency.h"
#include "bitmap/PixelBuffer24.h"
#include "bitmap/PngCodec.h"
#include "support/ByteIo.h"
#include "support/Messages.h"
#include "support/SafeFileWriter.h"

namespace {

// A 24-bit bottom-up BMP file with the 40-byte info header, as icons have always been saved.
bool EncodeBmp24(const PixelBuffer24& picture, std::vector<std::uint8_t>& out) {
    PixelBuffer24 converted;
    const PixelBuffer24* source = &picture;
    if (picture.BitsPerPixel() != 24) {
        converted.Create(picture.Width(), picture.Height(), 24, false);
        if (!converted.Allocate()) return false;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x)
                converted.SetColor(x, y, picture.GetColor(x, y));
        }
        source = &converted;
    }
    const auto rowBytes = static_cast<std::size_t>(bmp::RowSize(source->Width(), 24));
    const std::size_t imageSize = rowBytes * static_cast<std::size_t>(source->Height());
    out.clear();
    out.reserve(bmp::kHeadersSize + imageSize);
    ByteWriter w(out);
    w.U16(bmp::kType);
    w.U32(static_cast<std::uint32_t>(bmp::kHeadersSize + imageSize));
    w.U16(0);
    w.U16(0);
    w.U32(bmp::kHeadersSize);
    BmpInfoHeader header;
    header.width = source->Width();
    header.height = source->Height();
    header.sizeImage = static_cast<std::uint32_t>(imageSize);
    header.AppendTo(out);
    for (int y = source->Height() - 1; y >= 0; --y) {
        const std::uint8_t* row = source->RowPtr(y);
        out.insert(out.end(), row, row + 3 * static_cast<std::size_t>(source->Width()));
        out.resize(out.size() + rowBytes - 3 * static_cast<std::size_t>(source->Width()), 0);
    }
    return true;
}

}  // namespace

std::string PictureExtension(PictureType type) {
    return type == PictureType::kPng ? ".png" : ".bmp";
}

std::string PictureTypeName(PictureType type) {
    return type == PictureType::kPng ? "PNG" : "BMP";
}

bool EncodePictureFile(const PixelBuffer24& picture, const PictureStyle& style,
                       const std::string& name, std::vector<std::uint8_t>& out) {
    if (!picture.Pixels() || picture.Width() < 1 || picture.Height() < 1) {
        ShowError("%s: there is no picture to write", name.c_str());
        return false;
    }
    try {
        if (style.type == PictureType::kBmp) {
            if (EncodeBmp24(picture, out)) return true;
        } else {
            const RgbaPicture rgba = KeyedToRgba(picture, style.opaque);
            std::string error;
            if (!rgba.pixels.empty() && EncodePng(rgba, out, error)) return true;
            if (!rgba.pixels.empty()) {
                ShowError("%s cannot be written as PNG: %s", name.c_str(), error.c_str());
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
    }
    ReportOutOfMemory(FormatText("Writing %s", name.c_str()));
    return false;
}

bool WritePictureFile(const PixelBuffer24& picture, const PictureStyle& style,
                      const std::string& path, DurabilityBatch* batch) {
    std::vector<std::uint8_t> bytes;
    return EncodePictureFile(picture, style, path, bytes) && WriteWholeFile(path, bytes, batch);
}
