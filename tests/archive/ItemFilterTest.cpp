#include <gtest/gtest.h>

#include "archive/ItemFilter.h"

namespace {

std::vector<DatEntry> Entries() {
    std::vector<DatEntry> entries;
    auto add = [&](const std::string& name, int icons) {
        DatEntry e;
        e.SetName(name);
        e.icons = icons;
        entries.push_back(e);
    };
    add("UNIT01.S16", 9);
    add("UNDEAD.S16", 9);
    add("FONT01.S16", 1);
    add("S16LOGO.S16", 1);
    add("README.TXT", 0);
    return entries;
}

std::vector<std::string> Names(const std::vector<int>& rows) {
    const std::vector<DatEntry> entries = Entries();
    std::vector<std::string> names;
    for (int row : rows)
        names.push_back(entries[static_cast<std::size_t>(row)].Name());
    return names;
}

}  // namespace

TEST(ItemFilter, BeginsWithOrContainsButNeverTheExtensionInEachMode) {
    EXPECT_EQ(Names(FilterItems(Entries(), kShowAll, "un")),
              (std::vector<std::string>{"UNIT01.S16", "UNDEAD.S16"}));
    EXPECT_EQ(Names(FilterItems(Entries(), kShowAll, "$01")),
              (std::vector<std::string>{"UNIT01.S16", "FONT01.S16"}));
    EXPECT_EQ(FilterItems(Entries(), kShowAll, "$").size(), 5u);
    EXPECT_EQ(FilterItems(Entries(), kShowAll, "").size(), 5u);
    EXPECT_EQ(Names(FilterItems(Entries(), kShowAll, "S16")),
              std::vector<std::string>{"S16LOGO.S16"});
    EXPECT_TRUE(FilterItems(Entries(), kShowAll, "$TXT").empty());
    // Trailing blanks count in the length but not in the pattern.
    EXPECT_EQ(Names(FilterItems(Entries(), kShowAll, "UNI  ")),
              std::vector<std::string>{"UNIT01.S16"});
    // The modes split units from the rest.
    EXPECT_EQ(Names(FilterItems(Entries(), kShowUnits, "")),
              (std::vector<std::string>{"UNIT01.S16", "UNDEAD.S16"}));
    EXPECT_EQ(Names(FilterItems(Entries(), kShowInterface, "")),
              (std::vector<std::string>{"FONT01.S16", "S16LOGO.S16", "README.TXT"}));
    EXPECT_EQ(Names(FilterItems(Entries(), kShowUnits, "$01")),
              std::vector<std::string>{"UNIT01.S16"});
    EXPECT_EQ(ItemRow(Entries()[0]), "UNIT01.S16  (9)");
}
