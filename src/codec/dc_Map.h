#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int ImageSize = 1986;     // the whole clone image, 0x7C2 bytes
constexpr int CloneSize = 1456;     // the part the clone transfer moves

// A field of the image: from StartBit of StartByte down through the bytes in
// between to EndBit of EndByte. Bit 7 is the most significant bit.
struct TFieldDesc {
    uint16_t StartByte;
    uint16_t StartBit;
    uint16_t EndByte;
    uint16_t EndBit;

    int ByteLength() const { return EndByte - StartByte + 1; }
    TFieldDesc Moved(int bytes) const;
};

// Whole bytes from `start` for `length` bytes, and single bits.
constexpr TFieldDesc Bytes(int start, int length = 1)
{
    return {uint16_t(start), 7, uint16_t(start + length - 1), 0};
}
constexpr TFieldDesc Bits(int byte, int high, int low)
{
    return {uint16_t(byte), uint16_t(high), uint16_t(byte), uint16_t(low)};
}
constexpr TFieldDesc Bit(int byte, int bit) { return Bits(byte, bit, bit); }

// The clone image buffer and its field access. Descriptors outside the image
// raise std::out_of_range instead of touching memory that is not there.
class TMap {
public:
    using TImage = std::array<uint8_t, ImageSize>;

    TMap() { Image.fill(0); }
    virtual ~TMap() = default;

    void Clear() { Image.fill(0); }
    void CopyFrom(const TMap& other) { Image = other.Image; }

    uint8_t& operator[](int address) { return Image.at(address); }
    uint8_t operator[](int address) const { return Image.at(address); }
    const uint8_t* Data() const { return Image.data(); }
    uint8_t* Data() { return Image.data(); }
    const TImage& Content() const { return Image; }

    uint32_t ReadUnsigned(const TFieldDesc& d) const;
    int32_t ReadSigned(const TFieldDesc& d) const;
    void WriteUnsigned(const TFieldDesc& d, int64_t value);
    void WriteSigned(const TFieldDesc& d, int64_t value) { WriteUnsigned(d, value); }

    std::string ReadBcd(const TFieldDesc& d) const;
    void WriteBcd(const TFieldDesc& d, const std::string& digits);

    std::string ReadHexDigits(const TFieldDesc& d) const;
    void WriteHexDigits(const TFieldDesc& d, const std::string& text);

    std::string ReadText(const TFieldDesc& d) const;      // trailing spaces removed
    std::string ReadTextRaw(const TFieldDesc& d) const;   // as read
    std::string ReadTextMbcs(const TFieldDesc& d) const;  // as read, multi-byte aware
    void WriteText(const TFieldDesc& d, const std::string& text);

    std::vector<int> ReadBits(const TFieldDesc& d, int count) const;
    void WriteBits(const TFieldDesc& d, const std::vector<int>& values, int count);

    std::vector<int> ReadArray(const TFieldDesc& d, bool isSigned, int count) const;
    void WriteArray(const TFieldDesc& d, bool isSigned, const std::vector<int>& values, int count);

    void Fill(const TFieldDesc& d, uint8_t value);
    bool ByteEquals(int address, uint8_t value) const { return Image.at(address) == value; }
    // Sum of the first `count` bytes modulo 256.
    static uint8_t Checksum(const uint8_t* bytes, int count);

protected:
    TImage Image;
};
