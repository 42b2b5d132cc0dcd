#include "codec/dc_Map.h"

#include <gtest/gtest.h>

TEST(TMap, SignedAndUnsignedFlags)
{
    TMap map;
    map[209] = 0x80;
    EXPECT_EQ(map.ReadSigned(Bit(209, 7)), -1);
    EXPECT_EQ(map.ReadUnsigned(Bit(209, 7)), 1u);
    map[10] = 0x80;
    map[11] = 0x00;
    EXPECT_EQ(map.ReadSigned(Bytes(10, 2)), -32768);
    map[12] = 0xFF;
    EXPECT_EQ(map.ReadSigned(Bits(12, 6, 0)), 127);  // not starting at bit 7: unsigned
}

TEST(TMap, WritingAFieldKeepsTheOtherBits)
{
    TMap map;
    map[209] = 0x81;
    map.WriteUnsigned(Bit(209, 6), 3);  // only the low bit of 3 fits
    EXPECT_EQ(map[209], 0xC1);
    map.WriteUnsigned(Bits(209, 6, 5), 0);
    EXPECT_EQ(map[209], 0x81);
    map.WriteUnsigned(Bytes(124, 2), 600);
    EXPECT_EQ(map[124], 0x02);
    EXPECT_EQ(map[125], 0x58);
    EXPECT_EQ(map.ReadUnsigned(Bytes(124, 2)), 600u);
    // A field across a byte boundary: low 4 bits of 30, high 4 of 31.
    const TFieldDesc across {30, 3, 31, 4};
    map[30] = 0xA0;
    map[31] = 0x05;
    map.WriteUnsigned(across, 0xBC);
    EXPECT_EQ(map[30], 0xAB);
    EXPECT_EQ(map[31], 0xC5);
    EXPECT_EQ(map.ReadUnsigned(across), 0xBCu);
}

TEST(TMap, BcdDigits)
{
    TMap map;
    map[2] = 0x45;
    map[3] = 0x0F;
    EXPECT_EQ(map.ReadBcd(Bytes(2, 2)), "450");
    map[2] = 0x99;
    map[3] = 0x99;
    map.WriteBcd(Bytes(2, 2), "12");  // nibbles past the text keep their value
    EXPECT_EQ(map[2], 0x12);
    EXPECT_EQ(map[3], 0x99);
    map.WriteBcd(Bytes(2, 1), "1234");  // digits past the field are dropped
    EXPECT_EQ(map[2], 0x12);
    EXPECT_EQ(map[3], 0x99);
}

// Texts, arrays, fills and sums as the layout uses them are held byte for
// byte by the encoding tests and the decode corpus; these are the cases no
// field of the layout reaches.
TEST(TMap, CasesTheLayoutDoesNotReach)
{
    TMap map;
    map.WriteText(Bytes(112, 8), "Abcdefg\xC3");  // a UTF-8 lead byte cut off at the end
    EXPECT_EQ(map.ReadTextMbcs(Bytes(112, 8)), "Abcdefg ");
    std::vector<int> bits(16, 0);
    bits[9] = 5;  // any nonzero entry sets its bit
    map.WriteBits(Bytes(214, 2), bits, 16);
    EXPECT_EQ(map[215], 0x40);
}

TEST(TMap, FieldsOutsideTheImageAreRefused)
{
    TMap map;
    EXPECT_THROW(map.ReadUnsigned(Bytes(1985, 2)), std::out_of_range);
    EXPECT_THROW(map.WriteText(Bytes(1980, 10), "x"), std::out_of_range);
    EXPECT_THROW(map[1986], std::out_of_range);
}
