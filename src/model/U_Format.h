#pragma once
#include <cstdint>
#include <string>

// Number formatting as the program's formats mean it. Hexadecimal digits are
// upper case ("%x" of 0x1A is 1A); views that want lower case lower the text.

// Decimal with at least `digits` digits, zeros in front ("%4.4d", "%.2d").
std::string ZeroPadded(int64_t value, int digits);
// Upper-case hexadecimal with at least `digits` digits ("%x", "%2.2x").
std::string HexText(uint64_t value, int digits = 1);
std::string Lowered(std::string text);
// Without the blanks and control characters at either end.
std::string Trimmed(const std::string& text);
std::string Uppered(std::string text);
