#pragma once
// The one picture class: a BMP-layout bitmap of 8, 16, 24 or 32 bits with its
// info header and colour table. Loads BMP and PNG files, saves BMP files,
// converts to 24 bits, reads and writes pixels, copies rectangles and draws
// itself on a Surface.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "bitmap/BitFields.h"
#include "bitmap/BmpFormat.h"
#include "bitmap/DibBuffer.h"
#include "bitmap/Surface.h"

class PixelReader;

class PixelBuffer24 : public DibBuffer {
public:
    PixelBuffer24();
    ~PixelBuffer24() override = default;

    // Reads a BMP or PNG file, told apart by content (".bmp" is appended to a
    // path without extension). BMP pictures below 8 bits are held as 24-bit
    // colours, run-length 8-bit ones at 8 bits; PNG pictures and BMP pictures
    // with an alpha mask become 24-bit pictures under the transparency rule
    // (PictureTransparency.h).
    // Shows the reason and returns false when the file cannot be used.
    virtual bool Load(const std::string& path);
    // Reads a picture file held in memory; `name` is the file that messages name.
    bool LoadBytes(std::span<const std::uint8_t> bytes, const std::string& name);
    // Writes the picture as a BMP file; `bottomUp` makes the file bottom-up.
    virtual bool Save(const std::string& path, bool bottomUp);

    // Writes the picture as a 24-bit bottom-up BMP file; the image is unchanged.
    bool SaveAs24(const std::string& path, bool topDownArgument = false);
    // Converts the image in place to 24 bits with the given storage order.
    bool ConvertTo24(bool topDownArgument = false);

    void Create(int newWidth, int newHeight, int bpp, bool newTopDown);
    // Create with the source's depth and storage order, and its colour table.
    void CreateLike(int newWidth, int newHeight, const PixelBuffer24& source);
    void RebuildHeader(int bpp = 0);
    void RefreshGeometry(bool recompute);

    std::uint8_t GetIndex(int x, int y) const;
    void SetIndex(int x, int y, std::uint8_t index);
    void SetColor(int x, int y, ColorValue color);
    // 8 bits: the palette colour; 16 and 32 bits: under the colour masks
    // (5-5-5 and B, G, R unless the file gave others); 24 bits: B, G, R.
    ColorValue GetColor(int x, int y) const;
    // The reader that GetColor and the conversion to 24 bits share.
    PixelReader Reader() const;
    // 256 entries from (red, green, blue) triples; null changes nothing.
    void SetPaletteRgb(const std::uint8_t* rgbTable);

    // Copies the rectangle [x0, x1) x [y0, y1) into `target` at (dx, dy);
    // returns the bytes copied, 0 when refused.
    std::size_t CopyRect(int x0, int y0, int x1, int y1, PixelBuffer24& target, int dx,
                         int dy) const;
    // Draws the whole picture stretched into (x, y, w, h); -1 means natural size.
    void Draw(Surface* surface, int x, int y, int w, int h, bool clip) const;
    DibView View() const;

    const std::string& FileName() const { return fileName_; }
    const BmpInfoHeader& InfoHeader() const { return infoHeader_; }
    const std::uint8_t* Palette() const { return palette_.data(); }
    std::uint8_t* Palette() { return palette_.data(); }
    int PaletteCount() const { return paletteCount_; }
    const BitFields& ColorMasks() const { return bitFields_; }
    // Takes other colour masks for the 16- or 32-bit pixels held.
    void SetColorMasks(const BitFields& masks);
    bool MirrorX() const { return mirrorX_; }
    void SetMirrorX(bool mirrored) { mirrorX_ = mirrored; }

protected:
    void SetFileName(const std::string& name) { fileName_ = name; }

private:
    std::string fileName_;
    BmpInfoHeader infoHeader_;
    std::array<std::uint8_t, bmp::kMaxPaletteEntries * bmp::kPaletteEntrySize> palette_{};
    int paletteCount_ = 0;
    BitFields bitFields_ = BitFields::Default(24);
    bool mirrorX_ = false;

    bool LoadBmpBytes(std::span<const std::uint8_t> bytes, const std::string& name);
    bool LoadPngBytes(std::span<const std::uint8_t> bytes, const std::string& name);
    // Fills `target` (24 bits, same size) with this picture's pixels.
    void ConvertPixelsInto(PixelBuffer24& target) const;
};
