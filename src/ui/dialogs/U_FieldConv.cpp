#include "ui/dialogs/U_FieldConv.h"

#include "model/U_Format.h"
#include "model/U_Values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// The part of the text before the unit, or all of it when the unit is absent.
std::string WithoutSuffix(const TFieldConv& conv, const std::string& text)
{
    if (!*conv.Suffix)
        return text;
    const auto at = text.find(conv.Suffix);
    return at == std::string::npos ? text : text.substr(0, at);
}

double ReadDecimal(const std::string& text)
{
    // Blanks count only around the number; TextToFloat refuses inner ones.
    if (text.find_first_not_of("0123456789., ") != std::string::npos)
        return 0;
    return TextToFloat(text);
}

double ReadInteger(const std::string& text, bool allowSign, double fallback)
{
    const bool valid = allowSign ? IsInteger(text) : IsNonNegativeInteger(text);
    return valid ? static_cast<double>(std::strtoll(text.c_str(), nullptr, 10)) : fallback;
}

} // namespace

const TFieldConv HexCodeField {.Class = TEditClass::Hex, .MaxLength = 4, .Reading = TReading::Hex};

const TFieldConv AlignFreqField {.Class = TEditClass::Decimal, .MaxLength = 5, .Reading = TReading::Decimal,
                                 .Min = 0, .Max = 999.9, .Decimals = 1};
const TFieldConv LevelField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                             .Min = 0, .Max = 255, .UpDown = true};
const TFieldConv DisplayLevelField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                                    .Min = 0, .Max = 99, .UpDown = true};
const TFieldConv PowerOffsetField {.Class = TEditClass::Signed, .MaxLength = 4, .Reading = TReading::Signed,
                                   .Min = -128, .Max = 127, .UpDown = true};

bool IsTagChar(char ch)
{
    return ch >= 32 && ch <= 95 && ch != '!' && ch != '"' && ch != '#' && ch != '$';
}

char FilterChar(TEditClass cls, char ch)
{
    if (ch == '\b')
        return ch;
    const bool digit = ch >= '0' && ch <= '9';
    switch (cls) {
    case TEditClass::Digits:
        return digit ? ch : 0;
    case TEditClass::Decimal:
        return digit || ch == '.' || ch == ',' ? ch : 0;
    case TEditClass::Signed:
        return digit || ch == '+' || ch == '-' ? ch : 0;
    case TEditClass::Hex:
        if (ch >= 'a' && ch <= 'f')
            return static_cast<char>(ch - 32);
        return digit || (ch >= 'A' && ch <= 'F') ? ch : 0;
    case TEditClass::Printable:
        return ch >= 32 && ch <= 126 ? ch : 0;
    case TEditClass::Tag: {
        const char up = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
        return IsTagChar(up) ? up : 0;
    }
    }
    return 0;
}

double ParseValue(const TFieldConv& conv, const std::string& text)
{
    const std::string t = WithoutSuffix(conv, text);
    double value = 0;
    switch (conv.Reading) {
    case TReading::Unsigned:
        value = ReadInteger(t, false, conv.Fallback);
        break;
    case TReading::Signed:
        value = ReadInteger(t, true, conv.Fallback);
        break;
    case TReading::Decimal:
        value = ReadDecimal(t);
        break;
    case TReading::Hex:
        return HexToInt(t);
    case TReading::Text:
        return 0;
    }
    if (conv.Kept && value == *conv.Kept)
        return value;
    value = std::clamp(value, conv.Min, conv.Max);
    if (conv.Step > 0)
        // The small allowance keeps 2.3 / 0.5 from landing just below 4.6.
        value = std::floor(value / conv.Step + 1e-9) * conv.Step;
    return value;
}

std::string FormatValue(const TFieldConv& conv, double value)
{
    if (conv.Reading == TReading::Hex)
        return HexText(static_cast<uint64_t>(std::max(0.0, value)), conv.MaxLength);
    return FixedText(value, conv.Decimals) + conv.Suffix;
}

std::string CommitText(const TFieldConv& conv, const std::string& text)
{
    if (conv.Reading == TReading::Text)
        return conv.TextRule ? conv.TextRule(text) : text;
    return FormatValue(conv, ParseValue(conv, text));
}

std::string BareText(const TFieldConv& conv, const std::string& text)
{
    switch (conv.Reading) {
    case TReading::Text:
    case TReading::Hex:
        return text;
    case TReading::Decimal:
        return ShortText(ParseValue(conv, text));
    default:
        return FixedText(ParseValue(conv, text), 0);
    }
}

double LoadValue(const TFieldConv& conv, double stored)
{
    return stored * conv.Factor;
}

double StoreValue(const TFieldConv& conv, double value)
{
    return value / conv.Factor;
}

std::string StoredText(const TFieldConv& conv, double stored)
{
    return FormatValue(conv, LoadValue(conv, stored));
}

long long StoredInteger(double value)
{
    const double nearest = std::round(value);
    return std::fabs(value - nearest) < 1e-6 ? static_cast<long long>(nearest) : Trunc(value);
}

std::string ShortText(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    std::string s(text, result.ptr);
    return s == "-0" ? "0" : s;
}

std::string FixedText(double value, int decimals)
{
    std::string s = ShortText(std::fabs(value));
    const bool negative = value < 0;
    auto mark = s.find('.');
    if (mark == std::string::npos) {
        mark = s.size();
        s += '.';
    }
    const size_t wanted = mark + 1 + decimals;
    const bool roundUp = s.size() > wanted && s[wanted] >= '5';
    s.resize(std::max(s.size(), wanted), '0');
    s.resize(wanted);
    if (roundUp) {
        // Carry from the last kept digit leftwards, skipping the mark.
        int i = static_cast<int>(s.size()) - 1;
        for (; i >= 0; --i) {
            if (s[i] == '.')
                continue;
            if (s[i] == '9') {
                s[i] = '0';
                continue;
            }
            ++s[i];
            break;
        }
        if (i < 0)
            s.insert(s.begin(), '1');
    }
    if (decimals == 0)
        s.pop_back();  // the mark
    const bool zero = s.find_first_not_of("0.") == std::string::npos;
    return negative && !zero ? "-" + s : s;
}
