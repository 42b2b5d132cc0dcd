#include "codec/dc_Map.h"

#include <gtest/gtest.h>

TEST(TMap, SignedAndUnsignedFlags)
{
    TMap map;
    map[209] = 0x80;
    EXPECT_EQ(map.ReadSigned(Bit(209, 7)), -1);
    EXPECT_EQ(map.ReadUnsigned(Bit(209, 7)), 1u);
    map[10] = 0xF0;
    EXPECT_EQ(map.ReadSigned(Bits(10, 7, 4)), -1);
    map[10] = 0x80;
    EXPECT_EQ(map.ReadSigned(Bytes(10)), -128);
    map[11] = 0x00;
    EXPECT_EQ(map.ReadSigned(Bytes(10, 2)), -32768);
    EXPECT_EQ(map.ReadSigned(Bits(10, 6, 0)), 0);     // not starting at bit 7: unsigned
    map[12] = 0xFF;
    EXPECT_EQ(map.ReadSigned(Bits(12, 6, 0)), 127);
}

TEST(TMap, WritingAFieldKeepsTheOtherBits)
{
    TMap map;
    map[209] = 0x81;
    map.WriteUnsigned(Bit(209, 6), 3);  // only the low bit of 3 fits
    EXPECT_EQ(map[209], 0xC1);
    map.WriteUnsigned(Bits(209, 6, 5), 0);
    EXPECT_EQ(map[209], 0x81);
    map.WriteSigned(Bit(209, 7), -1);
    EXPECT_EQ(map[209], 0x81);
    map.WriteSigned(Bytes(96), -1);
    EXPECT_EQ(map[96], 0xFF);
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
    map[2] = map[3] = 0xFF;
    EXPECT_EQ(map.ReadBcd(Bytes(2, 2)), "");
    map[2] = 0x99;
    map[3] = 0x99;
    map.WriteBcd(Bytes(2, 2), "12");  // nibbles past the text keep their value
    EXPECT_EQ(map[2], 0x12);
    EXPECT_EQ(map[3], 0x99);
    map.WriteBcd(Bytes(2, 1), "1234");  // digits past the field are dropped
    EXPECT_EQ(map[2], 0x12);
    EXPECT_EQ(map[3], 0x99);
    map[10] = 0x45;
    map[11] = 0xF0;
    map[12] = 0x12;
    EXPECT_EQ(map.ReadBcd(Bytes(10, 3)), "45012");
}

TEST(TMap, HexDigitBytes)
{
    TMap map;
    map.WriteHexDigits(Bytes(188, 4), "1a");
    EXPECT_EQ(map[188], 0x01);
    EXPECT_EQ(map[189], 0x00);
    EXPECT_EQ(map[190], 0x00);
    EXPECT_EQ(map[191], 0x00);
    map.WriteHexDigits(Bytes(188, 4), "9AFB");
    EXPECT_EQ(map.ReadHexDigits(Bytes(188, 4)), "9AFB");
    map[189] = 0x20;  // not a digit: skipped
    EXPECT_EQ(map.ReadHexDigits(Bytes(188, 4)), "9FB");
}

TEST(TMap, Texts)
{
    TMap map;
    map.WriteText(Bytes(72, 8), "ABCDEFGHIJ");
    EXPECT_EQ(map.ReadTextRaw(Bytes(72, 8)), "ABCDEFGH");
    map.WriteText(Bytes(72, 8), "AB");
    EXPECT_EQ(map[74], 0x00);
    EXPECT_EQ(map[79], 0x00);
    EXPECT_EQ(map.ReadTextRaw(Bytes(72, 8)), "AB      ");
    EXPECT_EQ(map.ReadText(Bytes(72, 8)), "AB");
    map[72] = 0x7F;
    map[73] = 0xC3;
    EXPECT_EQ(map.ReadTextRaw(Bytes(72, 2)), "  ");

    // UTF-8 sequences survive the multi-byte aware read; broken ones do not.
    map.WriteText(Bytes(112, 8), "Z\xC3\xBCrich");
    EXPECT_EQ(map.ReadTextMbcs(Bytes(112, 8)), "Z\xC3\xBCrich ");
    map.WriteText(Bytes(112, 8), "Abcdefg\xC3");  // a lead byte cut off at the end
    EXPECT_EQ(map.ReadTextMbcs(Bytes(112, 8)), "Abcdefg ");
}

TEST(TMap, BitsArraysFillAndChecksum)
{
    TMap map;
    std::vector<int> bits(16, 0);
    bits[0] = 1;
    bits[9] = 5;  // any nonzero entry sets its bit
    map.WriteBits(Bytes(214, 2), bits, 16);
    EXPECT_EQ(map[214], 0x80);
    EXPECT_EQ(map[215], 0x40);
    const auto read = map.ReadBits(Bytes(214, 2), 16);
    EXPECT_EQ(read[0], 1);
    EXPECT_EQ(read[9], 1);
    EXPECT_EQ(read[1], 0);

    map.WriteArray(Bytes(144, 2), false, {2400, 1060, 680}, 3);
    EXPECT_EQ(map[144], 0x09);
    EXPECT_EQ(map[145], 0x60);
    EXPECT_EQ(map[148], 0x02);
    EXPECT_EQ(map[149], 0xA8);
    EXPECT_EQ(map.ReadArray(Bytes(144, 2), false, 3), (std::vector<int> {2400, 1060, 680}));
    map.WriteArray(Bytes(96), true, {-1, 127, -128}, 3);
    EXPECT_EQ(map.ReadArray(Bytes(96), true, 3), (std::vector<int> {-1, 127, -128}));

    map.Fill(Bytes(1472, 512), 0x01);
    EXPECT_EQ(map[1471], 0x00);
    EXPECT_EQ(map[1472], 0x01);
    EXPECT_EQ(map[1983], 0x01);
    EXPECT_TRUE(map.ByteEquals(1983, 0x01));
    const uint8_t bytes[] = {0xFF, 0x02, 0x01};
    EXPECT_EQ(TMap::Checksum(bytes, 3), 0x02);
    EXPECT_EQ(TMap::Checksum(bytes, 1), 0xFF);
}

TEST(TMap, FieldsOutsideTheImageAreRefused)
{
    TMap map;
    EXPECT_THROW(map.ReadUnsigned(Bytes(1985, 2)), std::out_of_range);
    EXPECT_THROW(map.WriteText(Bytes(1980, 10), "x"), std::out_of_range);
    EXPECT_THROW(map.ReadBits(Bytes(1985, 2), 16), std::out_of_range);
    EXPECT_THROW(map[1986], std::out_of_range);
}
