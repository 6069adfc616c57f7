#include <gtest/gtest.h>

#include <filesystem>

#include "GoldenFiles.h"
#include "archive/DatArchive.h"
#include "archive/DatWriter.h"
#include "sprite/S16Format.h"
#include "support/DataFile.h"
#include "support/Progress.h"

namespace {

struct Expected {
    const char* name;
    std::uint32_t offset;
    std::int64_t size;
    bool isS16;
    std::int32_t icons;
};
constexpr Expected kItems[] = {
    {"ICONS.S16", 72, 98, true, 2},
    {"LONGNAME1.TXT", 170, 14, false, 0},  // 13 characters: no terminator in the file
    {"README.TXT", 184, 6, false, 0},
};

}  // namespace

TEST(GoldenDat, DirectoryAndItemsAreWhatTheScriptStates) {
    GoldenScratch scratch;
    std::filesystem::copy_file(GoldenPath("golden.dat"), scratch / "golden.dat");
    DatArchive archive;
    ASSERT_TRUE(archive.OpenArchive(scratch / "golden.dat"));
    ASSERT_EQ(archive.ItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const DatEntry& entry = archive.Entry(i);
        SCOPED_TRACE(kItems[i].name);
        EXPECT_EQ(entry.Name(), kItems[i].name);
        EXPECT_EQ(entry.offset, kItems[i].offset);
        EXPECT_EQ(entry.size, kItems[i].size);
        EXPECT_EQ(entry.isS16, kItems[i].isS16);
        EXPECT_EQ(entry.icons, kItems[i].icons);
    }
    // The S16 item is the golden S16 file, read through the archive's own file.
    EXPECT_EQ(archive.SelectItem(0, 2), 2);
    EXPECT_EQ(archive.CurrentIcon().TWidth, 4);
    EXPECT_EQ(archive.DecodeIcon(), 8);
    EXPECT_EQ(archive.GetColor(3, 1), s16::kTransparentColor);
    EXPECT_EQ(archive.SelectItem(2, 1), 0);
    // The items are the stated bytes.
    ASSERT_TRUE(archive.ExtractItem(0, scratch / "icons.s16"));
    EXPECT_EQ(ReadBytes(scratch / "icons.s16"), GoldenBytes("golden.s16"));
    ASSERT_TRUE(archive.ExtractItem(2, scratch / "readme.txt"));
    EXPECT_EQ(ReadBytes(scratch / "readme.txt"),
              (std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'}));
}

// Writing the directory it read gives the same archive: the layout has one
// canonical form (directory, then the items back to back in directory order).
TEST(GoldenDat, WritingTheReadDirectoryGivesTheSameBytes) {
    GoldenScratch scratch;
    std::filesystem::copy_file(GoldenPath("golden.dat"), scratch / "golden.dat");
    DatArchive archive;
    ASSERT_TRUE(archive.OpenArchive(scratch / "golden.dat"));
    DataFile source;
    ASSERT_TRUE(source.Open(scratch / "golden.dat", "rb", false));
    std::vector<PlannedItem> plan;
    for (const DatEntry& entry : archive.Entries())
        plan.push_back(PlannedItem{entry, &source, entry.offset, {}});
    EXPECT_EQ(PlannedDirectory(plan)[1].offset, 170u);

    DataFile out;
    ASSERT_TRUE(out.Open(scratch / "written.dat", "w+b", false));
    ASSERT_TRUE(WriteDat(out, plan, NoProgress(), scratch / "written.dat"));
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(ReadBytes(scratch / "written.dat"), GoldenBytes("golden.dat"));
}

// Through the whole rewrite path: removing an item and adding it back sorts
// it into place and gives the original file again; the backup holds the
// archive as it was before the last rewrite.
TEST(GoldenDat, RemovingAndAddingAnItemBackRestoresTheFile) {
    GoldenScratch scratch;
    const std::string path = scratch / "golden.dat";
    std::filesystem::copy_file(GoldenPath("golden.dat"), path);
    DatArchive archive;
    ASSERT_TRUE(archive.OpenArchive(path));
    ASSERT_TRUE(archive.ExtractItem(1, scratch / "LONGNAME1.TXT"));

    EXPECT_EQ(archive.RemoveItems({1}, NoProgress()), std::vector<std::string>{"LONGNAME1.TXT"});
    const std::vector<std::uint8_t> withoutItem = ReadBytes(path);
    EXPECT_EQ(withoutItem.size(), 190u - 17 - 14);
    EXPECT_EQ(ReadBytes(scratch / "golden_back.dat"), GoldenBytes("golden.dat"));

    const RewriteResult added = archive.AddItems({scratch / "LONGNAME1.TXT"}, NoProgress());
    EXPECT_TRUE(added.done);
    EXPECT_EQ(added.bytes, 14u);
    EXPECT_EQ(ReadBytes(path), GoldenBytes("golden.dat"));
    EXPECT_EQ(ReadBytes(scratch / "golden_back.dat"), withoutItem);
    ASSERT_EQ(archive.ItemCount(), 3);
    EXPECT_EQ(archive.Entry(1).offset, 170u);
}
