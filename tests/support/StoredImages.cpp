#include "support/StoredImages.h"

#include <fstream>
#include <iterator>

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

std::vector<uint8_t> StoredFile(const char* name)
{
    std::ifstream in(std::string(RK54_CORPUS "/") + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

std::vector<uint8_t> Stored(const char* file, const std::string& baseName)
{
    std::vector<uint8_t> image = StoredFile(file);
    image.resize(1986);
    for (std::size_t k = 0; k < 8; ++k)
        image[112 + k] = k < baseName.size() ? static_cast<uint8_t>(baseName[k]) : 0x00;
    StoreChecksums(image);
    return image;
}

} // namespace

std::vector<uint8_t> ExpectedDefaultImage(const std::string& baseName)
{
    return Stored("new-vhf.R54", baseName);
}

std::vector<uint8_t> ExpectedUhfImage(const std::string& baseName)
{
    return Stored("new-uhf.R54", baseName);
}
