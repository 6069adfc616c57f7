#include <gtest/gtest.h>

#include "app/IconListModel.h"

TEST(IconListModel, NumbersMovesAndRemovesEntries) {
    IconListModel list;
    list.Add({"a", "b", "c"});
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"#001 : a", "#002 : b", "#003 : c"}));
    EXPECT_EQ(list.Move(2, -1), 1);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"#001 : a", "#002 : c", "#003 : b"}));
    EXPECT_EQ(list.Move(0, -1), 0);
    EXPECT_EQ(list.Move(2, 1), 2);
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"#001 : c", "#002 : b"}));
    EXPECT_FALSE(list.Remove(5));
    list.Clear();
    list.Add({"tank"});
    EXPECT_EQ(list.Entries(), std::vector<std::string>{"#001 : tank"});
}

TEST(IconListModel, FileSpecsGetThePictureExtensions) {
    EXPECT_EQ(NormalizeFileSpec(""), "*.bmp;*.png");
    EXPECT_EQ(NormalizeFileSpec("tank"), "tank.bmp;tank.png");
    EXPECT_EQ(NormalizeFileSpec("tank "), "tank*.bmp;tank*.png");
    EXPECT_EQ(NormalizeFileSpec("*.s16"), "*.s16");
    EXPECT_EQ(NormalizeFileSpec(";a;;*.png;"), "a.bmp;a.png;*.png");
    EXPECT_EQ(FileSpecPatterns("*.bmp;*.png"), (std::vector<std::string>{"*.bmp", "*.png"}));
    EXPECT_TRUE(FileSpecPatterns(";;").empty());
}
