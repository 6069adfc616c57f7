#include "sprite/IconEncoder.h"

#include <algorithm>
#include <new>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "bitmap/PixelReader.h"
#include "sprite/S16Format.h"
#include "support/ByteIo.h"
#include "support/Messages.h"
#include "support/UserInterface.h"

namespace {

// The picture as colour values (and, for 8 bits, palette indexes), top row
// first, read row by row without going through the per-pixel accessors.
struct PictureColours {
    int width = 0;
    int height = 0;
    std::vector<ColorValue> colours;
    std::vector<std::uint8_t> indexes;  // 8-bit pictures only
    ColorValue key = s16::kKeyColor;

    ColorValue At(int x, int y) const { return colours[static_cast<std::size_t>(y) * width + x]; }
};

ColorValue PaletteColour(const std::uint8_t* palette, int index) {
    const std::uint8_t* e = palette + 4 * index;
    return MakeColor(e[2], e[1], e[0]);
}

void ReadColours(const PixelBuffer24& picture, PictureColours& out) {
    out.width = picture.Width();
    out.height = picture.Height();
    out.colours.resize(static_cast<std::size_t>(out.width) * out.height);
    const int bpp = picture.BitsPerPixel();
    if (bpp == 8) {
        out.indexes.resize(out.colours.size());
        out.key = PaletteColour(picture.Palette(), s16::kTransparentIndex);
    }
    const PixelReader reader = picture.Reader();
    ColorValue* dst = out.colours.data();
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* p = picture.RowPtr(y);
        switch (bpp) {
            case 8:
                std::copy(p, p + out.width,
                          out.indexes.begin() + static_cast<std::ptrdiff_t>(y) * out.width);
                for (int x = 0; x < out.width; ++x)
                    *dst++ = PaletteColour(picture.Palette(), p[x]);
                break;
            default: {
                const int step = bpp / 8;
                for (int x = 0; x < out.width; ++x)
                    *dst++ = reader.ColorAt(p + x * step);
                break;
            }
        }
    }
}

// The stored area, with the fallbacks that store a picture of key colour whole.
void FindStoredArea(const PictureColours& pic, S16Icon& record) {
    int minX = 10000, minY = 10000, maxX = 0, maxY = 0;
    for (int y = 0; y < pic.height; ++y) {
        const ColorValue* row = pic.colours.data() + static_cast<std::size_t>(y) * pic.width;
        for (int x = 0; x < pic.width; ++x) {
            if (row[x] == pic.key) continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    if (minX > pic.width) minX = 0;
    if (minY > pic.height) minY = 0;
    if (maxX == 0) maxX = pic.width - 1;
    if (maxY == 0) maxY = pic.height - 1;
    record.Width = maxX - minX + 1;
    record.Height = maxY - minY + 1;
    record.StartX = minX;
    record.StartY = minY;
}

// Visits the runs of the stored area in coding order: maximal sequences of
// equal colours, at most 255 long, carrying on across row ends.
template <typename Visit>
void ForEachRun(const PictureColours& pic, const S16Icon& r, Visit visit) {
    int count = 0;
    int firstX = r.StartX, firstY = r.StartY;
    ColorValue colour = 0;
    for (int y = r.StartY; y < r.StartY + r.Height; ++y) {
        const ColorValue* row = pic.colours.data() + static_cast<std::size_t>(y) * pic.width;
        for (int x = r.StartX; x < r.StartX + r.Width; ++x) {
            if (count > 0 && row[x] == colour && count < s16::kMaxRun) {
                ++count;
                continue;
            }
            if (count > 0) visit(count, firstX, firstY);
            colour = row[x];
            count = 1;
            firstX = x;
            firstY = y;
        }
    }
    if (count > 0) visit(count, firstX, firstY);
}

std::uint16_t WordAt(const PictureColours& pic, int x, int y) {
    if (!pic.indexes.empty() &&
        pic.indexes[static_cast<std::size_t>(y) * pic.width + x] == s16::kTransparentIndex) {
        return s16::kTransparentWord;
    }
    return s16::ToWord(pic.At(x, y));
}

// The size limits that decoding holds an icon to.
bool FitsAnIcon(int width, int height, const std::string& source) {
    if (s16::DecodableIconSize(width, height)) return true;
    ShowError("%s is %d x %d; an icon is at most %d x %d and %d pixels", source.c_str(), width,
              height, s16::kMaxIconWidth, s16::kMaxIconHeight, s16::kMaxIconPixels);
    return false;
}

}  // namespace

bool EncodeIcon(const PixelBuffer24& picture, CodedIcon& out) {
    return EncodeIcon(picture, picture.FileName(), out);
}

namespace {

// Reads the picture's colours; false after a message when it cannot be an icon.
bool ReadPicture(const PixelBuffer24& picture, const std::string& source, PictureColours& pic) {
    if (!picture.Pixels() || picture.Width() < 1 || picture.Height() < 1) return false;
    if (!FitsAnIcon(picture.Width(), picture.Height(), source)) return false;
    try {
        ReadColours(picture, pic);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(FormatText("Coding %s as an icon", source.c_str()));
        return false;
    }
    return true;
}

// Codes the stored area of `r` (set, with Compress) into `out`; Bytes is set
// here. `runs` is the area's run count when known, else negative.
bool CodeArea(const PictureColours& pic, const S16Icon& r, const std::string& source,
              std::int64_t runs, CodedIcon& out) {
    std::int64_t coded = 2LL * r.Width * r.Height;
    if (r.IsRunLength()) {
        if (runs < 0) {
            runs = 0;
            ForEachRun(pic, r, [&](int, int, int) { ++runs; });
        }
        coded = 3 * runs;
    }
    if (!s16::WithinCodedLimit(coded)) {
        ShowError("%s codes to %lld bytes; an icon holds at most %zu bytes", source.c_str(),
                  static_cast<long long>(coded), s16::kMaxCodedBytes);
        return false;
    }
    out.record = r;
    out.record.Starts = 0;
    out.record.Bytes = static_cast<std::int32_t>(coded);
    out.data.clear();
    try {
        out.data.reserve(static_cast<std::size_t>(coded));
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(FormatText("Coding %s as an icon", source.c_str()));
        return false;
    }
    ByteWriter w(out.data);
    if (r.IsRunLength()) {
        ForEachRun(pic, r, [&](int count, int x, int y) {
            w.U8(static_cast<std::uint8_t>(count));
            w.U16(WordAt(pic, x, y));
        });
    } else {
        for (int y = r.StartY; y < r.StartY + r.Height; ++y) {
            for (int x = r.StartX; x < r.StartX + r.Width; ++x)
                w.U16(WordAt(pic, x, y));
        }
    }
    return true;
}

// True when every pixel outside the stored area of `r` is the key colour.
bool OnlyKeyOutside(const PictureColours& pic, const S16Icon& r) {
    for (int y = 0; y < pic.height; ++y) {
        const bool inRows = y >= r.StartY && y < r.StartY + r.Height;
        for (int x = 0; x < pic.width; ++x) {
            if (inRows && x >= r.StartX && x < r.StartX + r.Width) continue;
            if (pic.At(x, y) != pic.key) return false;
        }
    }
    return true;
}

}  // namespace

bool EncodeIcon(const PixelBuffer24& picture, const std::string& source, CodedIcon& out) {
    WaitCursor wait;
    PictureColours pic;
    if (!ReadPicture(picture, source, pic)) return false;
    S16Icon r;
    r.TWidth = pic.width;
    r.THeight = pic.height;
    FindStoredArea(pic, r);
    std::int64_t runs = 0;
    ForEachRun(pic, r, [&](int, int, int) { ++runs; });
    r.Compress = 2LL * r.Width * r.Height < 3 * runs ? 0 : s16::kRunLengthCoded;
    return CodeArea(pic, r, source, runs, out);
}

bool EncodeIconAs(const PixelBuffer24& picture, const std::string& source, const S16Icon& described,
                  CodedIcon& out) {
    WaitCursor wait;
    PictureColours pic;
    if (!ReadPicture(picture, source, pic)) return false;
    S16Icon r = described;
    const bool fits = r.TWidth == pic.width && r.THeight == pic.height && r.Width >= 1 &&
                      r.Height >= 1 && r.StartX >= 0 && r.StartY >= 0 &&
                      r.StartX + static_cast<std::int64_t>(r.Width) <= pic.width &&
                      r.StartY + static_cast<std::int64_t>(r.Height) <= pic.height;
    if (!fits || !OnlyKeyOutside(pic, r)) {
        // Pixels painted outside the stored area: the icon is coded as any new one.
        if (!EncodeIcon(picture, source, out)) return false;
        out.record.Reserved = described.Reserved;
        return true;
    }
    return CodeArea(pic, r, source, -1, out);
}
