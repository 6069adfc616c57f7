#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "S16Files.h"
#include "archive/DatArchive.h"
#include "archive/DatEntry.h"
#include "support/DataFile.h"
#include "support/Progress.h"

namespace {

class DatArchiveTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        WriteFileBytes(dir / name, bytes);
        return dir / name;
    }

    FakeUserInterface ui;
    TempDir dir;
    DatArchive archive;
};

}  // namespace

TEST_F(DatArchiveTest, ReadsOffsetsSizesAndUpperCasedNames) {
    const Bytes bytes =
        DatBytes({{"A.S16", Filler(10, 1)}, {"b.s16", Filler(20, 2)}, {"C.S16", Filler(30, 3)}});
    EXPECT_EQ(GetU32(bytes, 0), 4u);
    EXPECT_EQ(GetU32(bytes, 4 + 17 * 3), 132u);  // the end record
    ASSERT_TRUE(archive.OpenArchive(Write("KELPAR.dat", bytes)));
    EXPECT_TRUE(archive.IsOpen());
    EXPECT_TRUE(archive.IsLoaded());
    ASSERT_EQ(archive.ItemCount(), 3);
    EXPECT_EQ(archive.Entry(0).offset, 72u);
    EXPECT_EQ(archive.Entry(1).offset, 82u);
    EXPECT_EQ(archive.Entry(2).offset, 102u);
    EXPECT_EQ(archive.Entry(2).size, 30);
    EXPECT_EQ(archive.Entry(1).Name(), "B.S16");
    EXPECT_EQ(archive.FindItem("c.S16"), 2);
    EXPECT_EQ(archive.FindItem("D.S16"), -1);
    EXPECT_TRUE(ui.messages.empty());
}

// The first few names are found by a pass over the directory, later ones
// through an index of every name: both give the same answers.
TEST_F(DatArchiveTest, FindsEveryNameAloneAndThroughTheIndex) {
    std::vector<std::pair<std::string, Bytes>> items;
    for (int i = 0; i < 300; ++i)
        items.push_back({"ITEM" + std::to_string(i) + ".S16", Filler(4, 1)});
    items.push_back({"ABCDEFGHI.S16", Filler(4, 2)});  // 13 characters, no terminator
    items.push_back({"ITEM7.S16", Filler(4, 3)});      // a second item of an earlier name
    ASSERT_TRUE(archive.OpenArchive(Write("K.dat", DatBytes(items))));
    for (int round = 0; round < 2; ++round) {  // the second round uses the index
        for (int i = 0; i < 300; i += 7)
            EXPECT_EQ(archive.FindItem("item" + std::to_string(i) + ".s16"), i);
        EXPECT_EQ(archive.FindItem("ABCDEFGHI.S16"), 300);
        EXPECT_EQ(archive.FindItem("ITEM7.S16"), 7);  // the first of equal names
        EXPECT_EQ(archive.FindItem("ABCDEFGHI.S1"), -1);
        EXPECT_EQ(archive.FindItem("ABCDEFGHI.S16X"), -1);
        EXPECT_EQ(archive.FindItem("NOPE.S16"), -1);
        EXPECT_EQ(archive.FindItem(""), -1);
    }
}

TEST_F(DatArchiveTest, ReadsIconCountsAndSelectsS16ItemsOnly) {
    const Bytes unit = CodedS16(9, 4, 4, [](int i, int, int) { return MakeColor(8 * i, 0, 0); });
    Bytes negative = Filler(8, 5);
    negative[3] = 0x80;
    ASSERT_TRUE(archive.OpenArchive(Write("K.dat", DatBytes({{"UNIT01.S16", unit},
                                                             {"README.TXT", Filler(12, 1)},
                                                             {"BAD.S16", negative},
                                                             {"EMPTY.S16", Bytes(4, 0)},
                                                             {"TINY.S16", Filler(3, 7)}}))));
    EXPECT_TRUE(archive.Entry(0).isS16);
    EXPECT_FALSE(archive.Entry(1).isS16);
    // Negative, zero, or too short to state a count: no icons.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(archive.Entry(i).icons, i == 0 ? 9 : 0) << archive.Entry(i).Name();

    EXPECT_EQ(archive.SelectItem(0, 4), 4);
    EXPECT_EQ(archive.DecodeIcon(), 16);
    EXPECT_EQ(archive.GetColor(0, 0), MakeColor(32, 0, 0));
    EXPECT_EQ(archive.SelectItem(1, 1), 0);
    EXPECT_EQ(archive.CurrentIconNumber(), 0);
    EXPECT_EQ(archive.CurrentItem(), 1);
    EXPECT_EQ(archive.SelectItem(5, 1), 0);
    EXPECT_EQ(archive.SelectItem(-1, 1), 0);
    EXPECT_EQ(archive.CurrentItem(), 1);
}

// Commands that only rewrite or extract leave the counts unread; once asked
// for, they are those of the file as it is then, also after a rewrite.
TEST_F(DatArchiveTest, IconCountsWhenAskedAreReadOnceAndFollowRewrites) {
    const Bytes unit = CodedS16(9, 4, 4, [](int i, int, int) { return MakeColor(8 * i, 0, 0); });
    const Bytes two = CodedS16(2, 4, 4, [](int i, int, int) { return MakeColor(0, 8 * i, 0); });
    const std::string path =
        Write("K.dat", DatBytes({{"UNIT01.S16", unit}, {"A.TXT", Filler(5, 1)}}));
    ASSERT_TRUE(archive.OpenArchive(path, DatArchive::IconCounts::kWhenAsked));
    EXPECT_EQ(archive.Entry(0).icons, 0);
    archive.ReadIconCountsNow();
    EXPECT_EQ(archive.Entry(0).icons, 9);

    ASSERT_TRUE(archive.OpenArchive(path, DatArchive::IconCounts::kWhenAsked));
    const std::string source = Write("UNIT01.S16", two);
    ASSERT_TRUE(archive.ReplaceItems({{0, source}}, NoProgress()));
    archive.ReadIconCountsNow();
    EXPECT_EQ(archive.Entry(0).icons, 2);

    ASSERT_TRUE(archive.OpenArchive(path));
    EXPECT_EQ(archive.Entry(0).icons, 2);
    ASSERT_TRUE(archive.ReplaceItems({{0, Write("UNIT01.S16", unit)}}, NoProgress()));
    EXPECT_EQ(archive.Entry(0).icons, 9);  // from the plan, without reading
}

// Icon counts are read in blocks in offset order; the directory must not
// depend on the order, overlap or length of the items.
TEST_F(DatArchiveTest, IconCountsOfItemsOutOfOrderOverlappingShortOrOutsideTheFile) {
    const std::vector<std::pair<const char*, std::uint32_t>> records = {
        {"A.S16", 206}, {"B.S16", 306}, {"C.S16", 130}, {"D.S16", 132},
        {"E.S16", 200}, {"F.S16", 250}, {"", 100000}};
    Bytes bytes;
    PutU32(bytes, static_cast<std::uint32_t>(records.size()));
    for (const auto& [name, offset] : records) {
        PutU32(bytes, offset);
        const std::string padded = std::string(name) + std::string(13, '\0');
        bytes.insert(bytes.end(), padded.begin(), padded.begin() + 13);
    }
    ASSERT_EQ(bytes.size(), 123u);
    bytes.resize(320, 0xEE);
    const auto putCount = [&bytes](std::size_t at, std::uint8_t count) {
        bytes[at] = count;
        bytes[at + 1] = bytes[at + 2] = bytes[at + 3] = 0;
    };
    putCount(206, 7);  // A, inside E's bytes
    putCount(132, 3);  // D, just after C's two bytes
    putCount(200, 5);  // E
    ASSERT_TRUE(archive.OpenArchive(Write("MIXED.dat", bytes)));
    // B ends before it starts and F runs past the end of the file.
    EXPECT_EQ(archive.ItemsLeftOut(), 2);
    std::vector<std::pair<std::string, int>> listed;
    for (const DatEntry& entry : archive.Entries())
        listed.emplace_back(entry.Name(), entry.icons);
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{
                          {"A.S16", 7}, {"C.S16", 0}, {"D.S16", 3}, {"E.S16", 5}}));
}

// The block reader gives what one read per item gives, also for entries far
// apart, in any order, or past the end of the file.
TEST_F(DatArchiveTest, IconCountsInBlocksEqualOneReadPerItem) {
    std::mt19937 random(13);
    Bytes bytes(3 * 1024 * 1024 + 7);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random() % 4 == 0 ? random() : random() % 3);
    DataFile file(Write("COUNTS.bin", bytes), "rb");
    ASSERT_TRUE(file.IsOpen());
    for (const int count : {2000, 30, 3}) {
        std::vector<DatEntry> entries(static_cast<std::size_t>(count));
        for (DatEntry& entry : entries) {
            entry.offset = static_cast<std::uint32_t>(random() % (bytes.size() + 8));
            entry.size = random() % 2 == 0 ? random() % 9 : random() % 300000;
            entry.isS16 = random() % 5 != 0;
            entry.icons = 99;
        }
        ReadIconCounts(file, entries);
        for (const DatEntry& entry : entries) {
            const int expected = entry.isS16 ? ReadIconCount(file, entry.offset,
                                                             static_cast<std::uint64_t>(entry.size))
                                                   .value_or(0)
                                             : 0;
            ASSERT_EQ(entry.icons, expected) << "offset " << entry.offset << " size " << entry.size;
        }
    }
}

TEST_F(DatArchiveTest, LocatesIconDataFromTheItemsOffset) {
    // An item at offset 1000 with 3 icons: icon 2's data (Starts 500) is at 1000 + 4 + 120 + 500.
    Bytes item = S16Bytes({Record(1, 1, 0, 0, 1, 1, 0, 2, 0), Record(1, 1, 0, 0, 1, 1, 500, 2, 0),
                           Record(1, 1, 0, 0, 1, 1, 2, 2, 0)},
                          Bytes(502, 0));
    item[4 + 120 + 500] = 0x1F;  // pure blue at 1,624 in the archive
    const Bytes padding(1000 - 4 - 17 * 3, 0xEE);
    const Bytes bytes = DatBytes({{"PAD.BIN", padding}, {"ICONS.S16", item}});
    ASSERT_EQ(GetU32(bytes, 4 + 17), 1000u);
    ASSERT_TRUE(archive.OpenArchive(Write("K.dat", bytes)));
    ASSERT_EQ(archive.SelectItem(1, 2), 2);
    EXPECT_EQ(archive.DecodeIcon(), 1);
    EXPECT_EQ(archive.GetColor(0, 0), MakeColor(0, 0, 248));
}

TEST_F(DatArchiveTest, AMissingFileKeepsTheOpenArchiveAndAnUnopenableOneClosesIt) {
    ASSERT_TRUE(archive.OpenArchive(Write("K.dat", DatBytes({{"A.S16", Filler(10, 1)}}))));
    EXPECT_FALSE(archive.OpenArchive(dir / "none.dat"));
    EXPECT_EQ(ui.Errors().back(), dir / "none.dat not found");
    EXPECT_EQ(archive.ItemCount(), 1);
    EXPECT_TRUE(archive.IsOpen());

    std::filesystem::create_directory(dir / "folder.dat");
    EXPECT_FALSE(archive.OpenArchive(dir / "folder.dat"));
    EXPECT_EQ(ui.LastText(), "Cannot open [" + (dir / "folder.dat") + "]: Is a directory");
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
    EXPECT_EQ(archive.ItemCount(), 0);
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_FALSE(archive.IsLoaded());
}

TEST_F(DatArchiveTest, ListsOnlyTheItemsThatLieInsideADamagedFile) {
    Bytes bytes =
        DatBytes({{"A.S16", Filler(10, 1)}, {"B.S16", Filler(20, 2)}, {"C.S16", Filler(30, 3)}});
    bytes.resize(bytes.size() - 5);  // C now ends past the file's end
    ASSERT_TRUE(archive.OpenArchive(Write("cut.dat", bytes)));
    EXPECT_EQ(archive.ItemCount(), 2);
    EXPECT_EQ(archive.ItemsLeftOut(), 1);
    EXPECT_EQ(ui.LastText(), "[" + (dir / "cut.dat") +
                                 "] is damaged: 1 items lie outside the file and are not listed");
    // A rewrite leaves them out of the new file, which is whole again.
    ASSERT_EQ(archive.RemoveItem(0, NoProgress()), "A.S16");
    EXPECT_EQ(archive.ItemsLeftOut(), 0);
    ASSERT_TRUE(archive.OpenArchive(dir / "cut.dat"));
    EXPECT_EQ(archive.ItemCount(), 1);
    EXPECT_EQ(archive.ItemsLeftOut(), 0);

    // An item whose bytes would lie inside the directory is damaged as well.
    Bytes inside = DatBytes({{"A.S16", Filler(10, 1)}, {"B.S16", Filler(20, 2)}});
    inside[4] = 4;
    inside[5] = 0;
    ASSERT_TRUE(archive.OpenArchive(Write("inside.dat", inside)));
    ASSERT_EQ(archive.ItemCount(), 1);
    EXPECT_EQ(archive.ItemsLeftOut(), 1);
    EXPECT_EQ(archive.Entry(0).Name(), "B.S16");
}

TEST_F(DatArchiveTest, RefusesFilesThatCannotHoldTheirDirectory) {
    ASSERT_TRUE(archive.OpenArchive(Write("good.dat", DatBytes({{"A.S16", Filler(10, 1)}}))));
    auto refused = [&](const std::string& name, const Bytes& bytes) {
        ui.Clear();
        const bool opened = archive.OpenArchive(Write(name, bytes));
        EXPECT_FALSE(opened) << name;
        EXPECT_FALSE(archive.IsOpen()) << name;
        EXPECT_EQ(archive.ItemCount(), 0) << name;
        EXPECT_EQ(ui.Errors(), std::vector<std::string>{"[" + (dir / name) +
                                                        "] is not a DAT archive or is damaged"});
    };
    Bytes huge = DatBytes({{"A.S16", Filler(10, 1)}});
    huge[3] = 0x7F;  // two billion records in 47 bytes
    refused("huge.dat", huge);
    Bytes negative = DatBytes({});
    negative[3] = 0x80;
    refused("negative.dat", negative);
    Bytes zero = DatBytes({});
    zero[0] = 0;
    refused("zero.dat", zero);
    refused("short.dat", Bytes{1, 0});
    // The directory does not fit, even in the largest file the format allows.
    Bytes cut = DatBytes({{"A.S16", Filler(10, 1)}, {"B.S16", Filler(20, 2)}});
    cut.resize(4 + 17 * 2);
    refused("cut.dat", cut);

    // A sparse 4 GiB file claiming 2^31 - 1 items is refused before anything
    // the size of its directory is allocated.
    const std::string sparse = Write("sparse.dat", huge);
    std::filesystem::resize_file(sparse, 1ull << 32);
    ui.Clear();
    EXPECT_FALSE(archive.OpenArchive(sparse));
    EXPECT_EQ(ui.LastText(), "[" + sparse + "] is not a DAT archive or is damaged");
}
