#include <gtest/gtest.h>

#include "support/ByteIo.h"

TEST(ByteIo, ReadsLittleEndianFieldsAndKeepsItsErrorFlag) {
    const std::vector<std::uint8_t> bytes{0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFF};
    ByteReader in(bytes);
    EXPECT_EQ(in.U16(), 0x1234);
    EXPECT_EQ(in.U32(), 0x12345678u);
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(in.U16(), 0);  // only one byte left
    EXPECT_FALSE(in.Ok());
    EXPECT_EQ(in.U8(), 0);  // sticky even though a byte remains
    EXPECT_EQ(in.I16(), 0);
}

TEST(ByteIo, WritesWhatItReads) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.I32(-2);
    w.U16(0xF81F);
    w.Zeros(2);
    ASSERT_EQ(out.size(), 8u);
    ByteReader in(out);
    EXPECT_EQ(in.I32(), -2);
    EXPECT_EQ(in.U16(), 0xF81F);
    EXPECT_EQ(in.U16(), 0);
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(in.Remaining(), 0u);
}
