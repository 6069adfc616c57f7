#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "archive/DatEntry.h"
#include "archive/ItemNames.h"

namespace {

DatEntry Named(const std::string& name) {
    DatEntry entry;
    entry.SetName(name);
    return entry;
}

}  // namespace

// Names read from an archive reach the file system only when they cannot
// leave the folder chosen for them.
TEST(ItemNames, OnlyPlainNamesBecomeFilesInTheFolder) {
    FakeUserInterface ui;
    for (const char* name : {"UNIT01.S16", "A", "...", "..X", "NAME WITH.SP"})
        EXPECT_TRUE(IsPlainItemName(name)) << name;
    for (const char* name : {"", ".", "..", "../UP.S16", "SUB/X.S16", "C:X.S16", "A\\B"})
        EXPECT_FALSE(IsPlainItemName(name)) << name;

    EXPECT_EQ(ItemPathInFolder(Named("UNIT01.S16"), "/out/"), "/out/UNIT01.S16");
    EXPECT_TRUE(ui.Errors().empty());
    EXPECT_EQ(ItemPathInFolder(Named("..\\EVIL\n.S16"), "/out/"), "");
    ASSERT_EQ(ui.Errors().size(), 1u);
    EXPECT_NE(ui.Errors()[0].find("[..\\\\EVIL\\n.S16] is not a plain file name"),
              std::string::npos)
        << ui.Errors()[0];
}

TEST(ItemNames, ShownNamesCannotSplitARowOrDriveATerminal) {
    EXPECT_EQ(PrintableName("UNIT01.S16"), "UNIT01.S16");
    EXPECT_EQ(PrintableName("A\\B\tC\r\nD"), "A\\\\B\\tC\\r\\nD");
    EXPECT_EQ(PrintableName(std::string("\x1B[2J\x7F", 5)), "\\x1B[2J\\x7F");
    EXPECT_EQ(PrintableName(std::string("\xE9t\xE9", 3)), std::string("\xE9t\xE9", 3));
}
