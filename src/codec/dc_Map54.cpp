#include "codec/dc_Map54.h"

#include "model/U_Format.h"

#include <charconv>

using namespace Image54;

namespace {

// The plain integer fields of the common area: one place, one member. The
// encoder and the decoder both walk this table.
struct TIntField {
    int TRKmem::*Member;
    TFieldDesc Desc;
};

const TIntField CommonFields[] = {
    {&TRKmem::NsqThreshold, Bytes(1)},
    {&TRKmem::SqlNarrowOffset, Bytes(SqlNarrowOffset)},
    {&TRKmem::SqlHysteresis, Bytes(SqlHysteresis)},
    {&TRKmem::MarketCode, Bytes(22)},
    {&TRKmem::Band, Bit(80, 7)},
    {&TRKmem::Duplexer, Bit(80, 6)},
    {&TRKmem::Beep, Bit(80, 5)},
    {&TRKmem::Monitor, Bit(80, 4)},
    {&TRKmem::FirstLocalOffset, Bit(80, 3)},
    {&TRKmem::SecondLocalOffset, Bit(80, 2)},
    {&TRKmem::MicMoni, Bit(81, 7)},
    {&TRKmem::FanAlert, Bit(81, 6)},
    {&TRKmem::HighTempAlert, Bit(81, 5)},
    {&TRKmem::TxPowerType, Bit(81, 4)},
    {&TRKmem::DcTxPowerLow, Bit(81, 3)},
    {&TRKmem::HangOnAudio, Bit(81, 2)},
    {&TRKmem::ChStep, Bit(81, 0)},
    {&TRKmem::BaseTot, Bytes(88)},
    {&TRKmem::BaseGuardTime, Bytes(89)},
    {&TRKmem::RepeatTot, Bytes(90)},
    {&TRKmem::RepeatHangOnTime, Bytes(91)},
    {&TRKmem::RepeatGuardTime, Bytes(92)},
    {&TRKmem::CwIdEnable, Bit(93, 7)},
    {&TRKmem::DtmfTx, Bit(93, 6)},
    {&TRKmem::FiveToneTx, Bit(93, 5)},
    {&TRKmem::AniOn, Bits(93, 4, 3)},
    {&TRKmem::DtmfRx, Bit(93, 2)},
    {&TRKmem::FiveToneRx, Bit(93, 1)},
    {&TRKmem::CwIdDotTime, Bytes(123)},
    {&TRKmem::CwIdInterval, Bytes(124, 2)},
    {&TRKmem::CwIdToneFreq, Bytes(126, 2)},
    {&TRKmem::MarkTime, Bytes(176, 2)},
    {&TRKmem::SpaceTime, Bytes(178, 2)},
    {&TRKmem::AniDelay, Bytes(180)},
    {&TRKmem::EniDelay, Bytes(181)},
    {&TRKmem::EniTxTime, Bytes(182)},
    {&TRKmem::EniRxTime, Bytes(183)},
    {&TRKmem::EniDeadTime, Bytes(184)},
    {&TRKmem::EniRepeatCount, Bytes(185)},
    {&TRKmem::FiveToneRepeatCode, Bytes(186)},
    {&TRKmem::AniHeaderCode, Bytes(187)},
    {&TRKmem::EniHeaderCode, Bytes(204)},
};

// Per-point alignment bytes, each at its place in the point's addresses.
using TPointArray = std::array<int, AlignPointCount>;
struct TPointField {
    TPointArray TRKmem::*Member;
    int TAlignPointAddresses::*Address;
};

const TPointField PointFields[] = {
    {&TRKmem::SqlThreshold, &TAlignPointAddresses::SqlThreshold},
    {&TRKmem::RxTuning, &TAlignPointAddresses::RxTuning},
    {&TRKmem::TxPowerHigh, &TAlignPointAddresses::TxPowerHigh},
    {&TRKmem::TxPowerLow, &TAlignPointAddresses::TxPowerLow},
    {&TRKmem::MaxDevWide, &TAlignPointAddresses::MaxDevWide},
    {&TRKmem::MaxDevNarrow, &TAlignPointAddresses::MaxDevNarrow},
    {&TRKmem::CtcssDevWide, &TAlignPointAddresses::CtcssDevWide},
    {&TRKmem::CtcssDevNarrow, &TAlignPointAddresses::CtcssDevNarrow},
    {&TRKmem::DcsDevWide, &TAlignPointAddresses::DcsDevWide},
    {&TRKmem::DcsDevNarrow, &TAlignPointAddresses::DcsDevNarrow},
};

// The three 10 kHz frequencies of the hardware block.
struct TBcdField {
    int TRKmem::*Member;
    int Address;
};
const TBcdField TenKilohertzFields[] = {
    {&TRKmem::IfFreq, 82},
    {&TRKmem::RxRefFreq, 84},
    {&TRKmem::TxRefFreq, 86},
};

// Channel flags: offsets inside the 48-byte record.
struct TChannelField {
    int TChannel::*Member;
    TFieldDesc Desc;
};
const TChannelField ChannelFields[] = {
    {&TChannel::TxInhibit, Bit(1, 7)},
    {&TChannel::Bandwidth, Bit(1, 6)},
    {&TChannel::ClockShift, Bit(1, 5)},
    {&TChannel::NsqMode, Bit(1, 4)},
    {&TChannel::CourtesyBlip, Bit(1, 3)},
    {&TChannel::ReverseBurst, Bit(1, 2)},
    {&TChannel::DcsType, Bit(1, 1)},
    {&TChannel::DcsDecodeType, Bit(1, 0)},
    {&TChannel::BaseTotOn, Bit(2, 7)},
    {&TChannel::BaseGuardOn, Bit(2, 6)},
    {&TChannel::TxNearRx, Bit(2, 3)},
    {&TChannel::TxAboveRx, Bit(2, 2)},
    {&TChannel::TxPower, Bit(2, 0)},
    {&TChannel::MultiTone, Bit(3, 7)},
    {&TChannel::RptTotUse, Bit(3, 6)},
    {&TChannel::RptHangTimeOn, Bit(3, 5)},
    {&TChannel::RptGuardTimeOn, Bit(3, 4)},
    {&TChannel::TotBeep, Bit(3, 3)},
    {&TChannel::ActionMode, Bit(3, 0)},
    {&TChannel::TotMute, Bit(4, 7)},
    {&TChannel::CwIdAniEni, Bits(4, 6, 5)},
    {&TChannel::NsqLevel, Bytes(5)},
};

constexpr TFieldDesc SerialNoField = Bytes(72, 8);
constexpr TFieldDesc DataFileNameField = Bytes(112, 8);
constexpr TFieldDesc RptWordField = Bytes(120, 3);
constexpr TFieldDesc CwIdTextField = Bytes(128, 16);
constexpr TFieldDesc AniCodeField = Bytes(188, 4);
constexpr TFieldDesc EniCodeField = Bytes(196, 4);
constexpr TFieldDesc TxPowerAdjustField = Bytes(96);
constexpr TFieldDesc FiveToneTableField = Bytes(144, 2);
constexpr TFieldDesc AccessoryField = Bits(80, 1, 0);
constexpr int FwMajor = 205;
constexpr int FwMinor = 206;

// Lenient number: empty or bad BCD text gives the fallback.
int BcdNumber(const std::string& digits, int fallback)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() && !digits.empty()
        ? value : fallback;
}

// Strict number: the repeater's own must-have values.
int StrictBcdNumber(const std::string& digits)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw EConvertError("'" + digits + "' is not a valid integer value");
    return value;
}

TDecimal DecimalOf(double value)
{
    TDecimal d;
    d.SetFromFloat(value);
    return d;
}

// The name without its extension; a dot inside a folder name is no extension.
std::string WithoutExtension(const std::string& name)
{
    const auto dot = name.rfind('.');
    const auto separator = name.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return name;
    return name.substr(0, dot);
}

} // namespace

TAlignPointAddresses Image54::AlignPointAddresses(int point)
{
    // Two-byte frequencies step by 2, the single bytes by 1, and the
    // transmitter block of each point is 10 bytes long.
    const int p = point;
    return {8 - 2 * p, 13 - p, 19 - p, 30 - 2 * p, 62 - 10 * p, 63 - 10 * p,
            66 - 10 * p, 67 - 10 * p, 68 - 10 * p, 69 - 10 * p, 70 - 10 * p, 71 - 10 * p};
}

TMap54::TMap54()
{
    Image[StartMarker] = Marker;
    Image[EndMarker] = Marker;
    Fill(Bytes(1472, 512), 0x01);
}

bool TMap54::Encode(const TRKmem& doc)
{
    WriteText(DataFileNameField, WithoutExtension(doc.DataFileName));
    WriteText(RptWordField, "rpt");
    WriteText(SerialNoField, doc.SerialNo);
    WriteText(CwIdTextField, doc.CwIdText);

    for (const auto& f : CommonFields)
        WriteUnsigned(f.Desc, doc.*f.Member);
    WriteUnsigned(AccessoryField, doc.Accessory == 1 ? 2 : 1);

    for (int p = 0; p < AlignPointCount; ++p) {
        const TAlignPointAddresses at = AlignPointAddresses(p);
        WriteBcd(Bytes(at.RxAdjFreq, 2), ZeroPadded(doc.RxAdjFreq[p].TruncatedTo(1), 4));
        WriteBcd(Bytes(at.TxAdjFreq, 2), ZeroPadded(doc.TxAdjFreq[p].TruncatedTo(1), 4));
        for (const auto& f : PointFields)
            WriteUnsigned(Bytes(at.*f.Address), (doc.*f.Member)[p]);
    }
    WriteBcd(Bytes(20), ZeroPadded(doc.TxPowerDisplayHigh, 2));
    WriteBcd(Bytes(21), ZeroPadded(doc.TxPowerDisplayLow, 2));
    WriteArray(TxPowerAdjustField, true, {doc.TxPowerAdjust.begin(), doc.TxPowerAdjust.end()},
               ChannelCount);
    for (const auto& f : TenKilohertzFields)
        WriteBcd(Bytes(f.Address, 2), ZeroPadded(doc.*f.Member, 4));
    WriteHexDigits(AniCodeField, doc.AniCode);
    WriteHexDigits(EniCodeField, doc.EniCode);
    WriteArray(FiveToneTableField, false, {doc.FiveToneTable.begin(), doc.FiveToneTable.end()},
               16);

    for (int i = 0; i < ChannelCount; ++i) {
        const TChannel& ch = doc.Channels[i];
        const int r = ChannelBase + ChannelRecordSize * i;
        if (ch.Used == 0 || ch.Used == 1)
            WriteUnsigned(Bit(r, 7), ch.Used == 0 ? 1 : 0);
        WriteUnsigned(Bits(r, 6, 4), (i + 1) / 10);
        WriteUnsigned(Bits(r, 3, 0), (i + 1) % 10);
        for (const auto& f : ChannelFields)
            WriteUnsigned(f.Desc.Moved(r), ch.*f.Member);
        if (ch.TxLockout >= 0 && ch.TxLockout <= 2)
            WriteUnsigned(Bits(r + 2, 5, 4), ch.TxLockout == 0 ? 0 : ch.TxLockout == 1 ? 2 : 1);
        std::vector<int> used(ch.ToneEntryUsed.begin(), ch.ToneEntryUsed.end());
        WriteBits(Bytes(r + 6, 2), used, ToneEntryCount);
        WriteBcd(Bytes(r + 10, 3), ZeroPadded(ch.RxFreq.TruncatedTo(3), 6));
        WriteBcd(Bytes(r + 13, 3), ZeroPadded(ch.TxFreq.TruncatedTo(3), 6));
        for (int k = 0; k < ToneEntryCount; ++k) {
            WriteUnsigned(Bit(r + 16 + k, 7), ch.DecoderIsDcs[k]);
            WriteUnsigned(Bits(r + 16 + k, 6, 0), ch.DecoderCode[k]);
            WriteUnsigned(Bit(r + 32 + k, 7), ch.EncoderIsDcs[k]);
            WriteUnsigned(Bits(r + 32 + k, 6, 0), ch.EncoderCode[k]);
        }
    }

    for (int i = 0; i < AlphaTagCount; ++i) {
        const int r = AlphaTagBase + AlphaTagRecordSize * i;
        if (doc.AlphaTagNumber[i] != -1)
            WriteBcd(Bytes(r, 2), ZeroPadded(doc.AlphaTagNumber[i], 4));
        else
            Fill(Bytes(r, 2), 0xFF);
        if (!doc.AlphaTagText[i].empty()) {
            std::string text = doc.AlphaTagText[i];
            if (text.size() < 8)
                text.append(8 - text.size(), ' ');
            WriteText(Bytes(r + 2, 8), text);
        } else {
            Fill(Bytes(r + 2, 8), '%');
        }
    }

    Image[ChecksumA] = Checksum(&Image[80], 126);
    Image[ChecksumB] = Checksum(&Image[0], CloneSize);
    return true;
}

bool TMap54::Decode(TRKmem& doc) const
{
    doc.ProductType = "HPD-4400";
    doc.DataFileName = ReadTextMbcs(DataFileNameField);
    doc.SerialNo = ReadText(SerialNoField);
    doc.FwVersion = HexText(Image[FwMajor]) + "." + HexText(Image[FwMinor], 2);
    doc.CwIdText = ReadText(CwIdTextField);

    for (const auto& f : CommonFields)
        doc.*f.Member = static_cast<int>(ReadUnsigned(f.Desc));
    doc.Accessory = ReadUnsigned(AccessoryField) == 2 ? 1 : 0;

    for (int p = 0; p < AlignPointCount; ++p) {
        const TAlignPointAddresses at = AlignPointAddresses(p);
        doc.RxAdjFreq[p] = DecimalOf(BcdNumber(ReadBcd(Bytes(at.RxAdjFreq, 2)), 0) / 10.0);
        doc.TxAdjFreq[p] = DecimalOf(BcdNumber(ReadBcd(Bytes(at.TxAdjFreq, 2)), 0) / 10.0);
        for (const auto& f : PointFields)
            (doc.*f.Member)[p] = static_cast<int>(ReadUnsigned(Bytes(at.*f.Address)));
    }
    doc.TxPowerDisplayHigh = StrictBcdNumber(ReadBcd(Bytes(20)));
    doc.TxPowerDisplayLow = StrictBcdNumber(ReadBcd(Bytes(21)));
    const auto adjust = ReadArray(TxPowerAdjustField, true, ChannelCount);
    std::copy(adjust.begin(), adjust.end(), doc.TxPowerAdjust.begin());
    for (const auto& f : TenKilohertzFields)
        doc.*f.Member = BcdNumber(ReadBcd(Bytes(f.Address, 2)), 0);
    doc.AniCode = ReadHexDigits(AniCodeField);
    doc.EniCode = ReadHexDigits(EniCodeField);
    const auto tones = ReadArray(FiveToneTableField, false, 16);
    std::copy(tones.begin(), tones.end(), doc.FiveToneTable.begin());

    for (int i = 0; i < AlphaTagCount; ++i) {
        const int r = AlphaTagBase + AlphaTagRecordSize * i;
        doc.AlphaTagNumber[i] = BcdNumber(ReadBcd(Bytes(r, 2)), -1);
        doc.AlphaTagText[i] = Image[r + 2] == '%' ? std::string() : ReadTextRaw(Bytes(r + 2, 8));
    }

    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = doc.Channels[i];
        const int r = ChannelBase + ChannelRecordSize * i;
        ch.Used = ReadUnsigned(Bit(r, 7)) == 0 ? 1 : 0;
        ch.Number = i + 1;
        for (const auto& f : ChannelFields)
            ch.*f.Member = static_cast<int>(ReadUnsigned(f.Desc.Moved(r)));
        ch.TxInhibit = ReadSigned(Bit(r + 1, 7));
        ch.TxLockout = ReadUnsigned(Bit(r + 2, 4)) ? 2 : ReadUnsigned(Bit(r + 2, 5)) ? 1 : 0;
        const auto used = ReadBits(Bytes(r + 6, 2), ToneEntryCount);
        std::copy(used.begin(), used.end(), ch.ToneEntryUsed.begin());
        ch.RxFreq = DecimalOf(StrictBcdNumber(ReadBcd(Bytes(r + 10, 3))) / 1000.0);
        ch.TxFreq = DecimalOf(StrictBcdNumber(ReadBcd(Bytes(r + 13, 3))) / 1000.0);
        for (int k = 0; k < ToneEntryCount; ++k) {
            ch.DecoderIsDcs[k] = static_cast<int>(ReadUnsigned(Bit(r + 16 + k, 7)));
            ch.DecoderCode[k] = static_cast<int>(ReadUnsigned(Bits(r + 16 + k, 6, 0)));
            ch.EncoderIsDcs[k] = static_cast<int>(ReadUnsigned(Bit(r + 32 + k, 7)));
            ch.EncoderCode[k] = static_cast<int>(ReadUnsigned(Bits(r + 32 + k, 6, 0)));
        }
    }
    return true;
}

int TMap54::DefaultIfFreq(int band)
{
    return band == 1 ? 7375 : 2140;
}

void TMap54::SetDefaults(TRKmem& doc)
{
    doc.ProductType = "HPD-4400";
    doc.SerialNo = "12345678";
    doc.CwIdEnable = 0;
    doc.CwIdDotTime = 50;
    doc.CwIdInterval = 600;
    doc.CwIdToneFreq = 600;
    doc.CwIdText = "0000000000000000";
    doc.BaseTot = 6;
    doc.BaseGuardTime = 1;
    doc.RepeatTot = 6;
    doc.RepeatGuardTime = 5;
    doc.RepeatHangOnTime = 4;
    doc.RxRefFreq = 1440;
    doc.TxRefFreq = 1440;
    doc.NsqThreshold = 110;
    doc.TxPowerDisplayHigh = 80;
    doc.TxPowerDisplayLow = 16;
    doc.Band = 0;
    doc.FirstLocalOffset = 0;
    doc.SecondLocalOffset = 0;
    doc.Duplexer = 0;
    doc.TxPowerType = 1;
    doc.ChStep = 0;
    doc.Beep = doc.Monitor = doc.Accessory = doc.MicMoni = 1;
    doc.FanAlert = doc.HighTempAlert = doc.DcTxPowerLow = doc.HangOnAudio = 1;
    doc.MarkTime = 50;
    doc.SpaceTime = 50;
    doc.FiveToneRepeatCode = 14;
    doc.AniDelay = 60;
    doc.AniHeaderCode = 10;
    doc.AniCode = "0000";
    doc.EniDelay = 24;
    doc.EniTxTime = doc.EniRxTime = doc.EniDeadTime = 2;
    doc.EniRepeatCount = 5;
    doc.EniHeaderCode = 11;
    doc.EniCode = "0000";
    doc.FiveToneTable = {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830,
                         2000, 2200, 2800, 810,  970,  885,  2600, 680};

    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = doc.Channels[i];
        ch.Used = i == 0 ? 1 : 0;
        ch.Bandwidth = 1;
        ch.ActionMode = 1;
        ch.BaseTotOn = 1;
        ch.BaseGuardOn = 1;
        ch.TxLockout = 1;
        ch.RptTotUse = 1;
        ch.TotBeep = 1;
        ch.RptHangTimeOn = 1;
        ch.RptGuardTimeOn = 1;
    }
    doc.AlphaTagNumber.fill(-1);
    doc.AlphaTagText.fill(std::string());

    doc.IfFreq = DefaultIfFreq(0);
    SetBandDefaults(doc, 0);
}

TBandChange ChangeBand(TRKmem& doc, int band, std::optional<int> ifFreq)
{
    if (band == doc.Band)
        return TBandChange::Kept;
    doc.Band = band;
    doc.IfFreq = ifFreq.value_or(TMap54::DefaultIfFreq(band));
    TMap54::SetBandDefaults(doc, band);
    return TBandChange::Changed;
}

void TMap54::SetBandDefaults(TRKmem& doc, int band)
{
    struct TBandTable {
        double AdjFreq[4];
        TPointArray RxTuning, SqlThreshold;
        int SqlHysteresis;
        TPointArray TxPowerHigh, TxPowerLow, MaxDevWide, MaxDevNarrow, CtcssDevWide,
            CtcssDevNarrow, DcsDevWide, DcsDevNarrow;
        double RxFreq, TxFreq;
        int NsqLevel;
    };
    static const TBandTable Tables[2] = {
        {{150, 160, 170, 174}, {44, 128, 186, 218}, {48, 48, 48, 48}, 20,
         {193, 199, 203, 204}, {73, 73, 75, 75}, {161, 160, 159, 158}, {149, 148, 147, 146},
         {184, 185, 186, 187}, {168, 169, 170, 171}, {176, 175, 174, 174}, {164, 163, 162, 161},
         161.0, 166.0, 48},
        {{450, 460, 470, 480}, {51, 102, 154, 205}, {60, 60, 60, 60}, 10,
         {173, 175, 180, 189}, {58, 59, 60, 63}, {163, 163, 163, 163}, {151, 151, 151, 151},
         {175, 174, 174, 172}, {160, 159, 159, 158}, {161, 161, 161, 160}, {149, 148, 148, 147},
         450.0, 455.0, 60},
    };
    const TBandTable& t = Tables[band == 1 ? 1 : 0];
    for (int p = 0; p < AlignPointCount; ++p) {
        doc.RxAdjFreq[p] = DecimalOf(t.AdjFreq[p]);
        doc.TxAdjFreq[p] = DecimalOf(t.AdjFreq[p]);
    }
    doc.RxTuning = t.RxTuning;
    doc.SqlThreshold = t.SqlThreshold;
    doc.SqlHysteresis = t.SqlHysteresis;
    doc.TxPowerHigh = t.TxPowerHigh;
    doc.TxPowerLow = t.TxPowerLow;
    doc.MaxDevWide = t.MaxDevWide;
    doc.MaxDevNarrow = t.MaxDevNarrow;
    doc.CtcssDevWide = t.CtcssDevWide;
    doc.CtcssDevNarrow = t.CtcssDevNarrow;
    doc.DcsDevWide = t.DcsDevWide;
    doc.DcsDevNarrow = t.DcsDevNarrow;
    for (TChannel& ch : doc.Channels) {
        ch.RxFreq = DecimalOf(t.RxFreq);
        ch.TxFreq = DecimalOf(t.TxFreq);
        ch.NsqLevel = t.NsqLevel;
    }
}
