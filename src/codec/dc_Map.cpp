#include "codec/dc_Map.h"

#include <stdexcept>

namespace {

// Mask of the bits a field uses in byte `address`.
uint8_t FieldMask(const TFieldDesc& d, int address)
{
    uint8_t mask = 0xFF;
    if (address == d.StartByte)
        mask &= static_cast<uint8_t>((1u << (d.StartBit + 1)) - 1);
    if (address == d.EndByte)
        mask &= static_cast<uint8_t>(0xFFu << d.EndBit);
    return mask;
}

void CheckField(const TFieldDesc& d)
{
    if (d.EndByte >= ImageSize || d.StartByte > d.EndByte || d.StartBit > 7 || d.EndBit > 7
        || (d.StartByte == d.EndByte && d.StartBit < d.EndBit))
        throw std::out_of_range("image field outside the clone image");
}

// Integer fields are at most eight bytes, so that they fit one 64-bit word.
void CheckIntegerField(const TFieldDesc& d)
{
    CheckField(d);
    if (d.ByteLength() > 8)
        throw std::out_of_range("integer image field wider than 64 bits");
}

} // namespace

TFieldDesc TFieldDesc::Moved(int bytes) const
{
    return {uint16_t(StartByte + bytes), StartBit, uint16_t(EndByte + bytes), EndBit};
}

uint32_t TMap::ReadUnsigned(const TFieldDesc& d) const
{
    CheckIntegerField(d);
    uint64_t value = 0;
    for (int a = d.StartByte; a <= d.EndByte; ++a)
        value = (value << 8) | (Image[a] & FieldMask(d, a));
    return static_cast<uint32_t>(value >> d.EndBit);
}

int32_t TMap::ReadSigned(const TFieldDesc& d) const
{
    const uint32_t value = ReadUnsigned(d);
    // Only fields that start at the top bit of their first byte and span
    // one or two bytes carry a sign: their top bit is the sign bit.
    if (d.StartBit != 7 || d.ByteLength() > 2)
        return static_cast<int32_t>(value);
    const int width = d.ByteLength() * 8 - d.EndBit;
    if (value & (1u << (width - 1)))
        return static_cast<int32_t>(value) - (1 << width);
    return static_cast<int32_t>(value);
}

void TMap::WriteUnsigned(const TFieldDesc& d, int64_t value)
{
    CheckIntegerField(d);
    uint64_t bits = static_cast<uint64_t>(value) << d.EndBit;
    for (int a = d.EndByte; a >= d.StartByte; --a) {
        const uint8_t mask = FieldMask(d, a);
        Image[a] = static_cast<uint8_t>((Image[a] & ~mask) | (bits & mask));
        bits >>= 8;
    }
}

std::string TMap::ReadBcd(const TFieldDesc& d) const
{
    CheckField(d);
    std::string digits;
    for (int a = d.StartByte; a <= d.EndByte; ++a)
        for (int nibble : {Image[a] >> 4, Image[a] & 0x0F})
            if (nibble <= 9)
                digits += static_cast<char>('0' + nibble);
    return digits;
}

void TMap::WriteBcd(const TFieldDesc& d, const std::string& digits)
{
    CheckField(d);
    const std::size_t nibbles = static_cast<std::size_t>(d.ByteLength()) * 2;
    for (std::size_t k = 0; k < digits.size() && k < nibbles; ++k) {
        const char c = digits[k];
        const uint8_t nibble = c >= '0' && c <= '9' ? c - '0' : 0x0F;
        uint8_t& byte = Image[d.StartByte + k / 2];
        byte = k % 2 == 0 ? (byte & 0x0F) | (nibble << 4) : (byte & 0xF0) | nibble;
    }
}

std::string TMap::ReadHexDigits(const TFieldDesc& d) const
{
    CheckField(d);
    static const char Digits[] = "0123456789ABCDEF";
    std::string text;
    for (int a = d.StartByte; a <= d.EndByte; ++a)
        if (Image[a] <= 15)
            text += Digits[Image[a]];
    return text;
}

void TMap::WriteHexDigits(const TFieldDesc& d, const std::string& text)
{
    CheckField(d);
    for (int k = 0; k < d.ByteLength(); ++k) {
        const char c = k < static_cast<int>(text.size()) ? text[k] : '\0';
        uint8_t value = 0;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        Image[d.StartByte + k] = value;
    }
}

std::string TMap::ReadTextRaw(const TFieldDesc& d) const
{
    CheckField(d);
    std::string text;
    for (int a = d.StartByte; a <= d.EndByte; ++a) {
        const uint8_t b = Image[a];
        text += b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : ' ';
    }
    return text;
}

std::string TMap::ReadText(const TFieldDesc& d) const
{
    std::string text = ReadTextRaw(d);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string TMap::ReadTextMbcs(const TFieldDesc& d) const
{
    // Our counterpart of the double-byte code page: a complete UTF-8
    // sequence is kept as it is, so a file name written with accented
    // letters reads back the same. Anything else is read as plain text.
    CheckField(d);
    std::string text;
    for (int a = d.StartByte; a <= d.EndByte;) {
        const uint8_t b = Image[a];
        int length = 0;
        if (b >= 0xC2 && b <= 0xDF)
            length = 2;
        else if (b >= 0xE0 && b <= 0xEF)
            length = 3;
        else if (b >= 0xF0 && b <= 0xF4)
            length = 4;
        bool complete = length > 0 && a + length - 1 <= d.EndByte;
        for (int k = 1; complete && k < length; ++k)
            complete = (Image[a + k] & 0xC0) == 0x80;
        if (complete) {
            text.append(reinterpret_cast<const char*>(&Image[a]), length);
            a += length;
        } else {
            text += b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : ' ';
            ++a;
        }
    }
    return text;
}

void TMap::WriteText(const TFieldDesc& d, const std::string& text)
{
    CheckField(d);
    for (int k = 0; k < d.ByteLength(); ++k)
        Image[d.StartByte + k] = k < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[k]) : 0;
}

std::vector<int> TMap::ReadBits(const TFieldDesc& d, int count) const
{
    std::vector<int> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = (Image.at(d.StartByte + i / 8) >> (7 - i % 8)) & 1;
    return values;
}

void TMap::WriteBits(const TFieldDesc& d, const std::vector<int>& values, int count)
{
    for (int i = 0; i < count && i < static_cast<int>(values.size()); ++i) {
        uint8_t& byte = Image.at(d.StartByte + i / 8);
        const uint8_t bit = static_cast<uint8_t>(1u << (7 - i % 8));
        byte = values[i] ? byte | bit : byte & ~bit;
    }
}

std::vector<int> TMap::ReadArray(const TFieldDesc& d, bool isSigned, int count) const
{
    std::vector<int> values(count);
    for (int k = 0; k < count; ++k) {
        const TFieldDesc e = d.Moved(k * d.ByteLength());
        values[k] = isSigned ? ReadSigned(e) : static_cast<int>(ReadUnsigned(e));
    }
    return values;
}

void TMap::WriteArray(const TFieldDesc& d, bool isSigned, const std::vector<int>& values, int count)
{
    for (int k = 0; k < count && k < static_cast<int>(values.size()); ++k) {
        const TFieldDesc e = d.Moved(k * d.ByteLength());
        isSigned ? WriteSigned(e, values[k]) : WriteUnsigned(e, values[k]);
    }
}

void TMap::Fill(const TFieldDesc& d, uint8_t value)
{
    CheckField(d);
    for (int a = d.StartByte; a <= d.EndByte; ++a)
        Image[a] = value;
}

uint8_t TMap::Checksum(const uint8_t* bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum);
}
