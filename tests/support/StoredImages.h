#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The images of new documents, from the stored data files of the corpus
// (tests/corpus/new-vhf.R54 and new-uhf.R54, whose dumps beside them were
// read byte by byte against the image layout): the expectations the
// encoder, the data files and rk54 are measured against.

// The image of a new VHF document (File > New), with `baseName` (up to 8
// bytes) at 112..119 and both checksums in place.
std::vector<uint8_t> ExpectedDefaultImage(const std::string& baseName = "");
// The same for a new document changed to UHF by the Hardware dialog.
std::vector<uint8_t> ExpectedUhfImage(const std::string& baseName = "");
void StoreChecksums(std::vector<uint8_t>& image);
// A stored file of the corpus as it is, by name.
std::vector<uint8_t> StoredFile(const char* name);
