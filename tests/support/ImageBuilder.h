#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Images written out by hand, byte by byte, from the layout tables: the
// expectations the encoder is measured against.
std::vector<uint8_t> HexBytes(const std::string& hex);

// The image of a new VHF document (File > New), with `baseName` (up to 8
// bytes) at 112..119 and both checksums in place.
std::vector<uint8_t> ExpectedDefaultImage(const std::string& baseName = "");
// The same for a new document changed to UHF by the Hardware dialog.
std::vector<uint8_t> ExpectedUhfImage(const std::string& baseName = "");
void StoreChecksums(std::vector<uint8_t>& image);
