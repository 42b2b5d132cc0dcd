#include "model/dc_RKmem.h"

#include <gtest/gtest.h>

namespace {

TDecimal Dec(double x)
{
    TDecimal d;
    d.SetFromFloat(x);
    return d;
}

} // namespace

TEST(TDecimal, SetFromFloatKeepsTheDigits)
{
    // The text shows the parts; the digit count is what Equals compares beside it.
    struct Case { double x; int fracDigits; const char* text; };
    const Case cases[] = {
        {450.0625, 4, "450.0625"},
        {-0.5, 1, "-0.5"},
        {-0.0, 0, "0"},
        {146.00625, 5, "146.00625"},
        {150.3, 1, "150.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TDecimal d = Dec(c.x);
        EXPECT_EQ(d.FracDigits, c.fracDigits);
        EXPECT_EQ(d.Text(), c.text);
        EXPECT_EQ(d.ToFloat(), c.x == 0 ? 0.0 : c.x);
    }
}

TEST(TDecimal, EqualityLooksAtEveryField)
{
    TDecimal a = Dec(450.1);
    TDecimal b = a;
    EXPECT_TRUE(a.Equals(b));
    b.FracPart = 10;
    b.FracDigits = 2; // 450.10: the same number, not the same value
    EXPECT_FALSE(a.Equals(b));
}
