#pragma once
#include "model/U_Prompt.h"
#include "model/dc_RKmem.h"

#include <string>

// Checks made before the radio is touched, shared by the main window and
// the command-line tool.

// Phase of the US narrow-band rule by a date written "YYYYMMDD": 2 from
// 2013-01-01, 1 from 2011-01-01, 0 before.
int FccPhaseOf(const std::string& yyyymmdd);

// A wide channel (used or not) with its Rx or Tx frequency in 150..174 or
// 421..512 MHz, both ends included.
bool HasWideNarrowBandChannel(const TRKmem& doc);

// Before a download of a US-market document: 0 download unchanged,
// 1 convert then download, 2 convert and do not download, and
// NarrowBandDismissed (Esc or the close box on the question) neither convert
// nor download. The question goes through `prompt` (caption "Download").
constexpr int NarrowBandDismissed = 3;
int NarrowBandCheck(const TRKmem& doc, int fccPhase, TPrompt& prompt);

// Makes every such wide channel narrow; true when one changed.
bool ConvertToNarrowBand(TRKmem& doc);

namespace NarrowBandMessages {
extern const char* const Caption;
extern const char* const Phase1;
extern const char* const Phase2;
}

// The manufacture password check: blanks around the typed text and letter
// case do not count.
bool IsManufacturePassword(const std::string& typed);
