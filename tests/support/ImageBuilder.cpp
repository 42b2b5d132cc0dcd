#include "support/ImageBuilder.h"

#include <cctype>

std::vector<uint8_t> HexBytes(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    std::string digits;
    for (char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

void StoreChecksums(std::vector<uint8_t>& image)
{
    unsigned a = 0;
    for (int i = 80; i <= 205; ++i)
        a += image[i];
    image[207] = static_cast<uint8_t>(a);
    unsigned b = 0;
    for (int i = 0; i <= 1455; ++i)
        b += image[i];
    image[1456] = static_cast<uint8_t>(b);
}

namespace {

std::vector<uint8_t> Image(const std::string& common, const std::string& channelTail,
                           const std::string& baseName)
{
    std::vector<uint8_t> image(1986, 0x00);
    const auto head = HexBytes(common);
    std::copy(head.begin(), head.end(), image.begin());
    for (std::size_t k = 0; k < baseName.size() && k < 8; ++k)
        image[112 + k] = static_cast<uint8_t>(baseName[k]);
    const auto tail = HexBytes(channelTail);
    for (int i = 0; i < 16; ++i) {
        const int r = 208 + 48 * i;
        const int number = i + 1;
        image[r] = static_cast<uint8_t>((i == 0 ? 0x00 : 0x80) | (number / 10) << 4 | number % 10);
        std::copy(tail.begin(), tail.end(), image.begin() + r + 1);
    }
    for (int t = 0; t < 48; ++t) {
        const int r = 976 + 10 * t;
        image[r] = image[r + 1] = 0xFF;
        for (int k = 2; k < 10; ++k)
            image[r + k] = '%';
    }
    for (int a = 1472; a <= 1983; ++a)
        image[a] = 0x01;
    image[1985] = 0x5A;
    StoreChecksums(image);
    return image;
}

// Bytes 96..207 are the same for both bands.
const char* const CommonTail =
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"   // 96  TxPowerAdjust
    "00 00 00 00 00 00 00 00 72 70 74 32 02 58 02 58"   // 112 name, "rpt", dot, interval, tone
    "30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30"   // 128 CW ID text
    "09 60 04 24 04 88 04 F6 05 78 05 FA 06 86 07 26"   // 144 5-tone table
    "07 D0 08 98 0A F0 03 2A 03 CA 03 75 0A 28 02 A8"
    "00 32 00 32 3C 18 02 02 02 05 0E 0A 00 00 00 00"   // 176 mark, space, ANI/ENI
    "00 00 00 00 00 00 00 00 00 00 00 00 0B 00 00 00";  // 192

} // namespace

std::vector<uint8_t> ExpectedDefaultImage(const std::string& baseName)
{
    const std::string common = std::string(
        "5A 6E 17 40 17 00 16 00 15 00 30 30 30 30 00 14"   // 0
        "DA BA 80 2C 80 16 00 00 17 40 17 00 16 00 15 00"   // 16
        "CC 4B 00 00 9E 92 BB AB AE A1 CB 4B 00 00 9F 93"   // 32 Tx blocks 3, 2
        "BA AA AE A2 C7 49 00 00 A0 94 B9 A9 AF A3 C1 49"   // 48 ... 1, 0
        "00 00 A1 95 B8 A8 B0 A4 31 32 33 34 35 36 37 38"   // 64 ... serial
        "32 FC 21 40 14 40 14 40 06 01 06 04 05 00 00 00")  // 80 flags, IF, refs, timers
        + CommonTail;
    // Channel record after byte 0: W, BaseTot/Guard + BCLO, repeat flags +
    // duplex, NSQ 48, 161.000 and 166.000 MHz.
    return Image(common, "40 E0 79 00 30 00 00 00 00 16 10 00 16 60 00", baseName);
}

std::vector<uint8_t> ExpectedUhfImage(const std::string& baseName)
{
    const std::string common = std::string(
        "5A 6E 48 00 47 00 46 00 45 00 3C 3C 3C 3C 00 0A"
        "CD 9A 66 33 80 16 00 00 48 00 47 00 46 00 45 00"
        "BD 3F 00 00 A3 97 AC 9E A0 93 B4 3C 00 00 A3 97"
        "AE 9F A1 94 AF 3B 00 00 A3 97 AE 9F A1 94 AD 3A"
        "00 00 A3 97 AF A0 A1 95 31 32 33 34 35 36 37 38"
        "B2 FC 73 75 14 40 14 40 06 01 06 04 05 00 00 00")  // band bit, IF 73.75
        + CommonTail;
    return Image(common, "40 E0 79 00 3C 00 00 00 00 45 00 00 45 50 00", baseName);
}
