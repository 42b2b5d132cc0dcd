#pragma once
#include "model/U_ChannelRules.h"
#include "model/dc_RKmem.h"

#include <string>
#include <vector>

// The 16 channels as a table of texts, for the channel CSV file and the
// grid's block clipboard. A table has the grid's columns plus the ones only
// a table needs: the channel's used flag and its 16 multi-tone slots (one
// column per side of a slot). Every text is what the grid shows; every text
// taken in goes through the grid's own cell rules.

constexpr int tcUsed = GridColumnCount;
constexpr int tcFirstSlot = GridColumnCount + 1;
constexpr int TableColumnCount = tcFirstSlot + 2 * ToneEntryCount;

// The caption of a table column: the grid's two heading lines joined ("Rx
// Freq", "Decoders CTCSS", "Clk Sft"), "Used", "Tone 1 Dec", "Tone 1 Enc"...
// Column 0 (the grid's frame) has none.
std::string TableCaption(int column);
// A column's text for a channel, as the grid shows it, without padding.
std::string TableText(const TChannel& channel, int channelIndex, int column, int chStep);

struct TCellText {
    int Channel = 0;  // 0..15
    int Column = 0;   // a table column
    std::string Text;
};

struct TCellProblem {
    int Channel = 0;
    int Column = 0;
    std::string Text;
    std::string Why;
};

// Takes the texts into the channels as the grid would take them, one cell
// after another in column order. A text that is what the cell already shows
// leaves the cell alone. On any problem nothing changes and every problem is
// returned. `switchedOffEditable` lets cells of a switched-off channel take
// values (a file states a whole channel); the grid's clipboard does not.
std::vector<TCellProblem> ApplyCellTexts(TChannels& channels, const TRKmem& doc, std::vector<TCellText> cells,
                                         bool switchedOffEditable);

// The channel CSV file: a header of captions, one row per channel, comma
// separated, CRLF line ends, fields quoted where they must be.
std::string WriteChannelsCsv(const TRKmem& doc);

struct TCsvImport {
    std::vector<std::string> UnknownColumns;  // named in a warning, ignored
    std::vector<std::string> Errors;          // "row R, column C, "value": why"
    bool Applied = false;                     // the document's channels were replaced
};
// Reads a CSV written by us or a spreadsheet (UTF-8 with or without a byte
// order mark; comma, semicolon or tab, detected from the header; columns in
// any order, missing ones leave their fields alone) into the document's
// channels. Nothing changes when there is any error.
TCsvImport ReadChannelsCsv(const std::string& text, TRKmem& doc);

// Tab-separated text of a rectangle of cells, rows by lines; and back.
std::string BlockText(const std::vector<std::vector<std::string>>& cells);
std::vector<std::vector<std::string>> ParseBlockText(const std::string& text);
