#include <gtest/gtest.h>

#include <optional>

#include "DatFiles.h"
#include "FakeUserInterface.h"
#include "S16Files.h"
#include "archive/DatArchive.h"

namespace {

class ReportsTest : public ::testing::Test {
protected:
    std::string Archive(const std::string& name, const std::vector<std::string>& items) {
        std::vector<NamedItem> named;
        for (const std::string& item : items)
            named.push_back({item, Filler(4, 1)});
        WriteFileBytes(dir / name, DatBytes(named));
        return dir / name;
    }

    FakeUserInterface ui;
    TempDir dir;
    DatArchive archive;
};

}  // namespace

TEST_F(ReportsTest, ItemReportListsNamesWithIconCounts) {
    const Bytes unit = CodedS16(9, 2, 2, [](int, int, int) { return 0u; });
    const Bytes font = CodedS16(1, 2, 2, [](int, int, int) { return 0u; });
    WriteFileBytes(dir / "KELPAR.DAT", DatBytes({{"UNIT01.S16", unit}, {"FONT.S16", font}}));
    ASSERT_TRUE(archive.OpenArchive(dir / "KELPAR.DAT"));
    ASSERT_TRUE(archive.WriteReport(dir / "report.txt", true));
    EXPECT_EQ(ReadFileText(dir / "report.txt"),
              "*** KELPAR.dat\n*** 2 items\n//////////////\nUNIT01.S16       9 icons\nFONT.S16     "
              "    1 icons\n");
    EXPECT_EQ(ui.opened, std::vector<std::string>{dir / "report.txt"});
    EXPECT_EQ(archive.ItemReport(false),
              "*** KELPAR.dat\n*** 2 items\n//////////////\nUNIT01.S16\nFONT.S16\n");
    EXPECT_FALSE(archive.WriteReport(dir / "no/dir.txt", true));
    EXPECT_EQ(ui.LastText(),
              "Error on creating [" + (dir / "no/dir.txt") + "]: No such file or directory");
    // The archive itself is never written over; any other file is replaced
    // by the whole report.
    const Bytes before = ReadFileBytes(dir / "KELPAR.DAT");
    EXPECT_FALSE(archive.WriteReport(dir / "KELPAR.DAT", true));
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR.DAT"), before);
    WriteFileBytes(dir / "r.txt", Filler(5000, 2));
    ASSERT_TRUE(archive.WriteReport(dir / "r.txt", false));
    EXPECT_EQ(ReadFileText(dir / "r.txt"), archive.ItemReport(false));

    // Names of thirteen characters are not cut.
    ASSERT_TRUE(archive.OpenArchive(Archive("L.dat", {"ABCDEFGHIJ.S1"})));
    EXPECT_EQ(archive.ItemReport(true),
              "*** L.dat\n*** 1 items\n//////////////\nABCDEFGHIJ.S1    0 icons\n");
}

TEST_F(ReportsTest, ComparesTwoArchivesInTheirOwnOrder) {
    ASSERT_TRUE(archive.OpenArchive(Archive("MINE.dat", {"A.S16", "B.S16"})));
    const std::string other = Archive("THEIRS.dat", {"B.S16", "C.S16"});
    ASSERT_TRUE(archive.CompareArchives(other, dir / "diff.txt", false));
    EXPECT_EQ(ReadFileText(dir / "diff.txt"),
              "*** Comparing:\n"
              "*   MINE (2 items) \n"
              "*   THEIRS (2 items) \n"
              "//////////////\n"
              "A.S16           ... not in THEIRS \n"
              "B.S16           ... = \n"
              "          C.S16 ... not in MINE \n"
              "\n*** SUMMARY ***\n"
              "*** 1 items in both files\n"
              "*** 1 items not in THEIRS \n"
              "*** 1 items not in MINE \n");
    const std::optional<std::string> text = archive.ComparisonReport(other, true);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->find("... = "), std::string::npos);
    EXPECT_NE(text->find("*** 1 items in both files\n"), std::string::npos);
}

TEST_F(ReportsTest, MatchesNamesWithUnderscoresAndComparesAnArchiveWithItself) {
    const std::string path = Archive("SORTED.dat", {"UNIT_A.S16", "UNITA.S16", "Z.S16"});
    ASSERT_TRUE(archive.OpenArchive(path));
    std::string text = archive.ComparisonReport(path, false).value_or("");
    EXPECT_NE(
        text.find(
            "*** 3 items in both files\n*** 0 items not in SORTED \n*** 0 items not in SORTED \n"),
        std::string::npos);
    EXPECT_EQ(text.find("not in SORTED \n\n"), std::string::npos);

    text =
        archive.ComparisonReport(Archive("LATER.dat", {"ZZ1.S16", "ZZ2.S16"}), false).value_or("");
    const std::size_t lastMine = text.find("Z.S16           ... not in LATER");
    const std::size_t firstTheirs = text.find("        ZZ1.S16 ... not in SORTED");
    ASSERT_NE(lastMine, std::string::npos);
    EXPECT_LT(lastMine, firstTheirs);
}

TEST_F(ReportsTest, AnOtherFileThatCannotBeOpenedIsReported) {
    ASSERT_TRUE(archive.OpenArchive(Archive("MINE.dat", {"A.S16"})));
    EXPECT_FALSE(archive.CompareArchives(dir / "none.dat", dir / "d.txt", false));
    EXPECT_EQ(ui.LastText(), "[" + (dir / "none.dat") + "] Not found");
    EXPECT_FALSE(FileExists(dir / "d.txt"));
    // A file that is not an archive is said to be one, not compared as empty.
    WriteFileBytes(dir / "junk.dat", Bytes{0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    EXPECT_FALSE(archive.ComparisonReport(dir / "junk.dat", false));
    EXPECT_EQ(ui.LastText(), "[" + (dir / "junk.dat") + "] is not a DAT archive or is damaged");
}
