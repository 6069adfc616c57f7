#include <gtest/gtest.h>

#include <filesystem>

#include "BmpBuilder.h"
#include "FakeUserInterface.h"
#include "ResourceLimits.h"
#include "S16Files.h"
#include "sprite/S16Editor.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

ColorValue IconColour(int icon, int x, int) {
    return x < icon ? MakeColor(0, 0, 248) : MakeColor(8 * icon, 0, 0);
}

class S16EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        original = CodedS16(3, 6, 4, IconColour);
        WriteFileBytes(path, original);
        WriteFileBytes(dir / "new.bmp", Bmp24(5, 5, [](int x, int y) {
                           return x == y ? MakeColor(0, 252, 0) : s16::kKeyColor;
                       }));
        ASSERT_TRUE(image.OpenFile(path));
    }

    FakeUserInterface ui;
    TempDir dir;
    std::string path = dir / "UNIT.s16";
    Bytes original;
    S16Image image;
};

}  // namespace

TEST_F(S16EditorTest, InsertingFirstShiftsTheOthersAndKeepsABackup) {
    const S16Icon oldFirst = image.Icon(1);
    ASSERT_TRUE(InsertIconFromBmp(image, dir / "new.bmp", 1));
    EXPECT_FALSE(image.HasFile());
    S16Image edited;
    ASSERT_TRUE(edited.OpenFile(path));
    ASSERT_EQ(edited.IconCount(), 4);
    const S16Icon& added = edited.Icon(1);
    EXPECT_EQ(added.Starts, 0);
    EXPECT_EQ(added.TWidth, 5);
    EXPECT_EQ(edited.Icon(2).Starts, added.Bytes);
    EXPECT_EQ(edited.Icon(2).Bytes, oldFirst.Bytes);
    EXPECT_EQ(edited.Icon(4).Starts, added.Bytes + 2 * oldFirst.Bytes);
    edited.SelectIcon(1);
    EXPECT_EQ(edited.DecodeIcon(), 25);
    EXPECT_EQ(edited.GetColor(2, 2), MakeColor(0, 252, 0));
    edited.SelectIcon(3);
    edited.DecodeIcon();
    EXPECT_EQ(edited.GetColor(1, 0), MakeColor(0, 0, 248));
    EXPECT_EQ(edited.GetColor(2, 0), MakeColor(16, 0, 0));
    EXPECT_EQ(ReadFileBytes(dir / "UNIT.back"), original);
    EXPECT_FALSE(FileExists(dir / "UNIT_new.s16"));
    EXPECT_FALSE(FileExists(dir / "new.tmp"));

    // Number 0, or one past the end, appends.
    for (int n : {0, 9}) {
        ASSERT_TRUE(image.OpenFile(path));
        const int before = image.IconCount();
        const S16Icon last = image.Icon(before);
        ASSERT_TRUE(InsertIconFromBmp(image, dir / "new.bmp", n));
        ASSERT_TRUE(edited.OpenFile(path));
        ASSERT_EQ(edited.IconCount(), before + 1);
        EXPECT_EQ(edited.Icon(before + 1).Starts, last.Starts + last.Bytes);
        EXPECT_EQ(edited.Icon(before + 1).TWidth, 5);
    }
}

TEST_F(S16EditorTest, RemovingLowersTheLaterStartsDownToAnEmptyValidFile) {
    const S16Icon second = image.Icon(2);
    const S16Icon third = image.Icon(3);
    ASSERT_TRUE(RemoveIcon(image, 2));
    S16Image edited;
    ASSERT_TRUE(edited.OpenFile(path));
    ASSERT_EQ(edited.IconCount(), 2);
    EXPECT_EQ(edited.Icon(2).Starts, third.Starts - second.Bytes);
    edited.SelectIcon(2);
    edited.DecodeIcon();
    EXPECT_EQ(edited.GetColor(3, 0), MakeColor(24, 0, 0));
    EXPECT_EQ(ReadFileBytes(dir / "UNIT.back"), original);

    for (int k = 2; k >= 1; --k) {
        ASSERT_TRUE(image.OpenFile(path));
        ASSERT_TRUE(RemoveIcon(image, 1));
    }
    EXPECT_EQ(ReadFileBytes(path), (Bytes{0, 0, 0, 0}));
    ASSERT_TRUE(image.OpenFile(path));
    EXPECT_FALSE(RemoveIcon(image, 1));
    EXPECT_FALSE(RemoveIcon(image, 0));
    EXPECT_FALSE(FileExists(dir / "UNIT_new.s16"));
}

TEST_F(S16EditorTest, AFailureHalfWayLeavesTheOriginalByteIdentical) {
    // The new file cannot be created.
    {
        NoMoreOpenFiles limit;
        EXPECT_FALSE(RemoveIcon(image, 1));
    }
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(ui.Errors(),
              std::vector<std::string>{"Error on creating [" + path + "]: Too many open files"});

    // The disk fills up while the new file is written: the message names the file and why.
    ASSERT_TRUE(image.OpenFile(path));
    {
        FileSizeLimit limit(8);
        EXPECT_FALSE(InsertIconFromBmp(image, dir / "new.bmp", 2));
    }
    EXPECT_EQ(ui.LastText(), "Error on writing [" + path + "]: File too large");
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_FALSE(FileExists(dir / "UNIT.back"));
    // A bitmap that cannot be read changes nothing.
    ASSERT_TRUE(image.OpenFile(path));
    EXPECT_FALSE(InsertIconFromBmp(image, dir / "missing.bmp", 1));
    EXPECT_EQ(ui.LastText(), dir / "missing.bmp not found");
    EXPECT_EQ(ReadFileBytes(path), original);
}

TEST_F(S16EditorTest, RefusesWhenAnotherProgramReplacedTheFileSinceItWasRead) {
    WriteFileBytes(dir / "other.s16", Bytes{0, 0, 0, 0});
    std::filesystem::rename(dir / "other.s16", path);
    EXPECT_FALSE(RemoveIcon(image, 1));
    EXPECT_EQ(ui.Errors(),
              std::vector<std::string>{"[" + path + "] is being changed by another program"});
    EXPECT_EQ(ReadFileBytes(path), (Bytes{0, 0, 0, 0}));
    EXPECT_FALSE(FileExists(dir / "UNIT.back"));
}

TEST_F(S16EditorTest, RefusesToRewriteAFileWhoseIconDataAreMissing) {
    Bytes cut = original;
    cut.resize(cut.size() - 2);
    WriteFileBytes(path, cut);
    ASSERT_TRUE(image.OpenFile(path));
    EXPECT_FALSE(RemoveIcon(image, 1));
    EXPECT_EQ(ui.LastText(), "Error reading icon 3 of [" + path + "]");
    EXPECT_EQ(ReadFileBytes(path), cut);
}

TEST_F(S16EditorTest, ADamagedIconCanBeRemovedButNotKept) {
    // Icon 2's data are said to lie far beyond the end of the file.
    Bytes damaged = original;
    const std::size_t starts = 4 + 40 + 24;  // icon 2's Starts field
    damaged[starts + 3] = 0x10;
    WriteFileBytes(path, damaged);
    ASSERT_TRUE(image.OpenFile(path));
    EXPECT_FALSE(RemoveIcon(image, 3));
    EXPECT_EQ(ui.LastText(), "Error reading icon 2 of [" + path + "]");
    EXPECT_EQ(ReadFileBytes(path), damaged);

    ASSERT_TRUE(image.OpenFile(path));
    ASSERT_TRUE(RemoveIcon(image, 2));
    S16Image edited;
    ASSERT_TRUE(edited.OpenFile(path));
    ASSERT_EQ(edited.IconCount(), 2);
    edited.SelectIcon(2);
    ASSERT_EQ(edited.DecodeIcon(), 24);
    EXPECT_EQ(edited.GetColor(3, 0), MakeColor(24, 0, 0));
}

TEST_F(S16EditorTest, SharedIconDataAreWrittenOnceAndPartialOverlapsAreRefused) {
    // A thousand records of one 20 x 50 raw picture: about 42 KB, whose
    // icons, copied one by one, would make a 2 MB file.
    std::vector<std::uint16_t> words(1000);
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<std::uint16_t>(i * 37);
    const Bytes data = RawData(words);
    const std::vector<S16Icon> records(1000, Record(20, 50, 0, 0, 20, 50, 0, 2000, 0));
    const Bytes shared = S16Bytes(records, data);
    WriteFileBytes(path, shared);
    ASSERT_TRUE(image.OpenFile(path));
    ASSERT_TRUE(RemoveIcon(image, 1));
    EXPECT_EQ(ReadFileBytes(path).size(), shared.size() - 40);
    ASSERT_TRUE(image.OpenFile(path));
    ASSERT_TRUE(InsertIconFromBmp(image, dir / "new.bmp", 500));
    EXPECT_LT(ReadFileBytes(path).size(), shared.size() + 100);

    S16Image edited;
    ASSERT_TRUE(edited.OpenFile(path));
    ASSERT_EQ(edited.IconCount(), 1000);
    EXPECT_EQ(edited.Icon(500).TWidth, 5);
    for (const int k : {1, 499, 501, 1000}) {
        SCOPED_TRACE(k);
        edited.SelectIcon(k);
        ASSERT_EQ(edited.DecodeIcon(), 1000);
        EXPECT_EQ(edited.GetColor(19, 49), s16::ToColor(words[999]));
    }

    // Icons 2 and 3 share only part of their data: the file is refused as it stands.
    const Bytes overlapping =
        S16Bytes({Record(2, 1, 0, 0, 2, 1, 0, 4, 0), Record(2, 1, 0, 0, 2, 1, 4, 4, 0),
                  Record(2, 1, 0, 0, 2, 1, 6, 4, 0)},
                 RawData({1, 2, 3, 4, 5}));
    WriteFileBytes(path, overlapping);
    ASSERT_TRUE(image.OpenFile(path));
    EXPECT_FALSE(RemoveIcon(image, 1));
    EXPECT_EQ(ui.LastText(), "Icons 2 and 3 of [" + path + "] overlap in the file");
    EXPECT_EQ(ReadFileBytes(path), overlapping);
    // Without one of them nothing overlaps.
    ASSERT_TRUE(image.OpenFile(path));
    EXPECT_TRUE(RemoveIcon(image, 3));
}
