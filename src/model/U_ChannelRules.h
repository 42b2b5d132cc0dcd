#pragma once
#include "model/dc_RKmem.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// What the channel grid's cells mean, without widgets: the columns, a row of
// cell texts made from a channel and read back, and every rule that edits a
// row (stepping, the in-place editors' normalisation, the cell rules, paste).
// The grid copies a row's texts out, runs a rule and copies them back, so
// everything here is plain text and can be tested as such.

constexpr int GridColumnCount = 28;
constexpr int FirstTxColumn = 16;

enum TGridColumn {
    gcCh = 1, gcRxFreq = 2, gcDecCtcss = 3, gcDecDcs = 4, gcClockShift = 6, gcNsqMode = 7,
    gcNsqLevel = 8, gcMultiTone = 13, gcCwIdAniEni = 14, gcTxFreq = 16, gcEncCtcss = 17, gcEncDcs = 18,
};

enum TEditKind { ekNone = 0, ekList = 2, ekDialog = 3, ekLevel = 13, ekFreq = 52 };
enum TDialogList { dlCtcss = 101, dlDcs = 102, dlMultiTone = 103 };

struct TColumnDef {
    const char* Header0;
    const char* Header1;
    int Width;
    int EditKind;
    int Param;             // value list, dialog list code or maximum text length
    int List;              // the value list the cell text comes from, -1 for none
    int TChannel::*Field;  // the channel field shown through List
};
extern const std::array<TColumnDef, GridColumnCount> GridColumns;

using TRowTexts = std::array<std::string, GridColumnCount>;

// The texts of one grid row (column 0 left empty: the grid writes it once).
TRowTexts FillRow(const TChannel& channel, int channelIndex, int chStep);
// The transmit cells 16..27: "Tx Inh" and "---" while inhibited.
void FillTxSide(TRowTexts& row, const TChannel& channel, int chStep);
// Row texts back into the channel; the transmit side only when not inhibited.
void StoreRow(const TRowTexts& row, TChannel& channel);

// The texts a tone column offers: 101 the CTCSS tones, 102 the DCS codes,
// each with its leading "off".
const std::vector<std::string>& ToneTexts(int listCode);

// Nothing but the used-flag toggle acts on a switched-off channel, and
// nothing on the transmit side of an inhibited one.
bool CellEditable(const TChannel& channel, int column);

// Double-click or Space on a value-list column: the next text, wrapping; a
// text not in the list becomes the first.
std::string NextListText(int list, const std::string& text);
// Column 14 steps only to what the document's signalling switches allow.
std::string NextCwIdAniEniText(const std::string& text, const TRKmem& doc);

// Space on "Tx Freq": keeps the transmit cells' values in the channel while
// inhibited and shows them again when cleared.
void ToggleTxInhibit(TRowTexts& row, TChannel& channel, int chStep);

// The dependencies between the cells of a row, after `column` changed.
void ApplyCellRules(TRowTexts& row, TChannel& channel, int column, const TRKmem& doc);

// Characters the in-place editors take: the frequency editor digits, '.',
// ',' and the blank; the level editor digits.
bool EditorAccepts(int editKind, char ch);
std::string EditorChars(int editKind, const std::string& text);
// What an editor starts with for a cell's text.
std::string EditorStartText(const std::string& cellText);

// A frequency cell's text from what was typed or pasted: read with either
// decimal mark, snapped to the channel step, limited to the side's alignment
// range ("Lowest" .. "Highest"), "%3.5f".
std::string NormaliseFrequency(const std::string& text, int column, const TRKmem& doc);
// A squelch level: the trimmed text when it is all digits, else empty.
std::string NormaliseLevel(const std::string& text);
// A level value as the cell shows it, limited to 0..255.
std::string LevelText(long long value);
// The value of a text of digits (NormaliseLevel), limited to 0..255.
int LevelValue(const std::string& digits);
constexpr int MaxLevel = 255;

// Whether a frequency text lies within the side's alignment range once
// snapped (NormaliseFrequency would not have to move it there).
bool FrequencyWithinLimits(const std::string& text, int column, const TRKmem& doc);

// The cell text `clip` gives in `column` by the paste rules (normalised,
// clamped), or nothing when the column cannot take it.
std::optional<std::string> CellTextFor(int column, const std::string& clip, const TRKmem& doc);
// The cell text a paste of `clip` gives on a cell showing `current`, or
// nothing when the paste changes nothing (invalid text, same text, a
// column that takes no paste). No editor is open.
std::optional<std::string> PastedCellText(int column, const std::string& clip, const std::string& current,
                                          const TRKmem& doc);
// The text a paste puts in place of an open editor's selection: the
// characters the editor takes, cut to the room left.
std::string PastedEditorText(int editKind, const std::string& clip, int maxLength, int textLength,
                             int selectedLength);

// Undo and redo of the document: whole snapshots, one per grid gesture or
// dialog that changed it.
class TDocHistory {
public:
    static constexpr size_t Depth = 100;

    // Forgets every step; `current` is where the next step starts from.
    void Reset(const TRKmem& current);
    // After a change: one step when the document differs from the last
    // recorded state. True when a step was added.
    bool Record(const TRKmem& current);
    // Whether `current` is the last recorded state.
    bool At(const TRKmem& current) const { return current == FLast; }
    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    // `current` becomes the state before (after) the last undone step.
    bool Undo(TRKmem& current);
    bool Redo(TRKmem& current);

private:
    std::vector<TRKmem> FUndo;
    std::vector<TRKmem> FRedo;
    TRKmem FLast;
};
