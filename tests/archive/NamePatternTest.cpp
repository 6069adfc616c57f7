#include <gtest/gtest.h>

#include "archive/NamePattern.h"

TEST(NamePattern, MatchesLikeTheShellInAnyLetterCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"UNIT*", "UNIT01.S16", true},
        {"unit*.s16", "UNIT01.S16", true},
        {"UNIT*", "PANEL01.S16", false},
        {"*01*", "UNIT01.S16", true},
        {"*.S16", "README.TXT", false},
        {"U?IT01.S16", "UNIT01.S16", true},
        {"UNIT0?.S16", "UNIT1.S16", false},
        {"UNIT0[1-3].S16", "UNIT02.S16", true},
        {"UNIT0[1-3].S16", "UNIT04.S16", false},
        {"UNIT0[!1].S16", "UNIT01.S16", false},
        {"UNIT0[^1].S16", "UNIT02.S16", true},
        {"[a-c]*", "BANNER.S16", true},
        {"[]]X", "]X", true},
        {"A[B", "A[B", true},  // an unclosed set stands for itself
        {"*", "", true},
        {"?", "", false},
        {"**A*B", "XAYB", true},
        {"*A*B", "XAYBA", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesNamePattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    EXPECT_TRUE(IsNamePattern("UNIT[1]"));
    EXPECT_FALSE(IsNamePattern("UNIT01.S16"));
}
