// BMP files written by ImageMagick and Pillow load with the right colours and
// transparency (Pillow's within the test of every kind written elsewhere), and
// every BMP written here reads back in ImageMagick with identical pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "bitmap/PictureTransparency.h"
#include "bitmap/PixelBuffer24.h"
#include "bitmap/PngCodec.h"

namespace {

constexpr int kWidth = 20;  // more than 16 colours, so that paletted files are 8-bit
constexpr int kHeight = 3;

ColorValue Pattern(int x, int y) {
    return MakeColor(x * 12, y * 100, (x + y) * 10);
}

void WritePpm(const std::string& path) {
    Bytes data;
    const std::string head =
        "P6 " + std::to_string(kWidth) + " " + std::to_string(kHeight) + " 255\n";
    data.assign(head.begin(), head.end());
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const ColorValue c = Pattern(x, y);
            data.insert(data.end(),
                        {static_cast<std::uint8_t>(RedOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
                         static_cast<std::uint8_t>(BlueOf(c))});
        }
    }
    WriteFileBytes(path, data);
}

// Reads a binary PPM as written by ImageMagick.
std::vector<ColorValue> ReadPpm(const std::string& path, int& width, int& height) {
    const Bytes bytes = ReadFileBytes(path);
    std::string text(bytes.begin(), bytes.end());
    std::istringstream in(text);
    std::string magic;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    const std::size_t start = static_cast<std::size_t>(in.tellg()) + 1;
    std::vector<ColorValue> colors;
    for (std::size_t i = start;
         i + 2 < bytes.size() + 2 && colors.size() < static_cast<std::size_t>(width * height);
         i += 3) {
        colors.push_back(MakeColor(bytes[i], bytes[i + 1], bytes[i + 2]));
    }
    return colors;
}

bool HaveImageMagick() {
    return HaveProgram("/usr/bin/convert") &&
           RunShell("/usr/bin/convert -version | grep -q ImageMagick");
}
bool HavePillow() {
    return HaveProgram("/usr/bin/python3") &&
           RunShell("/usr/bin/python3 -c 'import PIL' 2>/dev/null");
}

bool Near(int a, int b, int tolerance) {
    return a - b <= tolerance && b - a <= tolerance;
}

// Loads `path` and checks every pixel after conversion to 24 bits; a reduced
// depth (16 bits) keeps 5 or 6 bits of each channel, and ImageMagick scales before it cuts.
void ExpectPattern(const std::string& path, int depth, int tolerance = 0) {
    SCOPED_TRACE(path);
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(path));
    EXPECT_EQ(picture.BitsPerPixel(), depth);
    ASSERT_TRUE(picture.ConvertTo24(false));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const ColorValue got = picture.GetColor(x, y);
            const ColorValue want = Pattern(x, y);
            EXPECT_TRUE(Near(RedOf(got), RedOf(want), tolerance) &&
                        Near(GreenOf(got), GreenOf(want), tolerance) &&
                        Near(BlueOf(got), BlueOf(want), tolerance))
                << x << "," << y << ": " << std::hex << got << " for " << want;
        }
    }
}

}  // namespace

TEST(BmpInterop, LoadsImageMagickFilesOfEveryDepth) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    FakeUserInterface ui;
    TempDir dir;
    WritePpm(dir / "in.ppm");
    const std::string convert = "/usr/bin/convert " + (dir / "in.ppm");
    ASSERT_TRUE(RunShell(convert + " -type TrueColor BMP3:" + (dir / "im24.bmp")));
    ASSERT_TRUE(RunShell(convert + " -type Palette -compress none BMP3:" + (dir / "im8.bmp")));
    ASSERT_TRUE(
        RunShell(convert + " -alpha set -define bmp3:alpha=true BMP3:" + (dir / "im32.bmp")));
    ExpectPattern(dir / "im24.bmp", 24);
    ExpectPattern(dir / "im8.bmp", 8);
    ExpectPattern(dir / "im32.bmp", 32);
    EXPECT_TRUE(ui.messages.empty());

    // Sixteen bits read the same before and after conversion to 24.
    for (const std::string subtype : {"RGB565", "RGB555"}) {
        SCOPED_TRACE(subtype);
        // The full header carries the masks.
        const std::string path = dir / (subtype + ".bmp");
        ASSERT_TRUE(RunShell(convert + " -define bmp:subtype=" + subtype + " BMP:" + path));
        PixelBuffer24 picture;
        ASSERT_TRUE(picture.Load(path));
        std::vector<ColorValue> before;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                before.push_back(picture.GetColor(x, y));
        }
        ExpectPattern(path, 16, 16);
        ASSERT_TRUE(picture.ConvertTo24(false));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                EXPECT_EQ(picture.GetColor(x, y), before[static_cast<std::size_t>(y * kWidth + x)]);
        }

        // The short header either brings its masks or is refused by name,
        // never read in a guessed layout.
        const std::string shortHeader = dir / (subtype + "-v3.bmp");
        ASSERT_TRUE(RunShell(convert + " -define bmp:subtype=" + subtype + " BMP3:" + shortHeader));
        ui.Clear();
        if (picture.Load(shortHeader)) {
            ExpectPattern(shortHeader, 16, 16);
        } else {
            EXPECT_EQ(ui.Errors(),
                      std::vector<std::string>{"Missing BMP colour masks in " + shortHeader});
        }
    }
}

TEST(BmpInterop, ImageMagickReadsWhatIsWrittenHere) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    FakeUserInterface ui;
    TempDir dir;
    for (const bool topDown : {false, true}) {
        PixelBuffer24 picture;
        picture.Create(kWidth, kHeight, 24, topDown);
        ASSERT_TRUE(picture.Allocate());
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                picture.SetColor(x, y, Pattern(x, y));
        }
        ASSERT_TRUE(picture.SaveAs24(dir / "out.bmp"));
        ASSERT_TRUE(RunShell("/usr/bin/convert " + (dir / "out.bmp") + " " + (dir / "out.ppm")));
        int width = 0, height = 0;
        const std::vector<ColorValue> colors = ReadPpm(dir / "out.ppm", width, height);
        ASSERT_EQ(width, kWidth);
        ASSERT_EQ(height, kHeight);
        ASSERT_EQ(colors.size(), static_cast<std::size_t>(kWidth * kHeight));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                EXPECT_EQ(colors[static_cast<std::size_t>(y * kWidth + x)], Pattern(x, y));
        }
    }
}

// Every kind of BMP the two write: each file reads as ImageMagick reads it
// (through a PNG it writes of the same file, under the transparency rule).
TEST(BmpInterop, EveryKindWrittenElsewhereReadsAsImageMagickReadsIt) {
    if (!HaveImageMagick() || !HavePillow()) GTEST_SKIP() << "ImageMagick or Pillow missing";
    FakeUserInterface ui;
    TempDir dir;
    const std::string script =
        "from PIL import Image\n"
        "cols = [(i * 16, 255 - i * 15, (i * 37) % 256) for i in range(16)]\n"
        "im = Image.new('RGB', (21, 5))\n"
        "im.putdata([cols[(x + 2 * y) % 16] for y in range(5) for x in range(21)])\n"
        "im.save('" +
        (dir / "p16.png") +
        "')\n"
        "im.convert('1').save('" +
        (dir / "pil1.bmp") +
        "')\n"
        "im.convert('L').save('" +
        (dir / "pil8.bmp") +
        "')\n"
        "im.convert('P', palette=1, colors=16).save('" +
        (dir / "pilP.bmp") +
        "')\n"
        "a = im.convert('RGBA')\n"
        "a.putdata([c[:3] + ((x * 29 + y * 7) % 256,) for c, x, y in\n"
        "           zip(a.getdata(), [i % 21 for i in range(105)], [i // 21 for i in "
        "range(105)])])\n"
        "a.putpixel((3, 1), (248, 0, 248, 0))\n"
        "a.save('" +
        (dir / "rgba.png") + "')\n";
    WriteFileBytes(dir / "make.py", Bytes(script.begin(), script.end()));
    ASSERT_TRUE(RunShell("/usr/bin/python3 " + (dir / "make.py")));
    const std::string convert = "/usr/bin/convert " + (dir / "p16.png");
    struct Kind {
        std::string name;
        std::string options;
        std::uint32_t headerSize;
        int bitCount;
        std::uint32_t compression;
    };
    const Kind kinds[] = {
        {"default.bmp", "", 124, 24, 0},
        {"palette4.bmp", "-type Palette -colors 16 BMP3:", 40, 4, 0},
        {"rle8.bmp", "-type Palette -compress RLE BMP3:", 40, 8, 1},
        {"core4.bmp", "-type Palette BMP2:", 12, 4, 0},
        {"core24.bmp", "-type TrueColor BMP2:", 12, 24, 0},
        {"mono.bmp", "-monochrome BMP3:", 40, 1, 0},
        {"alpha.bmp", "", 124, 32, 3},
    };
    for (const Kind& kind : kinds) {
        const std::string source =
            kind.name == "alpha.bmp" ? "/usr/bin/convert " + (dir / "rgba.png") : convert;
        ASSERT_TRUE(RunShell(source + " " + kind.options + (dir / kind.name)));
        // The file is the kind it is meant to be.
        const Bytes file = ReadFileBytes(dir / kind.name);
        ASSERT_GT(file.size(), 34u);
        EXPECT_EQ(GetU32(file, 14), kind.headerSize) << kind.name;
        EXPECT_EQ(GetU16(file, kind.headerSize == 12 ? 24 : 28), kind.bitCount) << kind.name;
        if (kind.headerSize != 12) {
            EXPECT_EQ(GetU32(file, 30), kind.compression) << kind.name;
        }
    }
    std::vector<std::string> names;
    for (const Kind& kind : kinds)
        names.push_back(kind.name);
    names.insert(names.end(), {"pil1.bmp", "pil8.bmp", "pilP.bmp"});
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(RunShell("/usr/bin/convert " + (dir / name) + " PNG32:" + (dir / "ref.png")));
        RgbaPicture rgba;
        std::string error;
        ASSERT_TRUE(DecodePng(ReadFileBytes(dir / "ref.png"), rgba, error)) << error;
        PixelBuffer24 want;
        RgbaToKeyed(rgba, want);
        PixelBuffer24 got;
        ASSERT_TRUE(got.Load(dir / name)) << ui.LastText();
        ASSERT_EQ(got.Width(), want.Width());
        ASSERT_EQ(got.Height(), want.Height());
        int differences = 0;
        for (int y = 0; y < got.Height(); ++y) {
            for (int x = 0; x < got.Width(); ++x)
                differences += got.GetColor(x, y) != want.GetColor(x, y);
        }
        EXPECT_EQ(differences, 0);
    }
    // The alpha file holds each kind of pixel the rule tells apart.
    PixelBuffer24 alpha;
    ASSERT_TRUE(alpha.Load(dir / "alpha.bmp"));
    EXPECT_EQ(alpha.GetColor(3, 1), MakeColor(248, 0, 248));
    EXPECT_EQ(alpha.GetColor(0, 0), MakeColor(248, 220, 220));  // alpha 0
    EXPECT_EQ(alpha.GetColor(5, 0), MakeColor(80, 180, 185));   // alpha 145
    EXPECT_TRUE(ui.messages.empty());
}
