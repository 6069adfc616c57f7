#include <gtest/gtest.h>

#include <filesystem>

#include "BmpBuilder.h"
#include "FakeUserInterface.h"
#include "bitmap/PixelBuffer24.h"

namespace {

ColorValue Pattern(int x, int y) {
    return MakeColor(10 * x, 20 * y, 7 * (x + y));
}

Bytes GrayPalette(int entries) {
    Bytes palette;
    for (int i = 0; i < entries; ++i) {
        palette.insert(palette.end(),
                       {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                        static_cast<std::uint8_t>(i / 2), 0});
    }
    return palette;
}

class BmpLoad : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        WriteFileBytes(dir / name, bytes);
        return dir / name;
    }
    // Loads a file that must be refused and returns the one message shown.
    std::string Refusal(const Bytes& bytes) {
        ui.Clear();
        PixelBuffer24 picture;
        EXPECT_FALSE(picture.Load(Write("bad.bmp", bytes)));
        EXPECT_EQ(ui.messages.size(), 1u);
        return ui.LastText();
    }

    FakeUserInterface ui;
    TempDir dir;
};

}  // namespace

TEST_F(BmpLoad, BytesReadAsTheirFileAndMessagesNameTheGivenName) {
    const Bytes bytes = Bmp24(5, 3, Pattern);
    PixelBuffer24 fromFile, fromBytes;
    ASSERT_TRUE(fromFile.Load(Write("p.bmp", bytes)));
    ASSERT_TRUE(fromBytes.LoadBytes(bytes, "p.bmp"));
    EXPECT_EQ(fromBytes.FileName(), "p.bmp");
    ASSERT_EQ(fromBytes.ImageSize(), fromFile.ImageSize());
    EXPECT_EQ(Bytes(fromBytes.Pixels(), fromBytes.Pixels() + fromBytes.ImageSize()),
              Bytes(fromFile.Pixels(), fromFile.Pixels() + fromFile.ImageSize()));
    EXPECT_TRUE(ui.messages.empty());

    // Every field is looked for inside the bytes given: pixels cut short, and
    // colour masks the bytes end before.
    const Bytes cut(bytes.begin(), bytes.end() - 20);
    EXPECT_FALSE(fromBytes.LoadBytes(cut, "cut.bmp"));
    EXPECT_EQ(ui.LastText(), "Truncated BMP pixel data in cut.bmp");
    BmpSpec spec;
    spec.bitsPerPixel = 16;
    spec.compression = 3;
    spec.dataOffset = 66;
    Bytes noMasks = BuildBmp(spec);
    noMasks.resize(60);
    EXPECT_FALSE(fromBytes.LoadBytes(noMasks, "masks.bmp"));
    EXPECT_EQ(ui.LastText(), "Missing BMP colour masks in masks.bmp");
    EXPECT_FALSE(fromBytes.LoadBytes({}, "empty.bmp"));
    EXPECT_EQ(ui.LastText(), "Invalid BMP FileHeader size in empty.bmp");
}

TEST_F(BmpLoad, BottomUpAndTopDownGiveTheSameColoursAndBmpIsAppendedToABareName) {
    const std::string up = Write("up.bmp", Bmp24(5, 3, Pattern));
    const std::string down = Write("down.bmp", Bmp24(5, -3, Pattern));
    PixelBuffer24 a, b;
    ASSERT_TRUE(a.Load(up));
    ASSERT_TRUE(b.Load(down));
    EXPECT_FALSE(a.IsTopDown());
    EXPECT_TRUE(b.IsTopDown());
    EXPECT_EQ(a.Stride(), 16);
    EXPECT_EQ(a.ImageSize(), 48u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(a.GetColor(x, y), Pattern(x, y));
            EXPECT_EQ(b.GetColor(x, y), Pattern(x, y));
        }
    }
    EXPECT_EQ(a.FileName(), up);
    EXPECT_TRUE(ui.messages.empty());

    // A path without extension is looked for with .bmp appended.
    Write("ship.bmp", Bmp24(2, 2, Pattern));
    EXPECT_TRUE(a.Load(dir / "ship"));
    EXPECT_EQ(a.FileName(), dir / "ship.bmp");
    EXPECT_FALSE(a.Load(dir / "boat"));
    EXPECT_EQ(ui.LastText(), dir / "boat.bmp not found");
}

TEST_F(BmpLoad, ColourTableCountAndPlaceFollowTheHeader) {
    BmpSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.bitsPerPixel = 8;
    spec.pixels = Bytes{1, 2, 3, 0, 4, 5, 6, 0};
    spec.palette = GrayPalette(16);
    spec.colorsUsed = 16;
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(Write("p16.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.PaletteCount(), 16);
    EXPECT_EQ(picture.GetIndex(0, 0), 4);  // bottom-up: the second stored row is the top
    EXPECT_EQ(picture.GetColor(1, 1), MakeColor(1, 253, 2));

    spec.palette = GrayPalette(256);
    spec.colorsUsed = 0;
    ASSERT_TRUE(picture.Load(Write("p256.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.PaletteCount(), 256);

    spec.palette.clear();
    ASSERT_TRUE(picture.Load(Write("p0.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.PaletteCount(), 0);

    // A longer header moves the colour table along with it.
    spec.width = 2;
    spec.height = 1;
    spec.headerSize = 124;
    spec.palette = GrayPalette(256);
    spec.pixels = Bytes{3, 200, 0, 0};
    ASSERT_TRUE(picture.Load(Write("v5.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.GetColor(0, 0), MakeColor(1, 252, 3));
    EXPECT_EQ(picture.GetColor(1, 0), MakeColor(100, 55, 200));
}

// Layouts other writers produce that still say where every pixel is: a colour
// table longer than 256 entries, an offset inside the headers, a last row
// without its padding.
TEST_F(BmpLoad, OddButUnambiguousLayoutsAreRead) {
    BmpSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bitsPerPixel = 8;
    spec.palette = GrayPalette(300);
    spec.colorsUsed = 300;
    spec.pixels = Bytes{7, 9, 0, 0};
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(Write("big.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.PaletteCount(), 256);
    EXPECT_EQ(picture.GetIndex(0, 0), 7);
    EXPECT_EQ(picture.GetIndex(1, 0), 9);

    BmpSpec low;
    low.width = 1;
    low.height = 1;
    low.dataOffset = 20;
    low.pixels = Bytes{1, 2, 3, 0};
    ASSERT_TRUE(picture.Load(Write("low.bmp", BuildBmp(low))));
    EXPECT_EQ(picture.GetColor(0, 0), MakeColor(3, 2, 1));

    Bytes bytes = Bmp24(1, 2, Pattern);
    bytes.pop_back();  // the top row's padding byte
    ASSERT_TRUE(picture.Load(Write("short.bmp", bytes)));
    EXPECT_EQ(picture.GetColor(0, 0), Pattern(0, 0));
    EXPECT_EQ(picture.GetColor(0, 1), Pattern(0, 1));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BmpLoad, RefusesMalformedHeadersWithTheirMessages) {
    EXPECT_EQ(Refusal(Bytes{'B', 'M', 0, 0}),
              "Invalid BMP FileHeader size in " + (dir / "bad.bmp"));
    Bytes wrongType = Bmp24(1, 1, Pattern);
    wrongType[0] = 'X';
    EXPECT_EQ(Refusal(wrongType), "Invalid BMP type in " + (dir / "bad.bmp"));
    BmpSpec spec;
    spec.pixels = Bytes(4, 0);
    spec.headerSize = 64;
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Invalid BMP Header size: 64 <> 40 in " + (dir / "bad.bmp"));
    spec.headerSize = 20;
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Invalid BMP Header size: 20 <> 40 in " + (dir / "bad.bmp"));
    Bytes cut = Bmp24(1, 1, Pattern);
    cut.resize(30);
    EXPECT_EQ(Refusal(cut), "Invalid BMP Header size: 16 <> 40 in " + (dir / "bad.bmp"));
    spec.headerSize = 40;
    for (int depth : {0, 2, 15}) {
        spec.bitsPerPixel = depth;
        EXPECT_EQ(Refusal(BuildBmp(spec)), "Only 8, 16, 24 and 32 bits BMP supported: " +
                                               (dir / "bad.bmp") + " has " + std::to_string(depth));
    }
}

TEST_F(BmpLoad, RefusesSizesTheFileCannotHold) {
    BmpSpec spec;
    spec.width = 1 << 20;
    spec.height = 1 << 20;
    spec.pixels = Bytes(64, 0);
    const std::string huge = Refusal(BuildBmp(spec));
    EXPECT_EQ(huge, "Truncated BMP pixel data in " + (dir / "bad.bmp"));
    spec.width = 0;
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Invalid BMP size 0 x 1048576 in " + (dir / "bad.bmp"));
    spec.width = static_cast<int>(0x80000000u);
    spec.height = 2;
    EXPECT_EQ(Refusal(BuildBmp(spec)).rfind("Invalid BMP size 2147483648 x 2", 0), 0u);
    spec.width = 4;
    spec.height = 4;
    spec.dataOffset = 5000;  // pixel data beyond the end
    spec.pixels.clear();
    EXPECT_EQ(Refusal(BuildBmp(spec)).rfind("Truncated BMP pixel data", 0), 0u);
}

TEST_F(BmpLoad, AFailedLoadKeepsThePictureAndAnAttachedBufferTooSmallIsRefused) {
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(Write("good.bmp", Bmp24(4, 2, Pattern))));
    BmpSpec spec;
    spec.bitsPerPixel = 15;
    spec.pixels = Bytes(4, 0);
    EXPECT_FALSE(picture.Load(Write("bad.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.GetColor(3, 1), Pattern(3, 1));
    EXPECT_EQ(picture.FileName(), dir / "bad.bmp");

    std::uint8_t buffer[16];
    picture.Attach(buffer, sizeof buffer, false);
    EXPECT_TRUE(picture.Load(Write("fits.bmp", Bmp24(1, 4, Pattern))));
    EXPECT_EQ(picture.Pixels(), buffer);
    EXPECT_FALSE(picture.Load(Write("big.bmp", Bmp24(2, 4, Pattern))));
    EXPECT_EQ(ui.LastText(), "Image too big to allocated buffer: " + (dir / "big.bmp"));
}

namespace {

Bytes Masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    Bytes out;
    PutU32(out, red);
    PutU32(out, green);
    PutU32(out, blue);
    return out;
}

// Two 16-bit pixels: white-ish and pure green in the 5-6-5 layout.
const Bytes kTwoPixels{0xFF, 0xFF, 0xE0, 0x07};

}  // namespace

TEST_F(BmpLoad, SixteenBitsFollowTheCompressionAndTheMasksOfAnyHeaderVersion) {
    BmpSpec spec;
    spec.width = 2;
    spec.bitsPerPixel = 16;
    spec.pixels = kTwoPixels;
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(Write("plain.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.GetColor(1, 0), MakeColor(8, 248, 0));  // 5-5-5

    spec.compression = 3;
    spec.masks = Masks(0xF800, 0x07E0, 0x001F);
    for (const std::uint32_t headerSize : {40u, 56u, 108u, 124u}) {
        SCOPED_TRACE(headerSize);
        spec.headerSize = headerSize;
        ASSERT_TRUE(picture.Load(Write("565.bmp", BuildBmp(spec))));
        EXPECT_EQ(picture.GetColor(0, 0), MakeColor(248, 252, 248));
        EXPECT_EQ(picture.GetColor(1, 0), MakeColor(0, 252, 0));
        // Saved and loaded again, the masks travel with the pixels.
        ASSERT_TRUE(picture.Save(dir / "again.bmp", true));
        PixelBuffer24 again;
        ASSERT_TRUE(again.Load(dir / "again.bmp"));
        EXPECT_EQ(again.GetColor(1, 0), MakeColor(0, 252, 0));
        ASSERT_TRUE(again.ConvertTo24(false));
        EXPECT_EQ(again.GetColor(1, 0), MakeColor(0, 252, 0));
    }
    spec.headerSize = 40;
    spec.masks = Masks(0x000F, 0x00F0, 0x0F00);  // 4-4-4, blue on top
    ASSERT_TRUE(picture.Load(Write("444.bmp", BuildBmp(spec))));
    EXPECT_EQ(picture.GetColor(1, 0), MakeColor(0, 224, 112));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BmpLoad, RefusesCompressedPixelsAndBitFieldsWithoutMasks) {
    BmpSpec spec;
    spec.width = 2;
    spec.bitsPerPixel = 16;
    spec.pixels = kTwoPixels;
    spec.compression = 3;  // as some writers do, with no masks after the header
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Missing BMP colour masks in " + (dir / "bad.bmp"));
    spec.compression = 1;  // run-length coding belongs to 8 bits (1) and 4 bits (2) only
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Unsupported BMP compression 1 in " + (dir / "bad.bmp"));
    spec.bitsPerPixel = 8;
    spec.palette = GrayPalette(256);
    spec.compression = 2;
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Unsupported BMP compression 2 in " + (dir / "bad.bmp"));
    spec.compression = 3;  // bit fields belong to 16 and 32 bits only
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Unsupported BMP compression 3 in " + (dir / "bad.bmp"));
    spec.compression = 4;  // a JPEG inside
    EXPECT_EQ(Refusal(BuildBmp(spec)), "Unsupported BMP compression 4 in " + (dir / "bad.bmp"));
}

TEST_F(BmpLoad, AHugeFileIsReadOnlyAsFarAsItsHeadersReach) {
    // 64 GiB that take no room: no reader may allocate them. A file that is no
    // bitmap is refused from its first bytes, and a bitmap is read to the end
    // of its rows, whatever follows them.
    const std::string huge = Write("huge.bmp", Bytes{'X', 'Y', 0, 0, 0, 0, 0, 0, 0, 0});
    std::error_code error;
    std::filesystem::resize_file(huge, 64ull << 30, error);
    if (error) GTEST_SKIP() << "no sparse files here";
    ui.Clear();
    PixelBuffer24 picture;
    EXPECT_FALSE(picture.Load(huge));
    EXPECT_EQ(ui.LastText(), "Invalid BMP type in " + huge);

    const std::string tail = Write("tail.bmp", Bmp24(3, 2, Pattern));
    std::filesystem::resize_file(tail, 64ull << 30, error);
    ASSERT_FALSE(error);
    EXPECT_TRUE(picture.Load(tail));
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.GetColor(2, 1), Pattern(2, 1));
}
