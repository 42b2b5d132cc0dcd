#include "files/U_HexDump.h"

#include "model/U_Format.h"

std::string DumpColumnLabel(int column)
{
    return HexText(column, 2);
}

std::string DumpRowLabel(int row)
{
    return HexText(row - 1, 4) + "0h";
}

std::string DumpCell(const TMap& image, int address)
{
    return Lowered(HexText(image[address], 2));
}

std::string DumpCellAt(const TMap& image, int row, int column)
{
    const int address = (row - 1) * DumpColumns + column - 1;
    return address >= 0 && address < ImageSize ? DumpCell(image, address) : std::string();
}
