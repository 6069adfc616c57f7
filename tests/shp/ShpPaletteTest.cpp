#include <gtest/gtest.h>

#include "shp/ShpFrameImage.h"
#include "shp/ShpPalette.h"

TEST(ShpPalette, WordsAndTheNearestColourAmongTheFirst255Entries) {
    // The transparent entry becomes the S16 magenta word, not its own colour.
    EXPECT_EQ(ShpColourWord(159), 0xF81F);
    EXPECT_EQ(ShpColourWord(255), 0xFBEF);
    EXPECT_EQ(NearestShpColour(255, 255, 255), 255);
    EXPECT_EQ(NearestShpColour(254, 255, 255), 232);
    EXPECT_EQ(NearestShpColour(248, 228, 216), 159);
    EXPECT_EQ(NearestShpColour(248, 220, 220), 159);     // the S16 key colour
    EXPECT_EQ(NearestShpColour(0xF0, 0xF0, 0xF0), 1);    // 1 and 231 are equal: the lower wins
    EXPECT_NE(NearestShpColour(0xFC, 0x7C, 0x7C), 255);  // entry 255's own colour finds another
}
