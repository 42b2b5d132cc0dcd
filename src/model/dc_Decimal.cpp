#include "model/dc_Decimal.h"

#include <charconv>

bool TDecimal::Equals(const TDecimal& other) const
{
    return Sign == other.Sign && IntPart == other.IntPart && FracPart == other.FracPart
        && FracDigits == other.FracDigits;
}

void TDecimal::SetFromFloat(double x)
{
    Sign = 1;
    IntPart = 0;
    FracPart = 0;
    FracDigits = 0;
    if (x == 0 || x != x) // zero, negative zero and NaN all give +0
        return;
    if (x < 0)
        Sign = -1;

    // Shortest general text with at most 15 significant digits. to_chars
    // never looks at the locale, so the mark is always '.'.
    const double magnitude = x < 0 ? -x : x;
    char text[400]; // room for any double in fixed notation
    auto result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::general, 15);
    std::string s(text, result.ptr);
    if (s.find_first_of("eE") != std::string::npos) {
        // Far outside the frequency range exponents would appear; spell
        // the number out instead, without trailing zeros.
        result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::fixed, 15);
        s.assign(text, result.ptr);
        if (s.find('.') != std::string::npos) {
            while (s.back() == '0')
                s.pop_back();
            if (s.back() == '.')
                s.pop_back();
        }
        if (s.size() > 18 && s.find('.') > 18)
            s = "0"; // beyond any int64 integer part: no meaningful frequency
    }
    const auto dot = s.find('.');
    const std::string intText = s.substr(0, dot);
    std::from_chars(intText.data(), intText.data() + intText.size(), IntPart);
    if (dot != std::string::npos) {
        std::string frac = s.substr(dot + 1);
        if (frac.size() > 18) // keeps FracPart inside 64 bits
            frac.resize(18);
        FracDigits = static_cast<int>(frac.size());
        std::from_chars(frac.data(), frac.data() + frac.size(), FracPart);
    }
    if (IntPart < 0)
        IntPart = -IntPart;
}

std::string TDecimal::Text() const
{
    std::string s = Sign < 0 ? "-" : "";
    s += std::to_string(IntPart);
    if (FracDigits > 0) {
        std::string frac = std::to_string(FracPart);
        if (static_cast<int>(frac.size()) < FracDigits)
            frac.insert(0, FracDigits - frac.size(), '0');
        s += '.';
        s += frac;
    }
    return s;
}

double TDecimal::ToFloat() const
{
    // Reading the digits back as text gives exactly the double that the
    // text denotes, which plain arithmetic would not.
    const std::string s = Text();
    double value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

int64_t TDecimal::TruncatedTo(int fractionDigits) const
{
    std::string frac = FracDigits > 0 ? std::to_string(FracPart) : std::string();
    if (static_cast<int>(frac.size()) < FracDigits)
        frac.insert(0, FracDigits - frac.size(), '0');
    frac.resize(fractionDigits, '0');
    int64_t value = IntPart;
    for (char c : frac)
        value = value * 10 + (c - '0');
    return value;
}
