#include "print/U_Report.h"

#include "model/U_Format.h"
#include "model/U_Values.h"

#include <cstdio>
#include <cstdlib>

namespace {

// printf for one report line. Numbers are formatted by the caller or with
// "%d"; every hexadecimal field is written with upper-case digits, as the
// rest of the program shows them.
template <class... TArgs>
std::string Fmt(const char* format, TArgs... args)
{
    char text[512];
    const int n = std::snprintf(text, sizeof text, format, args...);
    return std::string(text, n < 0 ? 0 : std::min<std::size_t>(n, sizeof text - 1));
}

// A fixed-point number `units` / 10^digits, as the patterns "0.0" and
// "0.00" write it.
std::string Fixed(int64_t units, int digits)
{
    int64_t scale = 1;
    for (int i = 0; i < digits; ++i)
        scale *= 10;
    const int64_t magnitude = std::llabs(units);
    std::string text = std::to_string(magnitude / scale);
    if (digits > 0)
        text += "." + ZeroPadded(magnitude % scale, digits);
    return units < 0 ? "-" + text : text;
}

// An exact decimal with one fraction digit, rounded half away from zero.
std::string OneDecimal(const TDecimal& d)
{
    int64_t tenths = d.IntPart * 10;
    if (d.FracDigits > 0) {
        int64_t rest = 1;
        for (int i = 1; i < d.FracDigits; ++i)
            rest *= 10;
        tenths += d.FracPart / rest;
        if (d.FracPart % rest * 2 >= rest && rest > 1)
            ++tenths;
    }
    return Fixed(tenths == 0 ? 0 : d.Sign * tenths, 1);
}

std::string Dec(int64_t value) { return std::to_string(value); }
std::string Hex(int value) { return HexText(static_cast<unsigned>(value)); }
// A "%2.2x" byte field. A negative value (a Tx power offset) is written as
// its stored byte so the column keeps its two places.
std::string Hex2(int value) { return HexText(static_cast<uint8_t>(value), 2); }

std::string List(TDisplayRow row, int value) { return DisplayText(row, value); }

// The decoder or encoder texts of a channel: the kind that is not selected
// reads "off".
struct TToneTexts {
    std::string Ctcss;
    std::string Dcs;
};
TToneTexts Tones(int isDcs, int code)
{
    if (isDcs)
        return {"off", DcsText(code)};
    return {CtcssText(code), "off"};
}

class TBuilder {
public:
    TBuilder(const TRKmem& doc, const TReportTitle& title) : D(doc), Title(title) {}

    std::vector<TReportPage> Build()
    {
        CommonPage();
        TablesPage();
        ChannelPage();
        return std::move(Pages);
    }

private:
    const TRKmem& D;
    const TReportTitle& Title;
    std::vector<TReportPage> Pages;
    bool TitlePrinted = false;

    void Put(int line, int indent, std::string text)
    {
        Pages.back().Lines.push_back({line, indent, std::move(text)});
    }
    // Starts a page with its header; returns the line its body starts at.
    int NewPage()
    {
        Pages.emplace_back();
        Put(0, 65, Title.Date + Fmt("  Page %d", static_cast<int>(Pages.size())));
        if (TitlePrinted)
            return 4;
        Put(2, 10, Fmt("********** Orvane %s Series **********", "HPD-4400"));
        Put(4, 2, Fmt("File Name:  %s", Title.FileName.c_str()));
        TitlePrinted = true;
        return 8;
    }
    void Value(int line, const char* format, const std::string& value)
    {
        Put(line, 4, Fmt(format, value.c_str()));
    }
    void Value(int line, const char* format, const std::string& value, const char* unit)
    {
        Put(line, 4, Fmt(format, value.c_str(), unit));
    }

    void CommonPage();
    void TablesPage();
    void ChannelPage();
    void ChannelBlock(int& line, const char* title, const char* const (&heading)[3], bool second);
    std::string ChannelData1(const TChannel& ch) const;
    std::string ChannelData2(const TChannel& ch) const;
};

void TBuilder::CommonPage()
{
    NewPage();
    Put(8, 0, "***********************************    COMMON DATA    ***********************************");

    Put(10, 2, "Marketing");
    Value(11, "Serial Number:          %s", D.SerialNo);
    Value(12, "Marketing:              %s", D.MarketCode == 'U' ? "USA" : "EXP");

    Put(15, 2, "Hardware");
    Value(16, "Band Select:            %s", List(dvBand, D.Band));
    Value(17, "I. F:                   %s%s", Fixed(D.IfFreq, 2), " MHz");
    Value(18, "TX Reference Frequency: %s%s", Fixed(D.TxRefFreq, 2), " MHz");
    Value(19, "RX Reference Frequency: %s%s", Fixed(D.RxRefFreq, 2), " MHz");
    Value(20, "1st Local Offset:       %s", List(dvLocalOffset, D.FirstLocalOffset));
    Value(21, "2nd Local Offset:       %s", List(dvLocalOffset, D.SecondLocalOffset));
    Value(22, "CH Step:                %s", List(dvChStep, D.ChStep));
    Value(23, "Duplexer:               %s", List(dvDuplexer, D.Duplexer));
    Value(24, "TX Power Type:          %s", List(dvTxPowerType, D.TxPowerType));

    Put(26, 2, "Radio Status");
    Value(27, "Beep:                   %s", List(dvDisableEnable, D.Beep));
    Value(28, "Monitor:                %s", List(dvDisableEnable, D.Monitor));
    Value(29, "Accessory:              %s", List(dvAccessory, D.Accessory));
    Value(30, "MIC Moni:               %s", List(dvDisableEnable, D.MicMoni));
    Value(31, "Fan Alert:              %s", List(dvDisableEnable, D.FanAlert));
    Value(32, "High Temp Alert:        %s", List(dvDisableEnable, D.HighTempAlert));
    Value(33, "High Temp Tx Power Low: %s", List(dvDisableEnable, D.TxPowerType));
    Value(34, "DC TX Power Low:        %s", List(dvDisableEnable, D.DcTxPowerLow));
    Value(35, "Hang On Audio:          %s", List(dvHangOnAudio, D.HangOnAudio));

    Put(37, 2, "Timer");
    Value(38, "Base TOT:               %s %s", Fixed(D.BaseTot * int64_t {5}, 1), " Min");
    Value(39, "Base Guard Time:        %s %s", Dec(D.BaseGuardTime * int64_t {2}), " Sec");
    Value(40, "Repeat TOT:             %s %s", Fixed(D.RepeatTot * int64_t {5}, 1), " Min");
    Value(41, "Repeat Guard Time:      %s %s", Dec(D.RepeatGuardTime * int64_t {2}), " Sec");
    Value(42, "Repeat Hang On Time:    %s %s", Fixed(D.RepeatHangOnTime * int64_t {5}, 1), " Sec");

    Put(44, 2, "CW ID");
    Value(45, "CW ID:                  %s", List(dvDisableEnable, D.CwIdEnable));
    Value(46, "Dot Time:               %s %s", Dec(D.CwIdDotTime), " msec");
    Value(47, "Interval Timer:         %s %s", Dec(D.CwIdInterval), " sec");
    Value(48, "Tone Freq:              %s %s", Dec(D.CwIdToneFreq), " Hz");
    Value(49, "CW ID:                  %s", D.CwIdText);

    Put(51, 2, "Signaling Type");
    Value(52, "DTMF:                   %s", List(dvSignaling, SignalingValue(D.DtmfTx, D.DtmfRx)));
    Value(53, "5-Tone:                 %s", List(dvSignaling, SignalingValue(D.FiveToneTx, D.FiveToneRx)));
    Value(54, "Mark Time:              %s %s", Dec(D.MarkTime), " ms");
    Value(55, "Space Time:             %s %s", Dec(D.SpaceTime), " ms");
    Value(56, "5-Tone Repeat Code:     %s", Hex(D.FiveToneRepeatCode));

    Put(58, 2, "ANI Parameters");
    Value(59, "ANI On:                 %s", List(dvAniOn, D.AniOn));
    Value(60, "ANI Delay Time:         %s %s", Dec(D.AniDelay * int64_t {5}), " ms");
    Value(61, "ANI Header Code:        %s", Hex(D.AniHeaderCode));
    Value(62, "ANI Code:               %s ", D.AniCode);

    Put(64, 2, "ENI Parameters");
    Value(65, "ENI Delay Time:         %s %s", Dec(D.EniDelay * int64_t {50}), " ms");
    Value(66, "ENI TX Time:            %s %s", Dec(D.EniTxTime), " sec");
    Value(67, "ENI RX Time:            %s %s", Dec(D.EniRxTime), " sec");
    Value(68, "ENI Dead Time:          %s %s", Dec(D.EniDeadTime), " sec");
    Value(69, "ENI Repeat Count:       %s ", Dec(D.EniRepeatCount));
    Value(70, "ENI Header Code:        %s", Hex(D.EniHeaderCode));
    Value(71, "ENI Code:               %s ", D.EniCode);
}

void TBuilder::TablesPage()
{
    NewPage();
    Put(4, 2, "5-Tone Table");
    for (int i = 0; i < 8; ++i)
        Put(5 + i, 4, Fmt("%X: %4d %s       %X: %4d %s", i, D.FiveToneTable[i], " Hz", i + 8,
                          D.FiveToneTable[i + 8], " Hz"));

    const char* const points = "                         Lowest  Low     High    Highest";
    using TFour = std::array<int, AlignPointCount>;
    const auto four = [this](int line, const char* format, const TFour& values) {
        Put(line, 4, Fmt(format, Hex2(values[0]).c_str(), Hex2(values[1]).c_str(),
                         Hex2(values[2]).c_str(), Hex2(values[3]).c_str()));
    };
    const auto frequencies = [this](int line, const char* format, const std::array<TDecimal, 4>& f) {
        Put(line, 4, Fmt(format, OneDecimal(f[0]).c_str(), OneDecimal(f[1]).c_str(),
                         OneDecimal(f[2]).c_str(), OneDecimal(f[3]).c_str()));
    };

    Put(15, 2, "Rx Adjustment");
    Put(16, 4, points);
    frequencies(17, "Rx Frequency (MHz):      %5s   %5s   %5s   %5s", D.RxAdjFreq);
    four(18, "Tuning:                  %-5s   %-5s   %-5s   %-5s", D.RxTuning);
    four(19, "SQL Threshold Level:     %-5s   %-5s   %-5s   %-5s", D.SqlThreshold);
    Value(21, "NSQ Threshold Level:    %s ", Hex2(D.NsqThreshold));
    Value(22, "SQL Hysteresis:         %s ", Hex2(D.SqlHysteresis));
    Value(23, "SQL Narrow Offset:      %s ", Hex2(D.SqlNarrowOffset));

    Put(26, 2, "Tx Adjustment");
    Put(27, 4, points);
    frequencies(28, "Tx Frequency (MHz):      %5s   %5s   %5s   %5s", D.TxAdjFreq);
    four(29, "Tx Power High:           %-5s   %-5s   %-5s   %-5s", D.TxPowerHigh);
    four(30, "Tx Power Low:            %-5s   %-5s   %-5s   %-5s", D.TxPowerLow);
    four(31, "Max Deviation Wide:      %-5s   %-5s   %-5s   %-5s", D.MaxDevWide);
    four(32, "Max Deviation Narrow:    %-5s   %-5s   %-5s   %-5s", D.MaxDevNarrow);
    four(33, "CTCSS Deviation Wide:    %-5s   %-5s   %-5s   %-5s", D.CtcssDevWide);
    four(34, "CTCSS Deviation Narrow:  %-5s   %-5s   %-5s   %-5s", D.CtcssDevNarrow);
    four(35, "DCSS Deviation Wide:     %-5s   %-5s   %-5s   %-5s", D.DcsDevWide);
    four(36, "DCSS Deviation Narrow:   %-5s   %-5s   %-5s   %-5s", D.DcsDevNarrow);
    Value(38, "Tx Power Display High:  %s ", Hex2(D.TxPowerDisplayHigh));
    Value(39, "Tx Power Display Low:   %s ", Hex2(D.TxPowerDisplayLow));

    Put(41, 2, "Tx Power Adjust");
    for (int i = 0; i < 8; ++i)
        Put(42 + i, 4, Fmt("Channel %2.2d: %s     Channel %2.2d: %s", i + 1, Hex2(D.TxPowerAdjust[i]).c_str(),
                           i + 9, Hex2(D.TxPowerAdjust[i + 8]).c_str()));

    Put(51, 2, "Alpha Tag");
    constexpr int rows = AlphaTagCount / 4;
    for (int j = 0; j < rows; ++j) {
        std::string text;
        for (int tag = j; tag < AlphaTagCount; tag += rows) {
            const int number = D.AlphaTagNumber[tag];
            const std::string& name = D.AlphaTagText[tag];
            text += Fmt("%s: %-8s    ", number < 0 ? "----" : ZeroPadded(number, 4).c_str(),
                        name.empty() ? "--------" : name.c_str());
        }
        Put(52 + j, 4, text);
    }
}

const char* const Data1Heading[3] = {
    "                  Decoders     Clk      NSQ   Court Rev DCS DDec  Multi  CWID  ",
    "  Ch  Rx Freq.   CTCSS DCS W/N Sft   Mode Lv  Blip  Bst Typ Type  Tone  ANI/ENI",
    "  --  ---.-----  ---.- ---  -  ---  ----- ---  ---  ---  -  -----  ---  -------",
};
const char* const Data2Heading[3] = {
    "      Action               Encoders Base Base        TX  TOT   RptTOT   RPT  RPT",
    "  Ch   Mode    Tx Freq.   CTCSS DCS TOT  Guard LOUT  Pwr Mute Use Beep  HT   GT",
    "  --  -------  ---.-----  ---.- ---  ---  ---  ----  --  ---  ---  ---  ---  ---",
};

std::string TBuilder::ChannelData1(const TChannel& ch) const
{
    const TToneTexts decoder = Tones(ch.DecoderIsDcs[0], ch.DecoderCode[0]);
    const std::string level = ch.NsqMode == 1 ? Dec(ch.NsqLevel) : "---";
    return Fmt("  %2d  %9s  %-5s %-3s  %s  %-3s  %-5s %3s  %-3s  %-3s  %s  %-5s  %-3s  %-7s", ch.Number,
               ChannelFreqText(D.ChStep, ch.RxFreq).c_str(), decoder.Ctcss.c_str(), decoder.Dcs.c_str(),
               List(dvBandwidth, ch.Bandwidth).c_str(), List(dvNoYes, ch.ClockShift).c_str(),
               List(dvNsqMode, ch.NsqMode).c_str(), level.c_str(), List(dvOffOn, ch.CourtesyBlip).c_str(),
               List(dvOffOn, ch.ReverseBurst).c_str(), List(dvDcsType, ch.DcsType).c_str(),
               List(dvDcsDecodeType, ch.DcsDecodeType).c_str(), List(dvNoYes, ch.MultiTone).c_str(),
               List(dvCwIdAniEni, ch.CwIdAniEni).c_str());
}

std::string TBuilder::ChannelData2(const TChannel& ch) const
{
    const char* const format = "  %2d  %-7s  %9s  %-5s %-3s  %-3s  %-3s  %4s  %2s  %-3s  %-3s  %-3s  %-3s  %-3s";
    const std::string mode = List(dvActionMode, ch.ActionMode);
    if (ch.TxInhibit)
        return Fmt(format, ch.Number, mode.c_str(), "Tx Inh", "---", "---", "---", "---", "----", "--", "---",
                   "---", "---", "---", "---");
    const TToneTexts encoder = Tones(ch.EncoderIsDcs[0], ch.EncoderCode[0]);
    return Fmt(format, ch.Number, mode.c_str(), ChannelFreqText(D.ChStep, ch.TxFreq).c_str(),
               encoder.Ctcss.c_str(), encoder.Dcs.c_str(), List(dvNoYes, ch.BaseTotOn).c_str(),
               List(dvNoYes, ch.BaseGuardOn).c_str(), List(dvTxLockout, ch.TxLockout).c_str(),
               List(dvTxPower, ch.TxPower).c_str(), List(dvOffOn, ch.TotMute).c_str(),
               List(dvNoYes, ch.RptTotUse).c_str(), List(dvNoYes, ch.TotBeep).c_str(),
               List(dvNoYes, ch.RptHangTimeOn).c_str(), List(dvNoYes, ch.RptGuardTimeOn).c_str());
}

// One block of the channel page: its title and heading with the first
// used channel, then a line per used channel. `line` is where the block
// starts and, after it, the line after its last line.
void TBuilder::ChannelBlock(int& line, const char* title, const char* const (&heading)[3], bool second)
{
    bool headed = false;
    for (const TChannel& ch : D.Channels) {
        if (!ch.Used)
            continue;
        if (!headed) {
            Put(line++, 2, title);
            for (const char* text : heading)
                Put(line++, 2, text);
            headed = true;
        }
        Put(line++, 2, second ? ChannelData2(ch) : ChannelData1(ch));
    }
}

void TBuilder::ChannelPage()
{
    NewPage();
    Put(4, 0, "***********************************    CHANNEL DATA   ***********************************");
    int line = 7;
    ChannelBlock(line, "CH DATA 1", Data1Heading, false);
    line += 4;  // four empty lines between the blocks
    ChannelBlock(line, "CH DATA 2", Data2Heading, true);
}

} // namespace

std::string ReportDate(int year, int month, int day)
{
    return Fmt("%d/%d/%04d", month, day, year);
}

std::vector<TReportPage> BuildReport(const TRKmem& doc, const TReportTitle& title)
{
    return TBuilder(doc, title).Build();
}

std::string DrawnLine(const TReportLine& line)
{
    return std::string(ReportLeftBlanks + std::max(line.Indent, 0), ' ') + line.Text;
}

std::string ReportText(const std::vector<TReportPage>& pages)
{
    std::string text;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            text += "\f\n";
        int next = 0;
        for (const TReportLine& line : pages[p].Lines) {
            for (; next < line.Line; ++next)
                text += '\n';
            text += DrawnLine(line) + '\n';
            next = line.Line + 1;
        }
    }
    return text;
}
