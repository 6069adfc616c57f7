#include <gtest/gtest.h>

#include <cstring>

#include "FakeUserInterface.h"
#include "S16Files.h"
#include "sprite/IconDecoder.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

constexpr ColorValue kKey = s16::kKeyColor;

CodedIcon Encode(const PixelBuffer24& picture) {
    CodedIcon icon;
    EXPECT_TRUE(EncodeIcon(picture, icon));
    EXPECT_EQ(icon.data.size(), static_cast<std::size_t>(icon.record.Bytes));
    return icon;
}

// Decodes a coded icon the way a file reader would.
void Decode(const CodedIcon& icon, PixelBuffer24& picture) {
    picture.Create(icon.record.TWidth, icon.record.THeight, 24, false);
    picture.Allocate();
    FillWithKeyColour(picture);
    DecodeIconData(icon.record, icon.data, picture);
}

ColorValue Reduced(ColorValue c) {
    return c & 0xF8FCF8;
}

}  // namespace

TEST(IconEncoder, StoresTheOpaqueAreaAsRunsOrRawAndRefusesAnEmptyPicture) {
    PixelBuffer24 picture;
    // All key colour: the whole picture as 12 runs of 255 and one of 12.
    Paint(picture, 64, 48, [](int, int) { return kKey; });
    CodedIcon icon = Encode(picture);
    EXPECT_EQ(icon.record, Record(64, 48, 0, 0, 64, 48, 0, 39, 1));
    EXPECT_EQ(icon.data[36], 12);
    EXPECT_EQ(GetU16(icon.data, 1), s16::ToWord(kKey));
    // One pixel is stored raw, at its place.
    Paint(picture, 10, 10,
          [](int x, int y) { return x == 4 && y == 7 ? MakeColor(255, 0, 0) : kKey; });
    icon = Encode(picture);
    EXPECT_EQ(icon.record, Record(1, 1, 4, 7, 10, 10, 0, 2, 0));
    EXPECT_EQ(icon.data, RawData({0xF800}));
    // Runs longer than 255 are split and carried across rows.
    Paint(picture, 100, 4,
          [](int, int y) { return y < 3 ? MakeColor(255, 0, 0) : MakeColor(0, 0, 255); });
    EXPECT_EQ(Encode(picture).data, RunData({{255, 0xF800}, {45, 0xF800}, {100, 0x001F}}));

    PixelBuffer24 empty;
    EXPECT_FALSE(EncodeIcon(empty, icon));
    empty.Create(0, 4, 24, false);
    empty.Allocate();
    EXPECT_FALSE(EncodeIcon(empty, icon));
}

TEST(IconEncoder, ChoosesTheShorterCodingWithTiesToRunLength) {
    PixelBuffer24 picture;
    Paint(picture, 6, 2, [](int x, int y) { return MakeColor(8 * x, 8 * y, 0); });
    EXPECT_EQ(Encode(picture).record.Compress, 0);
    Paint(picture, 6, 2,
          [](int x, int) { return x < 3 ? MakeColor(255, 0, 0) : MakeColor(0, 255, 0); });
    EXPECT_EQ(Encode(picture).record.Compress, 1);
    // Two different colours, each 3 pixels: runs 6 bytes, raw 12. One of each: runs 6, raw 4.
    Paint(picture, 2, 1, [](int x, int) { return MakeColor(0, 0, 8 * (x + 1)); });
    EXPECT_EQ(Encode(picture).record.Compress, 0);
    // A 3 x 1 area a, a, b codes as runs (6) versus raw (6): the tie goes to runs.
    Paint(picture, 3, 1,
          [](int x, int) { return x < 2 ? MakeColor(0, 0, 8) : MakeColor(0, 0, 16); });
    const CodedIcon tie = Encode(picture);
    EXPECT_EQ(tie.record.Compress, 1);
    EXPECT_EQ(tie.record.Bytes, 6);
}

TEST(IconEncoder, TreatsPaletteIndex159AsKeyAndWritesItAsMagenta) {
    PixelBuffer24 picture;
    picture.Create(4, 3, 8, false);
    picture.Allocate();
    std::memset(picture.Pixels(), 159, picture.ImageSize());
    picture.Palette()[4 * 159 + 1] = 255;  // entry 159 is pure green
    picture.Palette()[4 * 7 + 2] = 255;    // entry 7 red
    picture.Palette()[4 * 8 + 1] = 255;    // entry 8 the same green as 159
    picture.SetIndex(1, 1, 7);
    picture.SetIndex(3, 2, 7);
    picture.SetIndex(2, 1, 8);
    const CodedIcon icon = Encode(picture);
    EXPECT_EQ(icon.record, Record(3, 2, 1, 1, 4, 3, 0, 9, 1));
    // Pixels: 7, 8(green = key colour), 159 | 159, 159, 7. Colours compare, so 8
    // and 159 join one run whose word follows its first pixel's index.
    EXPECT_EQ(icon.data, RunData({{1, 0xF800}, {4, 0x07E0}, {1, 0xF800}}));
    PixelBuffer24 only159;
    only159.CreateLike(2, 1, picture);
    only159.Allocate();
    std::memset(only159.Pixels(), 0, only159.ImageSize());
    only159.SetIndex(1, 0, 159);
    EXPECT_EQ(Encode(only159).data, RawData({0x0000, s16::kTransparentWord}));
}

TEST(IconEncoder, RoundTripsPicturesOfEveryDepth) {
    auto colour = [](int x, int y) {
        if ((x + y) % 7 == 0) return kKey;
        return MakeColor((x * 37) & 0xFF, (y * 53) & 0xFF, (x * y) & 0xFF);
    };
    for (int depth : {8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        PixelBuffer24 picture;
        picture.Create(300, 5, depth, depth == 32);
        picture.Allocate();
        std::memset(picture.Pixels(), 0, picture.ImageSize());
        for (int i = 0; i < 256; ++i) {
            picture.Palette()[4 * i + 0] = static_cast<std::uint8_t>(i);
            picture.Palette()[4 * i + 2] = static_cast<std::uint8_t>(255 - i);
        }
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 300; ++x) {
                std::uint8_t* p = picture.PixelPtr(x, y);
                const ColorValue c = colour(x, y);
                if (depth == 8) {
                    p[0] = static_cast<std::uint8_t>((x / 50 + y) % 256);
                } else if (depth == 16) {
                    const unsigned v = (x * 7 + y * 131) & 0x7FFF;
                    p[0] = static_cast<std::uint8_t>(v);
                    p[1] = static_cast<std::uint8_t>(v >> 8);
                } else {
                    p[0] = static_cast<std::uint8_t>(BlueOf(c));
                    p[1] = static_cast<std::uint8_t>(GreenOf(c));
                    p[2] = static_cast<std::uint8_t>(RedOf(c));
                }
            }
        }
        const CodedIcon icon = Encode(picture);
        PixelBuffer24 decoded;
        Decode(icon, decoded);
        const S16Icon& r = icon.record;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 300; ++x) {
                const bool stored = x >= r.StartX && x < r.StartX + r.Width && y >= r.StartY &&
                                    y < r.StartY + r.Height;
                const ColorValue want = stored ? Reduced(picture.GetColor(x, y)) : kKey;
                ASSERT_EQ(decoded.GetColor(x, y), want) << x << "," << y;
            }
        }
    }
}

TEST(IconEncoder, RefusesEveryPictureThatDecodingWouldRefuseAndKeepsTheRest) {
    FakeUserInterface ui;
    // Neighbours differ, so that runs are never shorter than raw words.
    const auto noise = [](int x, int y) { return MakeColor((x + y) % 2 * 255, x % 251, y % 241); };
    const struct {
        int width, height;
        const char* message;  // null: accepted, decoded whole from a file
    } cases[] = {
        {1000, 50, "pic is 1000 x 50; an icon is at most 800 x 600 and 480000 pixels"},
        {801, 1, "pic is 801 x 1; an icon is at most 800 x 600 and 480000 pixels"},
        {1, 601, "pic is 1 x 601; an icon is at most 800 x 600 and 480000 pixels"},
        {800, 600, "pic codes to 960000 bytes; an icon holds at most 921600 bytes"},
        {800, 576, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        ui.Clear();
        PixelBuffer24 picture;
        Paint(picture, c.width, c.height, noise);
        std::vector<CodedIcon> icons(1);
        if (c.message) {
            EXPECT_FALSE(EncodeIcon(picture, "pic", icons[0]));
            EXPECT_EQ(ui.Errors(), std::vector<std::string>{c.message});
            continue;
        }
        ASSERT_TRUE(EncodeIcon(picture, "pic", icons[0]));
        S16Image image;
        image.OpenBytes(BuildS16File(icons), "big.s16");
        ASSERT_EQ(image.DecodeIcon(), c.width * c.height);
        EXPECT_EQ(image.GetColor(c.width - 1, c.height - 1),
                  Reduced(noise(c.width - 1, c.height - 1)));
    }
}
