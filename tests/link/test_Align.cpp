// The alignment link's frames built from the image and the values it reads
// from typed texts. The exchanges with the simulated repeater are the
// alignment window's tests and rk54 align's.
#include "support/LinkTestKit.h"
#include "link/U_RadioAlig.h"

#include <gtest/gtest.h>

// The list is not in numeric order (250.3 comes before 159.8); the first and
// last codes and an unknown tone are in the frames below.
TEST(AlignCodes, ToneAndCodeTextsByListPosition)
{
    const struct {
        const char* Text;
        int Ctcss;
        int Dcs;
    } cases[] = {
        {" 250.3 ", 39, 0}, {"159.8", 40, 0}, {"254.1", 47, 0}, {" 025", 0, 129}, {"024", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Align::CtcssCode(c.Text), c.Ctcss) << c.Text;
        EXPECT_EQ(Align::DcsCode(c.Text), c.Dcs) << c.Text;
    }
}

// Every value byte is its own address in the image, so each frame shows
// which bytes the point, the encoder, the power and the bandwidth pick.
TEST(AlignFrames, CarryThePointsBytes)
{
    // Point 2: Rx 4 5 11 14 15 17; Tx frequency 26 27, low power 43, narrow
    // deviation 47, CTCSS 100.0 is code 13, narrow CTCSS deviation 49.
    const TBytes rx = {4, 5, 11, 14, 15, 17};
    const TBytes tx = {26, 27, 43, 47, 13, 49};
    const struct {
        int Point, Mode, Encoder, Power, Bandwidth;
        const char* Ctcss;
        const char* Dcs;
        int Kind;
        TBytes Frame;
    } cases[] = {
        {2, 1, 1, 1, 1, "100.0", "", akRxOn, WithSum(Joined({{0xB1, 0x00, 0x0A, 'R', 'R'}, rx, {'N'}}))},
        {2, 1, 1, 1, 1, "100.0", "", akTxOn, WithSum(Joined({{0xB1, 0x00, 0x0A, 'T', 'R'}, tx, {'N'}}))},
        {2, 1, 1, 1, 1, "100.0", "", akTrxOn, WithSum(Joined({{0xB1, 0x00, 0x10, 'T', 'R'}, tx, rx, {'N'}}))},
        {2, 1, 1, 1, 1, "100.0", "", akRxOff, {0xB1, 0x00, 0x02, 0x72, 0x25}},
        {2, 1, 1, 1, 1, "100.0", "", akTxOff, {0xB1, 0x00, 0x02, 0x74, 0x27}},
        {2, 1, 1, 1, 1, "100.0", "", akTrxOff, {0xB1, 0x00, 0x02, 0x74, 0x27}},
        // The transmitter block by encoder, power and bandwidth.
        {3, 0, 0, 0, 0, "67.0", "023", akTxOn, WithSum({0xB1, 0x00, 0x0A, 'T', 'B', 24, 25, 32, 36, 0, 0, 'W'})},
        {0, 0, 1, 0, 0, "67.0", "023", akTxOn, WithSum({0xB1, 0x00, 0x0A, 'T', 'B', 30, 31, 62, 66, 1, 68, 'W'})},
        // 67.1 is not in the list.
        {0, 0, 1, 1, 1, "67.1", "023", akTxOn, WithSum({0xB1, 0x00, 0x0A, 'T', 'B', 30, 31, 63, 67, 0, 69, 'N'})},
        {1, 0, 2, 0, 0, "67.0", "754", akTxOn, WithSum({0xB1, 0x00, 0x0A, 'T', 'B', 28, 29, 52, 56, 231, 60, 'W'})},
        {1, 0, 2, 1, 1, "67.0", "023", akTxOn, WithSum({0xB1, 0x00, 0x0A, 'T', 'B', 28, 29, 53, 57, 128, 61, 'N'})},
    };
    TMap54 image;
    for (int a = 0; a < 72; ++a)
        image[a] = uint8_t(a);
    for (const auto& c : cases) {
        TAlignSettings s;
        s.Point = c.Point;
        s.Mode = c.Mode;
        s.EncoderType = c.Encoder;
        s.PowerType = c.Power;
        s.Bandwidth = c.Bandwidth;
        s.CtcssCode = c.Ctcss;
        s.DcsCode = c.Dcs;
        EXPECT_EQ(Bytes(Align::CommandFrame(image, s, c.Kind)), c.Frame) << "point " << c.Point << " kind " << c.Kind;
    }
}

// rk54 align reads typed values as the window's fields do.
TEST(AlignValues, TypedTextsReadAsTheWindowReadsThem)
{
    const struct {
        const char* Text;
        int Level;
        double Frequency;
    } cases[] = {
        {"300", 255, 300.0}, {"1000", 255, 999.9}, {"abc", 0, 0},       {"-5", 0, 0},   {"150.45", 0, 150.5},
        {"12,46", 0, 12.5},  {"1.2.3", 0, 0},      {" 151.5 ", 0, 151.5}, {"007", 7, 7.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Align::LevelOf(c.Text), c.Level) << c.Text;
        EXPECT_EQ(Align::FrequencyOf(c.Text), c.Frequency) << c.Text;
    }
}
