#include "files/U_HexDump.h"
#include "codec/dc_Map54.h"

#include <gtest/gtest.h>

TEST(HexDump, LabelsAndCells)
{
    TMap54 image;
    TRKmem doc;
    TMap54::SetDefaults(doc);
    image.Encode(doc);
    EXPECT_EQ(DumpRows, 125);
    EXPECT_EQ(DumpColumnLabel(0), "00");
    EXPECT_EQ(DumpColumnLabel(15), "0F");
    EXPECT_EQ(DumpRowLabel(1), "00000h");
    EXPECT_EQ(DumpRowLabel(2), "00010h");
    EXPECT_EQ(DumpRowLabel(125), "007C0h");
    EXPECT_EQ(DumpCellAt(image, 1, 1), "5a");
    EXPECT_EQ(DumpCellAt(image, 125, 2), "5a");
    EXPECT_EQ(DumpCellAt(image, 125, 3), "");
    EXPECT_EQ(DumpCellAt(image, 1, 2), "6e");
    EXPECT_EQ(DumpCellAt(image, 6, 2), "fc");  // byte 81, lower case
    unsigned sum = 0;
    for (int a = 80; a <= 205; ++a)
        sum += image[a];
    char expected[3];
    std::snprintf(expected, sizeof expected, "%02x", sum & 0xFF);
    EXPECT_EQ(DumpCellAt(image, 13, 16), expected);  // checksum A at byte 207
}
