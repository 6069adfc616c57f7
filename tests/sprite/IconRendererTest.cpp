#include <gtest/gtest.h>

#include <tuple>

#include "FakeUserInterface.h"
#include "S16Files.h"
#include "bitmap/RasterSurface.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

constexpr ColorValue kRed = MakeColor(248, 0, 0);
constexpr ColorValue kBlue = MakeColor(0, 0, 248);

class IconRendererTest : public ::testing::Test {
protected:
    // An S16 of `count` icons of w x h: left column blue, the rest red.
    void OpenSet(int count, int w, int h) {
        image.OpenBytes(
            CodedS16(count, w, h, [](int, int x, int) { return x == 0 ? kBlue : kRed; }),
            "set.s16");
    }

    // The extent of red-or-blue pixels on the surface.
    static Rect Drawn(RasterSurface& s) {
        Rect r{s.Width(), s.Height(), 0, 0};
        for (int y = 0; y < s.Height(); ++y) {
            for (int x = 0; x < s.Width(); ++x) {
                const ColorValue c = s.ColorAt(x, y);
                if (c != kRed && c != kBlue) continue;
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
        }
        return r;
    }

    FakeUserInterface ui;
    TempDir dir;
    S16Image image;
};

}  // namespace

TEST_F(IconRendererTest, ZoomsEachAxisWithinTheAreaAndSqueezesWhatDoesNotFit) {
    OpenSet(1, 40, 30);
    RasterSurface surface(320, 260);
    const Rect area{10, 5, 310, 255};
    EXPECT_EQ(DrawIcon(image, &surface, area, 5), 40 * 30);
    const Rect drawn = Drawn(surface);
    EXPECT_EQ(std::tuple(drawn.left, drawn.top, drawn.Width(), drawn.Height()),
              std::tuple(10, 5, 200, 150));
    EXPECT_EQ(surface.ColorAt(9, 5), 0u);
    EXPECT_EQ(surface.ColorAt(250, 200), kSilver);
    EXPECT_EQ(surface.Mode(), StretchMode::ColorOnColor);

    OpenSet(1, 70, 60);
    EXPECT_GT(DrawIcon(image, &surface, area, 5), 0);
    EXPECT_EQ(std::tuple(Drawn(surface).Width(), Drawn(surface).Height()), std::tuple(300, 250));

    // An icon that does not fit is squeezed whatever the zoom.
    OpenSet(1, 400, 100);
    RasterSurface narrow(300, 250);
    for (int zoom : {1, 3}) {
        DrawIcon(image, &narrow, Rect{0, 0, 300, 250}, zoom);
        EXPECT_EQ(std::tuple(Drawn(narrow).Width(), Drawn(narrow).Height()), std::tuple(298, 100));
    }
}

TEST_F(IconRendererTest, MirrorsAndLeavesTheAreaSilverWhenNothingDecodes) {
    OpenSet(1, 4, 2);
    RasterSurface surface(10, 10);
    image.SetMirrorX(true);
    DrawIcon(image, &surface, Rect{0, 0, 10, 10}, 1);
    EXPECT_EQ(surface.ColorAt(3, 0), kBlue);
    EXPECT_EQ(surface.ColorAt(0, 0), kRed);

    image.OpenBytes(S16Bytes({Record(1, 1, 0, 0, 900, 1, 0, 3, 1)}, RunData({{1, 1}})), "bad.s16");
    EXPECT_EQ(DrawIcon(image, &surface, Rect{0, 0, 10, 10}, 1), 0);
    EXPECT_EQ(surface.ColorAt(3, 0), kSilver);
}

TEST_F(IconRendererTest, LaysOutANineIconSetThreeByThree) {
    OpenSet(9, 40, 40);
    RasterSurface surface(300, 250);
    bool atEnd = false;
    EXPECT_EQ(DrawCollage(image, &surface, Rect{0, 0, 300, 250}, 1, atEnd), 9);
    EXPECT_TRUE(atEnd);
    for (int column : {1, 42, 83}) {
        for (int row : {1, 42, 83}) {
            EXPECT_EQ(surface.ColorAt(column, row), kBlue) << column << "," << row;
            EXPECT_EQ(surface.ColorAt(column - 1, row), kSilver);
            EXPECT_EQ(surface.ColorAt(column + 39, row + 39), kRed);
        }
    }
    EXPECT_EQ(surface.ColorAt(124, 1), kSilver);  // no fourth icon in the first row
    EXPECT_EQ(image.CurrentIconNumber(), 9);
}

TEST_F(IconRendererTest, WrapsOtherSetsAtTheAreasWidthAndPagesOn) {
    OpenSet(12, 40, 40);
    int width = 300, height = 250;
    CollageSize(image, width, height, 1);
    EXPECT_EQ(width, 288);  // seven icons in the first row: 1 + 7 x 41
    EXPECT_EQ(height, 82);

    RasterSurface surface(300, 250);
    bool atEnd = true;
    EXPECT_EQ(DrawCollage(image, &surface, Rect{0, 0, 300, 250}, 1, atEnd), 12);
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(surface.ColorAt(247, 1), kBlue);
    EXPECT_EQ(surface.ColorAt(1, 42), kBlue);

    RasterSurface small(130, 50);
    EXPECT_EQ(DrawCollage(image, &small, Rect{0, 0, 130, 50}, 1, atEnd), 3);
    EXPECT_FALSE(atEnd);
    EXPECT_EQ(DrawCollage(image, &small, Rect{0, 0, 130, 50}, 10, atEnd), 3);
    EXPECT_TRUE(atEnd);
}

TEST_F(IconRendererTest, BuildsACollagePictureWithOnePixelGaps) {
    OpenSet(9, 40, 40);
    ASSERT_TRUE(BuildCollage(image, dir / "collage.bmp", Rect{0, 0, 1000, 1000}, 1));
    PixelBuffer24 collage;
    ASSERT_TRUE(collage.Load(dir / "collage.bmp"));
    EXPECT_EQ(collage.Width(), 124);
    EXPECT_EQ(collage.Height(), 123);
    EXPECT_EQ(collage.GetColor(0, 0), kSilver);
    EXPECT_EQ(collage.GetColor(1, 1), kBlue);
    EXPECT_EQ(collage.GetColor(41, 1), kSilver);
    EXPECT_EQ(collage.GetColor(123, 50), kSilver);
    EXPECT_EQ(collage.GetColor(122, 122), kRed);  // no margin at the bottom

    S16Image empty;
    EXPECT_FALSE(BuildCollage(empty, dir / "none.bmp", Rect{0, 0, 100, 100}, 1));
    EXPECT_FALSE(FileExists(dir / "none.bmp"));
}
