#pragma once
#include "model/dc_Decimal.h"

#include <array>

constexpr int ChannelCount = 16;
constexpr int ToneEntryCount = 16;

// One channel of the repeater. Copying is deep (the frequencies are values).
struct TChannel {
    int Used = 0;
    int Number = 0;
    int TxInhibit = 0;      // nonzero = inhibited; decoding stores -1
    int Bandwidth = 0;
    int ClockShift = 0;
    int NsqMode = 0;
    int CourtesyBlip = 0;
    int ReverseBurst = 0;
    int DcsType = 0;
    int DcsDecodeType = 0;
    int BaseTotOn = 0;
    int BaseGuardOn = 0;
    int TxLockout = 0;
    int TxNearRx = 0;
    int TxAboveRx = 0;
    int TxPower = 0;
    int MultiTone = 0;
    int RptTotUse = 0;
    int RptHangTimeOn = 0;
    int RptGuardTimeOn = 0;
    int TotBeep = 0;
    int ActionMode = 0;
    int TotMute = 0;
    int CwIdAniEni = 0;
    int NsqLevel = 0;
    // Entry 0 of the decoder and encoder tables is the channel's own
    // CTCSS/DCS setting; entries 0..15 together are the multi-tone table.
    std::array<int, ToneEntryCount> ToneEntryUsed {};
    std::array<int, ToneEntryCount> DecoderIsDcs {};
    std::array<int, ToneEntryCount> DecoderCode {};
    std::array<int, ToneEntryCount> EncoderIsDcs {};
    std::array<int, ToneEntryCount> EncoderCode {};
    TDecimal RxFreq;
    TDecimal TxFreq;

    void Assign(const TChannel& source) { *this = source; }
    // Field by field, walking the field list (model/U_Fields.h).
    bool Equals(const TChannel& other) const;
    bool operator==(const TChannel& other) const { return Equals(other); }
};

// The fixed list of 16 channels; there is no add or delete.
class TChannels {
public:
    // Each channel knows its own number from the start, as a decoded one does.
    TChannels()
    {
        for (int i = 0; i < ChannelCount; ++i)
            Items[i].Number = i + 1;
    }

    int Count() const { return ChannelCount; }
    TChannel& Item(int i) { return Items.at(i); }
    const TChannel& Item(int i) const { return Items.at(i); }
    TChannel& operator[](int i) { return Items.at(i); }
    const TChannel& operator[](int i) const { return Items.at(i); }

    void Assign(const TChannels& source) { Items = source.Items; }
    bool Equals(const TChannels& other) const { return Items == other.Items; }
    bool operator==(const TChannels& other) const { return Equals(other); }

    auto begin() { return Items.begin(); }
    auto end() { return Items.end(); }
    auto begin() const { return Items.begin(); }
    auto end() const { return Items.end(); }

private:
    std::array<TChannel, ChannelCount> Items {};
};
