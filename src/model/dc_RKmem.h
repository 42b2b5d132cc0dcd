#pragma once
#include "model/dc_Decimal.h"
#include "model/dc_RKmemSub.h"

#include <array>
#include <string>

constexpr int AlignPointCount = 4;  // "Lowest", "Low", "High", "Highest"
constexpr int AlphaTagCount = 48;

// The document: everything the program knows about one repeater. Strings
// hold 8-bit text; their image width is not a limit of the field. Copies are
// deep, so Assign is plain assignment.
struct TRKmem {
    std::string ProductType;
    std::string SerialNo;
    std::string FwVersion;
    int MarketCode = 0;             // 'U' = "USA", anything else "EXP"
    int NsqThreshold = 0;
    int SqlNarrowOffset = 0;
    int SqlHysteresis = 0;
    int TxPowerDisplayHigh = 0;
    int TxPowerDisplayLow = 0;
    std::array<TDecimal, AlignPointCount> RxAdjFreq {};
    std::array<int, AlignPointCount> SqlThreshold {};
    std::array<int, AlignPointCount> RxTuning {};
    std::array<TDecimal, AlignPointCount> TxAdjFreq {};
    std::array<int, AlignPointCount> TxPowerHigh {};
    std::array<int, AlignPointCount> TxPowerLow {};
    std::array<int, AlignPointCount> MaxDevWide {};
    std::array<int, AlignPointCount> MaxDevNarrow {};
    std::array<int, AlignPointCount> CtcssDevWide {};
    std::array<int, AlignPointCount> CtcssDevNarrow {};
    std::array<int, AlignPointCount> DcsDevWide {};
    std::array<int, AlignPointCount> DcsDevNarrow {};
    int Band = 0;
    int Duplexer = 0;
    int Beep = 0;
    int Monitor = 0;
    int FirstLocalOffset = 0;
    int SecondLocalOffset = 0;
    int Accessory = 0;
    int MicMoni = 0;
    int FanAlert = 0;
    int HighTempAlert = 0;
    int TxPowerType = 0;  // shown as "TX Power Type" and as "High Temp Tx Power Low"
    int DcTxPowerLow = 0;
    int HangOnAudio = 0;
    int ChStep = 0;
    int IfFreq = 0;       // 10 kHz units
    int RxRefFreq = 0;
    int TxRefFreq = 0;
    int BaseTot = 0;
    int BaseGuardTime = 0;
    int RepeatTot = 0;
    int RepeatHangOnTime = 0;
    int RepeatGuardTime = 0;
    int CwIdEnable = 0;
    int DtmfTx = 0;
    int FiveToneTx = 0;
    int AniOn = 0;
    int DtmfRx = 0;
    int FiveToneRx = 0;
    std::array<int, ChannelCount> TxPowerAdjust {};
    std::string DataFileName;
    int CwIdDotTime = 0;
    int CwIdInterval = 0;
    int CwIdToneFreq = 0;
    std::string CwIdText;
    std::array<int, 16> FiveToneTable {};
    int MarkTime = 0;
    int SpaceTime = 0;
    int AniDelay = 0;
    int EniDelay = 0;
    int EniTxTime = 0;
    int EniRxTime = 0;
    int EniDeadTime = 0;
    int EniRepeatCount = 0;
    int FiveToneRepeatCode = 0;
    int AniHeaderCode = 0;
    std::string AniCode;
    std::string EniCode;
    int EniHeaderCode = 0;
    TChannels Channels;
    std::array<int, AlphaTagCount> AlphaTagNumber {};     // -1 = no number
    std::array<std::string, AlphaTagCount> AlphaTagText {}; // empty = no text

    void Assign(const TRKmem& source) { *this = source; }
    bool operator==(const TRKmem& other) const = default;
};
