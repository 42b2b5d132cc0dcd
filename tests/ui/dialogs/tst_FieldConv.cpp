// The text conversions every typed field goes through.
#include "ui/dialogs/U_FieldConv.h"

#include <gtest/gtest.h>

namespace {

const TFieldConv MHz {.Class = TEditClass::Decimal, .MaxLength = 5, .Reading = TReading::Decimal,
                      .Suffix = " MHz", .Min = 0, .Max = 99.99, .Decimals = 2, .Factor = 0.01};
const TFieldConv Delay {.Class = TEditClass::Digits, .Reading = TReading::Unsigned, .Suffix = " ms",
                        .Min = 20, .Max = 1275, .Step = 5, .Fallback = 20, .Factor = 5};

TEST(FieldConv, FixedTextRoundsTheDecimalDigitsHalfAwayFromZero)
{
    struct Case { double Value; int Decimals; const char* Text; };
    const Case cases[] = {
        {9.999, 2, "10.00"}, {1.005, 2, "1.01"}, {0.125, 2, "0.13"}, {2.5, 0, "3"},
        {-0.004, 2, "0.00"}, {-1.25, 1, "-1.3"}, {999.95, 1, "1000.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixedText(c.Value, c.Decimals), c.Text) << c.Value;
}

TEST(FieldConv, CommitReadsClampsAndRoundsDownToTheStep)
{
    struct Case { const TFieldConv* Conv; const char* Typed; const char* Shown; };
    const Case cases[] = {
        // What the dialog tests do not type: blanks, signs, units, steps of 5.
        {&MHz, " 5 ", "5.00 MHz"}, {&MHz, "-5", "0.00 MHz"}, {&MHz, "21.40 MHz", "21.40 MHz"},
        {&MHz, "1.2.3", "0.00 MHz"}, {&Delay, "3", "20 ms"}, {&Delay, "1300", "1275 ms"},
        {&Delay, "1274", "1270 ms"}, {&Delay, "", "20 ms"}, {&Delay, "99999999999", "20 ms"},
        // The shared kinds the dialogs and the alignment window use.
        {&HexCodeField, "ab", "00AB"}, {&AlignFreqField, "1234", "999.9"}, {&LevelField, "300", "255"},
        {&DisplayLevelField, "150", "99"}, {&PowerOffsetField, "5-", "0"}, {&PowerOffsetField, "+5", "5"},
        {&PowerOffsetField, "-200", "-128"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommitText(*c.Conv, c.Typed), c.Shown) << c.Typed;
}

TEST(FieldConv, StoredUnitsComeFromTheShownValue)
{
    EXPECT_EQ(StoredInteger(StoreValue(Delay, 1270)), 254);
    EXPECT_EQ(StoredInteger(-2.7), -2);
}

TEST(FieldConv, EachEditingClassFiltersTheCharactersTyped)
{
    struct Case { TEditClass Class; const char* Accepted; const char* Refused; };
    const Case cases[] = {
        {TEditClass::Digits, "0123456789\b", "+-.,aA "},
        {TEditClass::Decimal, "0123456789.,\b", "+-aE "},
        {TEditClass::Signed, "0123456789+-\b", ".,a "},
        {TEditClass::Hex, "0123456789ABCDEFabcdef\b", "gG+- ."},
        {TEditClass::Printable, " !~aZ09\b", "\x7f\x1f\t"},
        {TEditClass::Tag, " %/:@[_09AZaz\b", "!\"#$`{~\x7f"},
    };
    for (const Case& c : cases) {
        for (const char* p = c.Accepted; *p; ++p)
            EXPECT_NE(FilterChar(c.Class, *p), 0) << int(c.Class) << " refused " << *p;
        for (const char* p = c.Refused; *p; ++p)
            EXPECT_EQ(FilterChar(c.Class, *p), 0) << int(c.Class) << " accepted " << *p;
    }
}

} // namespace
