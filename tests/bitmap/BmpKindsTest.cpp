// BMP kinds beyond the plain 40-byte header: the core header, 1- and 4-bit
// indices, run-length data (and hostile streams), alpha masks; and PNG files
// through the same Load.
#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "FakeUserInterface.h"
#include "bitmap/PictureTransparency.h"
#include "bitmap/PixelBuffer24.h"
#include "bitmap/PngCodec.h"

namespace {

constexpr ColorValue kKey = MakeColor(248, 220, 220);
constexpr ColorValue kTransparent = MakeColor(248, 0, 248);

// Entry i: red 10 i, green 255 - i, blue 3 i.
ColorValue Entry(int i) {
    return MakeColor(10 * i, 255 - i, 3 * i);
}
Bytes Palette(int entries, int entrySize = 4) {
    Bytes out;
    for (int i = 0; i < entries; ++i) {
        const ColorValue c = Entry(i);
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(BlueOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
                    static_cast<std::uint8_t>(RedOf(c))});
        if (entrySize == 4) out.push_back(0);
    }
    return out;
}

// A file with the 12-byte core header: 16-bit sizes, 3-byte colour entries.
Bytes CoreBmp(int width, int height, int bpp, const Bytes& palette, const Bytes& pixels) {
    Bytes out{'B', 'M'};
    const auto offset = static_cast<std::uint32_t>(14 + 12 + palette.size());
    PutU32(out, static_cast<std::uint32_t>(offset + pixels.size()));
    PutU32(out, 0);
    PutU32(out, offset);
    PutU32(out, 12);
    PutU16(out, static_cast<std::uint16_t>(width));
    PutU16(out, static_cast<std::uint16_t>(height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint16_t>(bpp));
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

class BmpKinds : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        WriteFileBytes(dir / name, bytes);
        return dir / name;
    }
    // The palette entries a loaded picture shows, top row first: its indices
    // at 8 bits, the entries of its colours at 24 bits (-1 for another colour).
    std::vector<int> Indices(const PixelBuffer24& picture) {
        std::vector<int> out;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                const ColorValue c = picture.GetColor(x, y);
                const int entry = 255 - GreenOf(c);
                out.push_back(picture.BitsPerPixel() == 8 ? picture.GetIndex(x, y)
                              : Entry(entry) == c         ? entry
                                                          : -1);
            }
        }
        return out;
    }
    // Indices below 8 bits are held as colours, 8-bit ones (run-length or
    // not) as indices.
    std::vector<int> LoadIndices(const Bytes& file, int depth = 24) {
        PixelBuffer24 picture;
        EXPECT_TRUE(picture.Load(Write("p.bmp", file))) << ui.LastText();
        EXPECT_EQ(picture.BitsPerPixel(), depth);
        return Indices(picture);
    }
    std::string Refusal(const Bytes& bytes, const std::string& name = "bad.bmp") {
        ui.Clear();
        PixelBuffer24 picture;
        EXPECT_FALSE(picture.Load(Write(name, bytes)));
        EXPECT_EQ(ui.messages.size(), 1u);
        return ui.LastText();
    }
    Bytes Rle(int width, int height, int bpp, const Bytes& data) {
        BmpSpec spec;
        spec.width = width;
        spec.height = height;
        spec.bitsPerPixel = bpp;
        spec.compression = bpp == 8 ? 1 : 2;
        spec.palette = Palette(bpp == 8 ? 256 : 16);
        spec.pixels = data;
        return BuildBmp(spec);
    }

    FakeUserInterface ui;
    TempDir dir;
};

}  // namespace

TEST_F(BmpKinds, CoreHeaderAndLowDepthsReadWithTheirColours) {
    // 3 x 2, 8 bits, core header, bottom-up: stored rows are bottom first.
    const Bytes core8 = CoreBmp(3, 2, 8, Palette(256, 3), Bytes{4, 5, 6, 0, 1, 2, 3, 0});
    EXPECT_EQ(LoadIndices(core8, 8), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(Write("core.bmp", core8)));
    EXPECT_EQ(picture.GetColor(2, 0), Entry(3));
    const Bytes core24 = CoreBmp(1, 1, 24, {}, Bytes{1, 2, 3, 0});
    ASSERT_TRUE(picture.Load(Write("core24.bmp", core24)));
    EXPECT_EQ(picture.GetColor(0, 0), MakeColor(3, 2, 1));
    // A 1-bit core file: two 3-byte entries.
    EXPECT_EQ(LoadIndices(CoreBmp(9, 1, 1, Palette(2, 3), Bytes{0xA5, 0x80, 0, 0})),
              (std::vector<int>{1, 0, 1, 0, 0, 1, 0, 1, 1}));

    // 1 and 4 bits, odd widths, both storage orders, through every header size.
    for (const std::uint32_t headerSize : {40u, 108u, 124u}) {
        for (const int height : {2, -2}) {
            SCOPED_TRACE(testing::Message() << headerSize << " " << height);
            BmpSpec spec;
            spec.headerSize = headerSize;
            spec.width = 5;
            spec.height = height;
            spec.bitsPerPixel = 4;
            spec.palette = Palette(16);
            const Bytes first{0x12, 0x34, 0x50, 0}, second{0xAB, 0xCD, 0xE0, 0};
            spec.pixels = first;
            spec.pixels.insert(spec.pixels.end(), second.begin(), second.end());
            const std::vector<int> top{1, 2, 3, 4, 5}, bottom{10, 11, 12, 13, 14};
            std::vector<int> want = height > 0 ? bottom : top;
            const std::vector<int>& rest = height > 0 ? top : bottom;
            want.insert(want.end(), rest.begin(), rest.end());
            EXPECT_EQ(LoadIndices(BuildBmp(spec)), want);

            spec.bitsPerPixel = 1;
            spec.palette = Palette(2);
            spec.width = 10;
            spec.pixels = Bytes{0xFF, 0x40, 0, 0, 0x00, 0x80, 0, 0};
            const std::vector<int> ones{1, 1, 1, 1, 1, 1, 1, 1, 0, 1};
            const std::vector<int> zeros{0, 0, 0, 0, 0, 0, 0, 0, 1, 0};
            want = height > 0 ? zeros : ones;
            const std::vector<int>& other = height > 0 ? ones : zeros;
            want.insert(want.end(), other.begin(), other.end());
            EXPECT_EQ(LoadIndices(BuildBmp(spec)), want);
        }
    }

    // Held as colours, the picture saves and reads back with the same colours.
    BmpSpec spec;
    spec.width = 3;
    spec.bitsPerPixel = 4;
    spec.palette = Palette(16);
    spec.pixels = Bytes{0x9F, 0x70, 0, 0};
    ASSERT_TRUE(picture.Load(Write("four.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.PaletteCount(), 0);
    ASSERT_TRUE(picture.Save(dir / "again.bmp", true));
    PixelBuffer24 again;
    ASSERT_TRUE(again.Load(dir / "again.bmp"));
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(again.GetColor(x, 0), Entry((std::vector<int>{9, 15, 7})[x]));

    // An index past a short table is black, not a colour of the picture loaded before.
    ASSERT_TRUE(picture.Load(Write("full.bmp", core8)));
    spec.palette = Palette(2);
    ASSERT_TRUE(picture.Load(Write("short.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.GetColor(0, 0), MakeColor(0, 0, 0));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BmpKinds, RunLengthDataWithEveryEscape) {
    // RLE8, 6 x 3 bottom-up: a run, an odd absolute copy (padded), a line end,
    // a delta that skips pixels (they keep index 0), and the end of the bitmap.
    const Bytes rle8{3, 7, 0, 3, 1, 2, 3, 0,  // bottom row: 7 7 7 1 2 3
                     0, 0,                    // next row
                     2, 9, 0, 2, 2, 1,        // 9 9, then 2 right and 1 up
                     1, 4, 0, 1};             // top row: 0 0 0 0 4 0
    EXPECT_EQ(LoadIndices(Rle(6, 3, 8, rle8), 8),
              (std::vector<int>{0, 0, 0, 0, 4, 0, 9, 9, 0, 0, 0, 0, 7, 7, 7, 1, 2, 3}));
    // Top-down, and data that stop right after the last pixel without an end mark.
    const Bytes rows{2, 5, 0, 0, 2, 6};
    EXPECT_EQ(LoadIndices(Rle(2, -2, 8, rows), 8), (std::vector<int>{5, 5, 6, 6}));

    // RLE4, 7 x 2: runs alternate the two nibbles; an absolute copy of 5
    // nibbles takes 3 bytes and a pad byte.
    const Bytes rle4{5, 0x12, 2,    0x3F, 0,    0,  // bottom: 1 2 1 2 1 3 F
                     0, 5,    0xAB, 0xCD, 0xE0, 0, 2, 0x44, 0, 1};
    EXPECT_EQ(LoadIndices(Rle(7, 2, 4, rle4)),
              (std::vector<int>{10, 11, 12, 13, 14, 4, 4, 1, 2, 1, 2, 1, 3, 15}));
    // Runs that code the padding of a row (as some writers do) fill it, no more.
    EXPECT_EQ(LoadIndices(Rle(2, 1, 8, {4, 9, 0, 1}), 8), (std::vector<int>{9, 9}));
    EXPECT_EQ(LoadIndices(Rle(3, 1, 4, {8, 0x12, 0, 1})), (std::vector<int>{1, 2, 1}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BmpKinds, HostileRunLengthDataAreRefused) {
    const std::string bad = dir / "bad.bmp";
    const std::string invalid = "Invalid BMP RLE data in " + bad + ": ";
    struct Case {
        int bpp;
        Bytes data;
        std::string message;
    };
    // 4 x 2 pictures: rows of 4 stored pixels at 8 bits, 8 at 4 bits.
    const Case cases[] = {
        {8, {5, 1, 0, 1}, invalid + "a run past the end of a row"},
        {8, {3, 1, 2, 1, 0, 1}, invalid + "a run past the end of a row"},
        {8, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, invalid + "a run past the end of a row"},
        {4, {0, 9, 0x11, 0x11, 0x11, 0x11, 0x10, 0, 0, 1}, invalid + "a run past the end of a row"},
        {4, {9, 0x11, 0, 1}, invalid + "a run past the end of a row"},
        {8, {0, 2, 5, 0, 0, 1}, invalid + "a delta past the picture"},
        {8, {0, 2, 0, 3, 0, 1}, invalid + "a delta past the picture"},
        {8, {0, 2, 1, 2, 0, 1}, invalid + "a delta past the picture"},
        {8, {0, 0, 0, 0, 0, 0, 0, 1}, invalid + "a line end past the last row"},
        {8, {4, 1, 0, 0, 4, 1, 0, 0, 1, 1, 0, 1}, invalid + "pixels past the last row"},
        {8, {0, 2, 0, 2, 1, 1, 0, 1}, invalid + "pixels past the last row"},
        {8, {4, 1}, "Truncated BMP pixel data in " + bad},
        {8, {0, 4, 1, 2}, "Truncated BMP pixel data in " + bad},
        {8, {0, 2, 1}, "Truncated BMP pixel data in " + bad},
        {8, {}, "Truncated BMP pixel data in " + bad},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.data));
        EXPECT_EQ(Refusal(Rle(4, 2, c.bpp, c.data)), c.message);
    }
    // A size no picture may have, claimed by a few bytes of run-length data.
    EXPECT_EQ(Refusal(Rle(60000, 60000, 8, {0, 1})), "Invalid BMP size 60000 x 60000 in " + bad);
    // A stream ended early keeps the rest at index 0: it is no error.
    EXPECT_EQ(LoadIndices(Rle(2, 2, 8, {0, 1}), 8), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(BmpKinds, AnAlphaMaskAppliesTheTransparencyRule) {
    BmpSpec spec;
    spec.headerSize = 124;
    spec.width = 5;
    spec.height = -1;
    spec.bitsPerPixel = 32;
    spec.compression = 3;
    for (const std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
        PutU32(spec.masks, mask);
    // B, G, R, A
    spec.pixels =
        Bytes{30, 20, 10, 255, 30, 20, 10, 127, 248, 0, 248, 0, 248, 0, 248, 255, 30, 20, 10, 128};
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(Write("alpha.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.BitsPerPixel(), 24);
    const ColorValue want[] = {MakeColor(10, 20, 30), kKey, kTransparent, kTransparent,
                               MakeColor(10, 20, 30)};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(picture.GetColor(x, 0), want[x]) << x;

    // Every alpha zero: the mask is taken as unused and the colours are kept.
    for (std::size_t i = 3; i < spec.pixels.size(); i += 4)
        spec.pixels[i] = 0;
    ASSERT_TRUE(picture.Load(Write("zero.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.GetColor(1, 0), MakeColor(10, 20, 30));
    // The 40-byte header gives no alpha mask: the fourth byte means nothing.
    BmpSpec plain;
    plain.width = 2;
    plain.bitsPerPixel = 32;
    plain.pixels = Bytes{30, 20, 10, 0, 30, 20, 10, 0};
    ASSERT_TRUE(picture.Load(Write("plain.bmp", BuildBmp(plain))));
    EXPECT_EQ(picture.GetColor(1, 0), MakeColor(10, 20, 30));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BmpKinds, PngFilesLoadByContentWhateverTheirName) {
    RgbaPicture rgba{3, 1, {10, 20, 30, 255, 0, 0, 0, 0, 248, 0, 248, 0}};
    Bytes png;
    std::string error;
    ASSERT_TRUE(EncodePng(rgba, png, error));
    for (const std::string name : {"a.png", "misnamed.bmp", "b.PNG"}) {
        SCOPED_TRACE(name);
        PixelBuffer24 picture;
        ASSERT_TRUE(picture.Load(Write(name, png)));
        EXPECT_EQ(picture.BitsPerPixel(), 24);
        EXPECT_EQ(picture.GetColor(0, 0), MakeColor(10, 20, 30));
        EXPECT_EQ(picture.GetColor(1, 0), kKey);
        EXPECT_EQ(picture.GetColor(2, 0), kTransparent);
    }
    PixelBuffer24 picture;
    EXPECT_TRUE(
        picture.Load(Write("bitmap.png", Bmp8(1, 1, Palette(256), [](int, int) { return 3; }))));
    EXPECT_EQ(picture.GetColor(0, 0), Entry(3));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(Refusal(Bytes{'G', 'I', 'F', '8'}, "x.png"),
              "Invalid PNG file " + (dir / "x.png") + ": not a PNG file");
    EXPECT_EQ(Refusal(Bytes(png.begin(), png.begin() + 40), "cut.png"),
              "Invalid PNG file " + (dir / "cut.png") + ": truncated");
    Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
    gif.resize(40, 0);
    EXPECT_EQ(Refusal(gif, "x.bmp"), "Invalid BMP type in " + (dir / "x.bmp"));

    // A PNG too large for an attached buffer is refused before it is decoded into it.
    std::uint8_t buffer[8];
    picture.Attach(buffer, sizeof buffer, false);
    EXPECT_FALSE(picture.Load(dir / "a.png"));
    EXPECT_EQ(ui.LastText(), "Image too big to allocated buffer: " + (dir / "a.png"));
}
