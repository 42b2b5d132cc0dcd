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

// The answer to the narrow-band question before a download.
enum class TNarrowBand {
    Unchanged = 0,           // not asked, or No before 2013: download as it is
    NarrowThenDownload = 1,  // Yes
    NarrowOnly = 2,          // No from 2013: the channels go narrow, nothing is sent
    Dismissed = 3,           // Esc or the close box: neither
};

// Asks the question of a US-market document with such channels, through
// `prompt` (caption "Download"), in the words of `fccPhase`.
TNarrowBand NarrowBandCheck(const TRKmem& doc, int fccPhase, TPrompt& prompt);

// Makes every such wide channel narrow; true when one changed.
bool ConvertToNarrowBand(TRKmem& doc);

// What a download starts from, decided the same for the window and rk54.
struct TDownloadStart {
    bool Download = true;    // go on and send the document
    bool Converted = false;  // channels were made narrow: the document changed
};

// The narrow-band check with its conversion: asks through `prompt` and makes
// the channels narrow when the answer says so.
TDownloadStart PrepareDownload(TRKmem& doc, int fccPhase, TPrompt& prompt);

namespace NarrowBandMessages {
extern const char* const Caption;
extern const char* const Phase1;
extern const char* const Phase2;
}

// The manufacture password check: blanks around the typed text and letter
// case do not count.
bool IsManufacturePassword(const std::string& typed);
