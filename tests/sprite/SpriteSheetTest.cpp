#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "S16Files.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"
#include "sprite/SheetBuild.h"
#include "sprite/SpriteSheet.h"
#include "sprite/SpriteSheetJson.h"

namespace {

// Composes the sheet of `bytes`, describes it, writes the description as
// text, reads it back and builds the S16 again.
Bytes RoundTrip(const Bytes& bytes, int columns = 0) {
    S16Image image;
    image.OpenBytes(bytes, "set.s16");
    SheetLayout layout;
    std::string problem;
    EXPECT_TRUE(LayOutSheet(image.Table(), columns, layout, problem)) << problem;
    PixelBuffer24 sheet;
    int failedIcon = 0;
    EXPECT_TRUE(ComposeSheet(image, layout, sheet, failedIcon));
    SheetDescription parsed;
    const std::string text = SheetJsonText(DescribeSheet(image, layout, "set.png", "set", ".png"));
    EXPECT_TRUE(ParseSheetJson(text, parsed, problem)) << problem;
    std::vector<CodedIcon> icons;
    EXPECT_TRUE(IconsFromDescribedSheet(sheet, "set.png", parsed, "set.json", icons));
    return BuildS16File(icons);
}

}  // namespace

TEST(SpriteSheet, LayoutUsesTheLargestIconAndTheSmallestSquare) {
    EXPECT_EQ(DefaultSheetColumns(1), 1);
    EXPECT_EQ(DefaultSheetColumns(9), 3);
    EXPECT_EQ(DefaultSheetColumns(10), 4);
    std::vector<S16Icon> table(5, Record(1, 1, 0, 0, 10, 4, 0, 2, 0));
    table[3].TWidth = 12;
    table[1].THeight = 7;
    SheetLayout layout;
    std::string problem;
    ASSERT_TRUE(LayOutSheet(table, 0, layout, problem));
    EXPECT_EQ(layout.columns, 3);
    EXPECT_EQ(layout.rows, 2);
    EXPECT_EQ(layout.Width(), 36);
    EXPECT_EQ(layout.Height(), 14);
    EXPECT_EQ(layout.CellX(5), 12);
    EXPECT_EQ(layout.CellY(5), 7);
    ASSERT_TRUE(LayOutSheet(table, 9, layout, problem));  // never more columns than icons
    EXPECT_EQ(layout.columns, 5);

    EXPECT_FALSE(LayOutSheet({}, 0, layout, problem));
    // Records that claim huge icons are refused before any picture is made.
    std::vector<S16Icon> huge(100000, Record(1, 1, 0, 0, 800, 600, 0, 2, 0));
    EXPECT_FALSE(LayOutSheet(huge, 0, layout, problem));
    EXPECT_NE(problem.find("over the"), std::string::npos);
}

TEST(SpriteSheet, UnchangedSheetsBuildBackTheSameBytes) {
    FakeUserInterface ui;
    // Icons of several sizes, raw and run-length, a zero record and shared data.
    const Bytes coded = CodedS16(7, 9, 5, [](int icon, int x, int y) {
        return (x + y) % icon == 0 ? s16::kKeyColor : MakeColor(8 * icon, 4 * x, 8 * y);
    });
    EXPECT_EQ(RoundTrip(coded), coded);
    EXPECT_EQ(RoundTrip(coded, 7), coded);

    // Stored as nothing in this program would choose: raw where runs are
    // shorter, a Compress of 2, a Reserved value, a stored area with a margin,
    // a zero record, and two icons sharing one copy of their data.
    const Bytes data = RawData(std::vector<std::uint16_t>(12, 0x1234));
    S16Icon wide = Record(4, 3, 1, 1, 6, 5, 0, 24, 2);
    wide.Reserved = 7;
    const Bytes odd = S16Bytes({wide, S16Icon{}, Record(4, 3, 0, 0, 4, 3, 0, 24, 0)}, data);
    EXPECT_EQ(RoundTrip(odd), odd);
}

TEST(SpriteSheet, EditedIconsAreCodedAfresh) {
    FakeUserInterface ui;
    PixelBuffer24 picture;
    Paint(picture, 6, 4, [](int x, int) { return x < 2 ? MakeColor(0, 0, 248) : s16::kKeyColor; });
    S16Icon described = Record(1, 1, 0, 0, 6, 4, 0, 2, 0);
    described.Reserved = 3;
    CodedIcon icon;
    // Pixels outside the described area: the area is found anew, Reserved kept.
    ASSERT_TRUE(EncodeIconAs(picture, "edited", described, icon));
    EXPECT_EQ(icon.record.Width, 2);
    EXPECT_EQ(icon.record.Height, 4);
    EXPECT_EQ(icon.record.Reserved, 3);
    // A record of another size than the picture is not trusted either.
    ASSERT_TRUE(EncodeIconAs(picture, "resized", Record(2, 4, 0, 0, 7, 4, 0, 16, 0), icon));
    EXPECT_EQ(icon.record.TWidth, 6);
}

TEST(SpriteSheet, MalformedDescriptionsAreRefusedWithTheReason) {
    const std::string frame = R"("frame":{"x":0,"y":0,"w":4,"h":3},"sourceSize":{"w":4,"h":3})";
    const std::string s16 =
        R"("Width":4,"Height":3,"StartX":0,"StartY":0,"TWidth":4,"THeight":3,"Starts":0,)"
        R"("Bytes":24,"Compress":0,"Reserved":0)";
    std::string lowered = s16;  // the stored area one row lower sticks out of the icon
    lowered.replace(lowered.find("\"StartY\":0"), 10, "\"StartY\":1");
    const std::pair<std::string, std::string> cases[] = {
        {"", "not JSON"},
        {"[1,2]", "no JSON object"},
        {R"({"frames":{}})", "no frame"},
        {R"({"frames":{"a":{}}})", "\"frame\" is missing"},
        {R"({"frames":{"a":{"frame":{"x":0,"y":0,"w":4}}}})", "\"h\" is missing"},
        {R"({"frames":{"a":{"frame":{"x":-1,"y":0,"w":4,"h":3}}}})", "\"x\" is not a whole"},
        {R"({"frames":{"a":{"frame":{"x":1e300,"y":0,"w":4,"h":3}}}})", "\"x\" is not"},
        {R"({"frames":{"a":{"frame":{"x":99999999999999999999,"y":0,"w":4,"h":3}}}})",
         "\"x\" is not"},
        {R"({"frames":{"a":{"frame":{"x":0,"y":0,"w":4000,"h":3}}}})", "over the limits"},
        {R"({"frames":{"a":{"frame":{"x":0,"y":0,"w":4,"h":3},"rotated":true}}})", "rotated"},
        {R"({"frames":{"a":{)" + frame + R"(,"spriteSourceSize":{"x":2,"y":0}}}})",
         "inside \"sourceSize\""},
        {R"({"frames":{"a":{)" + frame + R"(,"s16":{"icon":1}}}})", "\"Width\" is missing"},
        {R"({"frames":{"a":{)" + frame + R"(,"s16":{"icon":1,)" + lowered + "}}}}",
         "does not lie inside the icon"},
        {R"({"frames":{"a":{)" + frame + R"(,"s16":{"icon":1,)" + s16 + R"(}},"b":{)" + frame +
             R"(,"s16":{"icon":1,)" + s16 + R"(}}}})",
         "both icon 1"},
        {R"({"frames":{"a":{)" + frame + R"(,"s16":{"icon":2,"sharesDataOf":2,)" + s16 + R"(}}}})",
         "\"sharesDataOf\""},
    };
    for (const auto& [text, reason] : cases) {
        SheetDescription description;
        std::string problem;
        EXPECT_FALSE(ParseSheetJson(text, description, problem)) << text;
        EXPECT_NE(problem.find(reason), std::string::npos) << text << "\n" << problem;
    }
}

TEST(SpriteSheet, GridsCutAnyNumberOfEqualCells) {
    FakeUserInterface ui;
    PixelBuffer24 sheet;
    Paint(sheet, 20, 6, [](int x, int y) { return MakeColor(8 * (x / 4), 8 * (y / 3), 0); });
    std::vector<CodedIcon> icons;
    ASSERT_TRUE(IconsFromSheetGrid(sheet, "grid.png", 5, 2, icons));
    ASSERT_EQ(icons.size(), 10u);
    EXPECT_EQ(icons[9].record.TWidth, 4);
    EXPECT_EQ(icons[9].record.THeight, 3);
    EXPECT_FALSE(IconsFromSheetGrid(sheet, "grid.png", 3, 2, icons));
    EXPECT_NE(ui.messages.back().text.find("does not divide into 3 x 2 equal cells"),
              std::string::npos);
}

TEST(SpriteSheet, DescriptionsOfOtherToolsAreReadInNameOrder) {
    FakeUserInterface ui;
    // A list of frames without "s16", one trimmed: its pixels go to (1, 1)
    // of a 4 x 3 icon whose other pixels are the key colour.
    const std::string text = R"({"frames":[
        {"filename":"walk_2","frame":{"x":2,"y":0,"w":2,"h":2},"rotated":false,
         "spriteSourceSize":{"x":1,"y":1,"w":2,"h":2},"sourceSize":{"w":4,"h":3}},
        {"filename":"walk_1","frame":{"x":0,"y":0,"w":2,"h":2}}],
        "meta":{"image":"walk.png"}})";
    SheetDescription description;
    std::string problem;
    ASSERT_TRUE(ParseSheetJson(text, description, problem)) << problem;
    ASSERT_EQ(description.frames.size(), 2u);
    EXPECT_EQ(description.frames[0].name, "walk_1");
    EXPECT_EQ(description.image, "walk.png");
    // Written again, frames without a record stay so.
    SheetDescription again;
    ASSERT_TRUE(ParseSheetJson(SheetJsonText(description), again, problem)) << problem;
    EXPECT_FALSE(again.frames[1].described);
    EXPECT_EQ(again.frames[1].offsetX, 1);

    PixelBuffer24 sheet;
    Paint(sheet, 4, 2, [](int x, int) { return MakeColor(0, 40 * x, 0); });
    std::vector<CodedIcon> icons;
    ASSERT_TRUE(IconsFromDescribedSheet(sheet, "walk.png", description, "walk.json", icons));
    const S16Icon& trimmed = icons[1].record;
    EXPECT_EQ(trimmed.TWidth, 4);
    EXPECT_EQ(trimmed.THeight, 3);
    EXPECT_EQ(trimmed.StartX, 1);
    EXPECT_EQ(trimmed.StartY, 1);
    EXPECT_EQ(trimmed.Width, 2);
    EXPECT_EQ(icons[0].record.TWidth, 2);

    // A frame outside the picture is refused, naming the description.
    description.frames[1].x = 3;
    EXPECT_FALSE(IconsFromDescribedSheet(sheet, "walk.png", description, "walk.json", icons));
    EXPECT_NE(ui.messages.back().text.find("[walk.json]"), std::string::npos);
    EXPECT_NE(ui.messages.back().text.find("lies outside"), std::string::npos);
}
