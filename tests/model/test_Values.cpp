#include "model/U_Values.h"
#include "model/dc_Decimal.h"

#include <gtest/gtest.h>

TEST(Frequencies, SnapToTheNearerStep)
{
    struct Case { int step; double mhz; double expected; };
    const Case cases[] = {
        {0, 450.006, 450.00625},   // 1000 Hz against 250 Hz
        {1, 146.0025, 146.0025},   // distance 0 against 3750
        {0, 145.005, 145.005},
        {0, 161.0031, 161.005},     // 1900 Hz against 3100 Hz
        {0, 999.999999, 999.995},   // never above 999.99999 MHz
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mhz);
        EXPECT_DOUBLE_EQ(SnapFrequency(c.step, c.mhz), c.expected);
    }
    // A tie (2500 Hz from 450.005 and from 450.0) goes to the 5 kHz raster.
    EXPECT_DOUBLE_EQ(SnapFrequency(0, 450.0025), 450.005);
}

TEST(Frequencies, Predicates)
{
    EXPECT_TRUE(NearMultipleOf4MHz(148.0249));
    EXPECT_FALSE(NearMultipleOf4MHz(148.025));
    EXPECT_TRUE(NearMultipleOf4MHz(147.975));
    EXPECT_FALSE(NearMultipleOf4MHz(147.9749));
    EXPECT_TRUE(FreqAbove(450.0001, 450.0));
    EXPECT_FALSE(FreqAbove(450.0, 450.0));
    EXPECT_TRUE(FreqWithin50kHz(450.0, 450.0499));
    EXPECT_FALSE(FreqWithin50kHz(450.0, 450.05));
    EXPECT_EQ(MHzToHz(148.025), 148025000);
}

TEST(TextHelpers, NumbersFromText)
{
    EXPECT_EQ(HexToInt("1f"), 31);
    EXPECT_EQ(HexToInt("1G"), 16);
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_DOUBLE_EQ(TextToFloat("450,125"), 450.125);
    EXPECT_DOUBLE_EQ(TextToFloat(" 450.125 "), 450.125);
    EXPECT_DOUBLE_EQ(TextToFloat("-2.5"), -2.5);
    EXPECT_DOUBLE_EQ(TextToFloat("12a"), 0);
    EXPECT_DOUBLE_EQ(TextToFloat("1e5"), 0);
    EXPECT_TRUE(IsNonNegativeInteger("0"));
    EXPECT_FALSE(IsNonNegativeInteger("-1"));
    EXPECT_FALSE(IsNonNegativeInteger(""));
    EXPECT_TRUE(IsInteger("-1"));
    EXPECT_FALSE(IsInteger("99999999999"));
    EXPECT_EQ(Trunc(-2.7), -2);
}
