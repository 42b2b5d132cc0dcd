#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The program's fixed vocabularies: the texts behind every enumerated value.

// Rows of the display value lists (the row is the field's vocabulary).
enum TDisplayRow {
    dvBandwidth = 0, dvNoYes, dvTxLockout, dvTxPower, dvOffOn, dvNsqMode, dvDcsType,
    dvDcsDecodeType, dvActionMode, dvCwIdAniEni, dvBand, dvLocalOffset, dvHighLowAcc,
    dvNoiseQuiet, dvChStep, dvTxPowerType, dvDisableEnable, dvAccessory, dvHangOnAudio,
    dvSignaling, dvAniOn, dvDuplexer, dvEmpty,
    DisplayRowCount
};

std::string DisplayText(int row, int value);
int DisplayIndex(int row, const std::string& text);
int DisplayCount(int row);

// Combined DTMF or 5-tone value of row 19 from a transmit and a receive flag.
int SignalingValue(int txFlag, int rxFlag);

constexpr int CtcssCount = 48;   // index 0 is "off"
constexpr int DcsCount = 104;
std::string CtcssText(int code);
std::string DcsText(int code);
// Decoder/encoder text as the grid shows it: the flag picks the list.
std::string ToneText(int isDcs, int code);
// Lists for the selection dialogs: CTCSS without "off" (47 entries) and
// DCS with a leading "off" (105 entries, position = code + 1).
std::vector<std::string> CtcssListNoOff();
std::vector<std::string> DcsListWithOff();

extern const char* const FiveToneStandardNames[9];

// The two channel steps, in Hz, of a ChStep value.
int ChannelStepHz(int chStep, int which);

// Trunc(mhz * 1 000 000) in exact decimal: the shortest text of mhz read
// digit by digit, so 148.025 gives 148025000, not one hertz less.
int64_t MHzToHz(double mhz);
double SnapFrequency(int step, double mhz);
bool NearMultipleOf4MHz(double mhz);
// A channel frequency as the grid and the report show it: snapped back onto
// the channel raster, "%3.5f".
std::string ChannelFreqText(int chStep, const struct TDecimal& freq);
bool FreqAbove(double a, double b);
bool FreqWithin50kHz(double a, double b);

// Text helpers for the typed fields.
double TextToFloat(const std::string& text);  // '.' or ',' as decimal mark; 0 if not a number
int HexToInt(const std::string& text);
bool IsNonNegativeInteger(const std::string& text);
bool IsInteger(const std::string& text);
int64_t Trunc(double x);
