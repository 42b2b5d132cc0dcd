#pragma once
#include <cstdint>
#include <string>

// An exact decimal number. Every frequency in the document is held this way
// so that the digits a person typed (or the repeater stored) survive a round
// trip through the image without floating-point drift.
struct TDecimal {
    int Sign = 1;            // +1 or -1
    int64_t IntPart = 0;     // never negative
    int64_t FracPart = 0;    // the fraction digits read as an integer
    int FracDigits = 0;      // keeps the fraction's leading zeros

    void Assign(const TDecimal& source) { *this = source; }
    // All four fields: 450.1 and 450.10 are different values.
    bool Equals(const TDecimal& other) const;
    bool operator==(const TDecimal& other) const { return Equals(other); }

    void SetFromFloat(double x);
    double ToFloat() const;

    // The value as decimal text with '.' as the mark: 450.0625, 161, -0.5.
    std::string Text() const;
    // Frequency truncated to whole kHz (IntPart * 1000 + first three
    // fraction digits) and to 100 kHz units (IntPart * 10 + first digit).
    int64_t TruncatedTo(int fractionDigits) const;
};
