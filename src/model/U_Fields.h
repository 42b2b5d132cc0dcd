#pragma once
#include "model/dc_RKmem.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

// The document's fields, listed once. Equality, the JSON of `rk54 decode`,
// `rk54 diff` and the tests that compare whole documents walk these lists,
// so a field added to the document but not here fails the build (see the
// member count checks in U_Fields.cpp) instead of silently escaping them.

// What one value of a field holds. An array field has the kind of its
// entries; the channel list is a field whose entries are channels.
enum class TFieldKind { Number, Text, Frequency, Channels };

template <class Value>
struct TFieldTraits;
template <>
struct TFieldTraits<int> {
    static constexpr TFieldKind Kind = TFieldKind::Number;
    static constexpr int Count = 1;
};
template <>
struct TFieldTraits<std::string> {
    static constexpr TFieldKind Kind = TFieldKind::Text;
    static constexpr int Count = 1;
};
template <>
struct TFieldTraits<TDecimal> {
    static constexpr TFieldKind Kind = TFieldKind::Frequency;
    static constexpr int Count = 1;
};
template <>
struct TFieldTraits<TChannels> {
    static constexpr TFieldKind Kind = TFieldKind::Channels;
    static constexpr int Count = ChannelCount;
};
template <class Entry, std::size_t N>
struct TFieldTraits<std::array<Entry, N>> {
    static constexpr TFieldKind Kind = TFieldTraits<Entry>::Kind;
    static constexpr int Count = int(N);
};

// One field: its name (the member's own), the member, and what it holds.
// Entries of an array are named "Name[i]"; an array that is one column of a
// list of numbered records names its entries "<Record> <i+1> <Part>" instead
// ("AlphaTag 5 Text").
template <class Owner, class Value>
struct TField {
    std::string_view Name;
    Value Owner::*Member;
    std::string_view Record {};
    std::string_view Part {};

    static constexpr TFieldKind Kind = TFieldTraits<Value>::Kind;
    static constexpr int Count = TFieldTraits<Value>::Count;
    static constexpr bool IsArray = !std::is_same_v<Value, int> && !std::is_same_v<Value, std::string>
        && !std::is_same_v<Value, TDecimal> && !std::is_same_v<Value, TChannels>;

    const Value& Of(const Owner& owner) const { return owner.*Member; }
    Value& Of(Owner& owner) const { return owner.*Member; }
};

// Spelled out for compilers that deduce no aggregate's arguments themselves.
template <class Owner, class Value>
TField(std::string_view, Value Owner::*) -> TField<Owner, Value>;
template <class Owner, class Value>
TField(std::string_view, Value Owner::*, std::string_view, std::string_view) -> TField<Owner, Value>;

inline constexpr std::tuple ChannelFields {
    TField {"Used", &TChannel::Used},
    TField {"Number", &TChannel::Number},
    TField {"TxInhibit", &TChannel::TxInhibit},
    TField {"Bandwidth", &TChannel::Bandwidth},
    TField {"ClockShift", &TChannel::ClockShift},
    TField {"NsqMode", &TChannel::NsqMode},
    TField {"CourtesyBlip", &TChannel::CourtesyBlip},
    TField {"ReverseBurst", &TChannel::ReverseBurst},
    TField {"DcsType", &TChannel::DcsType},
    TField {"DcsDecodeType", &TChannel::DcsDecodeType},
    TField {"BaseTotOn", &TChannel::BaseTotOn},
    TField {"BaseGuardOn", &TChannel::BaseGuardOn},
    TField {"TxLockout", &TChannel::TxLockout},
    TField {"TxNearRx", &TChannel::TxNearRx},
    TField {"TxAboveRx", &TChannel::TxAboveRx},
    TField {"TxPower", &TChannel::TxPower},
    TField {"MultiTone", &TChannel::MultiTone},
    TField {"RptTotUse", &TChannel::RptTotUse},
    TField {"RptHangTimeOn", &TChannel::RptHangTimeOn},
    TField {"RptGuardTimeOn", &TChannel::RptGuardTimeOn},
    TField {"TotBeep", &TChannel::TotBeep},
    TField {"ActionMode", &TChannel::ActionMode},
    TField {"TotMute", &TChannel::TotMute},
    TField {"CwIdAniEni", &TChannel::CwIdAniEni},
    TField {"NsqLevel", &TChannel::NsqLevel},
    TField {"ToneEntryUsed", &TChannel::ToneEntryUsed},
    TField {"DecoderIsDcs", &TChannel::DecoderIsDcs},
    TField {"DecoderCode", &TChannel::DecoderCode},
    TField {"EncoderIsDcs", &TChannel::EncoderIsDcs},
    TField {"EncoderCode", &TChannel::EncoderCode},
    TField {"RxFreq", &TChannel::RxFreq},
    TField {"TxFreq", &TChannel::TxFreq},
};

inline constexpr std::tuple DocumentFields {
    TField {"ProductType", &TRKmem::ProductType},
    TField {"SerialNo", &TRKmem::SerialNo},
    TField {"FwVersion", &TRKmem::FwVersion},
    TField {"MarketCode", &TRKmem::MarketCode},
    TField {"NsqThreshold", &TRKmem::NsqThreshold},
    TField {"SqlNarrowOffset", &TRKmem::SqlNarrowOffset},
    TField {"SqlHysteresis", &TRKmem::SqlHysteresis},
    TField {"TxPowerDisplayHigh", &TRKmem::TxPowerDisplayHigh},
    TField {"TxPowerDisplayLow", &TRKmem::TxPowerDisplayLow},
    TField {"RxAdjFreq", &TRKmem::RxAdjFreq},
    TField {"SqlThreshold", &TRKmem::SqlThreshold},
    TField {"RxTuning", &TRKmem::RxTuning},
    TField {"TxAdjFreq", &TRKmem::TxAdjFreq},
    TField {"TxPowerHigh", &TRKmem::TxPowerHigh},
    TField {"TxPowerLow", &TRKmem::TxPowerLow},
    TField {"MaxDevWide", &TRKmem::MaxDevWide},
    TField {"MaxDevNarrow", &TRKmem::MaxDevNarrow},
    TField {"CtcssDevWide", &TRKmem::CtcssDevWide},
    TField {"CtcssDevNarrow", &TRKmem::CtcssDevNarrow},
    TField {"DcsDevWide", &TRKmem::DcsDevWide},
    TField {"DcsDevNarrow", &TRKmem::DcsDevNarrow},
    TField {"Band", &TRKmem::Band},
    TField {"Duplexer", &TRKmem::Duplexer},
    TField {"Beep", &TRKmem::Beep},
    TField {"Monitor", &TRKmem::Monitor},
    TField {"FirstLocalOffset", &TRKmem::FirstLocalOffset},
    TField {"SecondLocalOffset", &TRKmem::SecondLocalOffset},
    TField {"Accessory", &TRKmem::Accessory},
    TField {"MicMoni", &TRKmem::MicMoni},
    TField {"FanAlert", &TRKmem::FanAlert},
    TField {"HighTempAlert", &TRKmem::HighTempAlert},
    TField {"TxPowerType", &TRKmem::TxPowerType},
    TField {"DcTxPowerLow", &TRKmem::DcTxPowerLow},
    TField {"HangOnAudio", &TRKmem::HangOnAudio},
    TField {"ChStep", &TRKmem::ChStep},
    TField {"IfFreq", &TRKmem::IfFreq},
    TField {"RxRefFreq", &TRKmem::RxRefFreq},
    TField {"TxRefFreq", &TRKmem::TxRefFreq},
    TField {"BaseTot", &TRKmem::BaseTot},
    TField {"BaseGuardTime", &TRKmem::BaseGuardTime},
    TField {"RepeatTot", &TRKmem::RepeatTot},
    TField {"RepeatHangOnTime", &TRKmem::RepeatHangOnTime},
    TField {"RepeatGuardTime", &TRKmem::RepeatGuardTime},
    TField {"CwIdEnable", &TRKmem::CwIdEnable},
    TField {"DtmfTx", &TRKmem::DtmfTx},
    TField {"FiveToneTx", &TRKmem::FiveToneTx},
    TField {"AniOn", &TRKmem::AniOn},
    TField {"DtmfRx", &TRKmem::DtmfRx},
    TField {"FiveToneRx", &TRKmem::FiveToneRx},
    TField {"TxPowerAdjust", &TRKmem::TxPowerAdjust},
    TField {"DataFileName", &TRKmem::DataFileName},
    TField {"CwIdDotTime", &TRKmem::CwIdDotTime},
    TField {"CwIdInterval", &TRKmem::CwIdInterval},
    TField {"CwIdToneFreq", &TRKmem::CwIdToneFreq},
    TField {"CwIdText", &TRKmem::CwIdText},
    TField {"FiveToneTable", &TRKmem::FiveToneTable},
    TField {"MarkTime", &TRKmem::MarkTime},
    TField {"SpaceTime", &TRKmem::SpaceTime},
    TField {"AniDelay", &TRKmem::AniDelay},
    TField {"EniDelay", &TRKmem::EniDelay},
    TField {"EniTxTime", &TRKmem::EniTxTime},
    TField {"EniRxTime", &TRKmem::EniRxTime},
    TField {"EniDeadTime", &TRKmem::EniDeadTime},
    TField {"EniRepeatCount", &TRKmem::EniRepeatCount},
    TField {"FiveToneRepeatCode", &TRKmem::FiveToneRepeatCode},
    TField {"AniHeaderCode", &TRKmem::AniHeaderCode},
    TField {"AniCode", &TRKmem::AniCode},
    TField {"EniCode", &TRKmem::EniCode},
    TField {"EniHeaderCode", &TRKmem::EniHeaderCode},
    TField {"Channels", &TRKmem::Channels},
    TField {"AlphaTagNumber", &TRKmem::AlphaTagNumber, "AlphaTag", "Number"},
    TField {"AlphaTagText", &TRKmem::AlphaTagText, "AlphaTag", "Text"},
};

// Calls `visit(field)` for every field of a list, in the order listed.
template <class Fields, class Visit>
constexpr void ForEachField(const Fields& fields, Visit&& visit)
{
    std::apply([&](const auto&... field) { (visit(field), ...); }, fields);
}

// One value of the document, flattened: "RxTuning[2]", "Channel 3 RxFreq",
// "Channel 3 DecoderCode[0]", "AlphaTag 5 Text". Text is the value as
// written (a number in decimal, a text's own bytes, a frequency's exact
// decimal text).
struct TFieldValue {
    std::string Name;
    TFieldKind Kind;
    std::string Text;
};

// Every value of the document, fields in the byte order of their names
// (within a channel likewise), entries of an array in index order.
std::vector<TFieldValue> FieldValues(const TRKmem& doc);

// A value that differs between two documents.
struct TFieldDifference {
    std::string Name;
    TFieldKind Kind;
    std::string A;
    std::string B;
};

// The values that differ, in the order of FieldValues; empty when the two
// documents hold the same values in every field.
std::vector<TFieldDifference> FieldDifferences(const TRKmem& a, const TRKmem& b);
