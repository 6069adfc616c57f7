#include <gtest/gtest.h>

#include "browse/FileChoicePreparation.h"

TEST(FileChoicePreparation, FillsTheDefaultsForAFolderAndTitlesMultipleSelection) {
    const PreparedFileChoice p = PrepareFileChoice({"C:\\out\\", "", "", ""}, false);
    EXPECT_EQ(p.folder, "C:\\out\\");
    EXPECT_EQ(p.initialPath, "C:\\out\\*.*");
    EXPECT_EQ(p.title, "Select File");
    EXPECT_EQ(p.filter, "All files (*.*)|*.*|");
    EXPECT_EQ(p.defaultExtension, ".*");
    EXPECT_EQ(PrepareFileChoice({"/x/*.s16", "Select S16 file to add", "", ""}, true).title,
              "Select S16 file to add  * Can use Shift/Ctrl");
}

TEST(FileChoicePreparation, KeepsANamedFileAndCutsAGluedPath) {
    const PreparedFileChoice p =
        PrepareFileChoice({"D:\\maps\\old.dat", "Open", "DAT Files (*.DAT)|*.dat|", ""}, false);
    EXPECT_EQ(p.folder, "D:\\maps\\");
    EXPECT_EQ(p.initialPath, "D:\\maps\\old.dat");
    EXPECT_EQ(p.defaultExtension, ".dat");
    const PreparedFileChoice glued =
        PrepareFileChoice({"C:\\games\\D:\\x.dat", "", "", ".dat"}, false);
    EXPECT_EQ(glued.folder, "C:\\games\\");
    EXPECT_EQ(glued.initialPath, "C:\\games\\*.*");
    EXPECT_EQ(PrepareFileChoice({"/home/me/unit.shp", "", "", ""}, false).initialPath,
              "/home/me/unit.shp");
}

TEST(FileChoicePreparation, TranslatesFiltersToQtSyntax) {
    EXPECT_EQ(ToQtFilter("DAT Files (*.DAT)|*.dat|"), "DAT Files (*.dat *.DAT)");
    EXPECT_EQ(ToQtFilter("Text files |*.txt"), "Text files (*.txt *.TXT)");
    EXPECT_EQ(ToQtFilter("Files (*.S16)|*.s16|Bitmaps|*.bmp|"),
              "Files (*.s16 *.S16);;Bitmaps (*.bmp *.BMP)");
    EXPECT_EQ(ToQtFilter("All files (*.*)|*.*|"), "All files (*.*)");
}
