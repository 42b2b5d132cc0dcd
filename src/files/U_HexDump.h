#pragma once
#include "codec/dc_Map.h"

#include <string>

// The raw data viewer's texts: 16 bytes a row, 125 rows for the 1986 bytes.
constexpr int DumpColumns = 16;
constexpr int DumpRows = (ImageSize + DumpColumns - 1) / DumpColumns;

// "00".."0F" above the columns.
std::string DumpColumnLabel(int column);
// "00000h", "00010h", ... for data rows 1..125.
std::string DumpRowLabel(int row);
// Image byte `address` as two lower-case hex digits.
std::string DumpCell(const TMap& image, int address);
// Data row `row` (1..125), column `column` (1..16): the cell text, empty past the image.
std::string DumpCellAt(const TMap& image, int row, int column);
