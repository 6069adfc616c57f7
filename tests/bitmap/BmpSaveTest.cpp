#include <gtest/gtest.h>

#include <cstring>

#include "BmpBuilder.h"
#include "FakeUserInterface.h"
#include "bitmap/PixelBuffer24.h"

namespace {

ColorValue Pattern(int x, int y) {
    return MakeColor(30 * x + 1, 40 * y + 2, 3 * x * y + 3);
}

void Fill(PixelBuffer24& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetColor(x, y, Pattern(x, y));
    }
}

}  // namespace

TEST(BmpSave, WritesTheHeaderFieldsAndPaddedRowsBottomUp) {
    FakeUserInterface ui;
    TempDir dir;
    PixelBuffer24 picture;
    picture.Create(5, 3, 24, false);
    ASSERT_TRUE(picture.Allocate());
    std::memset(picture.Pixels(), 0, picture.ImageSize());
    Fill(picture);
    ASSERT_TRUE(picture.SaveAs24(dir / "five.bmp"));
    const Bytes file = ReadFileBytes(dir / "five.bmp");
    ASSERT_EQ(file.size(), 54u + 16 * 3);
    EXPECT_EQ(GetU16(file, 0), 0x4D42);
    EXPECT_EQ(GetU32(file, 2), file.size());
    EXPECT_EQ(GetU32(file, 10), 54u);
    EXPECT_EQ(GetU32(file, 14), 40u);
    EXPECT_EQ(GetU32(file, 18), 5u);
    EXPECT_EQ(GetU32(file, 22), 3u);
    EXPECT_EQ(GetU16(file, 26), 1);
    EXPECT_EQ(GetU16(file, 28), 24);
    EXPECT_EQ(GetU32(file, 30), 0u);
    EXPECT_EQ(GetU32(file, 34), 48u);
    EXPECT_EQ(GetU32(file, 46), 0u);
    // The first stored row is the bottom picture row.
    EXPECT_EQ(file[54], BlueOf(Pattern(0, 2)));
    EXPECT_EQ(file[56], RedOf(Pattern(0, 2)));

    // A top-down picture is written bottom-up too, and stays top-down itself.
    picture.Create(3, 4, 24, true);
    ASSERT_TRUE(picture.Allocate());
    Fill(picture);
    ASSERT_TRUE(picture.SaveAs24(dir / "down.bmp"));
    EXPECT_TRUE(picture.IsTopDown());
    EXPECT_EQ(picture.InfoHeader().height, -4);
    EXPECT_EQ(static_cast<std::int32_t>(GetU32(ReadFileBytes(dir / "down.bmp"), 22)), 4);
    PixelBuffer24 back;
    ASSERT_TRUE(back.Load(dir / "down.bmp"));
    EXPECT_FALSE(back.IsTopDown());
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(back.GetColor(x, y), Pattern(x, y));
    }
}

TEST(BmpSave, EightBitPicturesKeepTheirColourTable) {
    FakeUserInterface ui;
    TempDir dir;
    Bytes palette(1024, 0);
    palette[4 * 7 + 2] = 200;  // entry 7 is red 200
    WriteFileBytes(dir / "in.bmp", Bmp8(3, 2, palette, [](int x, int) { return x == 1 ? 7 : 0; }));
    PixelBuffer24 picture;
    ASSERT_TRUE(picture.Load(dir / "in.bmp"));
    ASSERT_TRUE(picture.Save(dir / "out.bmp", true));
    const Bytes file = ReadFileBytes(dir / "out.bmp");
    EXPECT_EQ(GetU32(file, 10), 54u + 1024);
    EXPECT_EQ(file.size(), 54u + 1024 + 8);
    ASSERT_TRUE(picture.SaveAs24(dir / "out24.bmp"));
    PixelBuffer24 back;
    ASSERT_TRUE(back.Load(dir / "out24.bmp"));
    EXPECT_EQ(back.BitsPerPixel(), 24);
    EXPECT_EQ(back.GetColor(1, 0), MakeColor(200, 0, 0));
    EXPECT_EQ(back.GetColor(0, 1), 0u);
}

TEST(BmpSave, FailuresAreReportedAndPicturesWithoutPixelsWriteNothing) {
    FakeUserInterface ui;
    TempDir dir;
    PixelBuffer24 empty;
    EXPECT_FALSE(empty.Save(dir / "e.bmp", true));
    EXPECT_FALSE(empty.SaveAs24(dir / "e.bmp"));
    EXPECT_FALSE(empty.ConvertTo24());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(FileExists(dir / "e.bmp"));

    PixelBuffer24 picture;
    picture.Create(2, 2, 24, false);
    picture.Allocate();
    EXPECT_FALSE(picture.Save(dir / "no/dir.bmp", true));
    EXPECT_EQ(ui.LastText(), "Error creating " + (dir / "no/dir.bmp"));
    if (FileExists("/dev/full")) {
        EXPECT_FALSE(picture.Save("/dev/full", true));
        EXPECT_EQ(ui.LastText(), "Error on writing [/dev/full]");
    }
}
