#include "model/U_ChannelRules.h"

#include "model/U_Values.h"

#include <algorithm>
#include <charconv>

namespace {

using C = TChannel;

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string MHzText(double mhz)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, mhz, std::chars_format::fixed, 5);
    return std::string(text, result.ptr);
}

int IndexOf(const std::vector<std::string>& list, const std::string& text)
{
    const auto at = std::find(list.begin(), list.end(), text);
    return at == list.end() ? -1 : int(at - list.begin());
}

void FillToneCells(TRowTexts& row, int ctcssColumn, int isDcs, int code)
{
    row[ctcssColumn] = "off";
    row[ctcssColumn + 1] = "off";
    row[isDcs == 0 ? ctcssColumn : ctcssColumn + 1] = ToneText(isDcs, code);
}

void FillListCells(TRowTexts& row, const TChannel& channel, int first, int last)
{
    for (int column = first; column <= last; ++column) {
        const TColumnDef& def = GridColumns[column];
        if (def.Field)
            row[column] = DisplayText(def.List, channel.*def.Field);
    }
}

// The grid keeps frequencies to whole kHz, as the image does; the exact
// decimal conversion avoids losing a kHz to binary rounding (146.52 must not
// come back as 146.519).
void StoreFrequency(const std::string& text, TDecimal& target)
{
    const int64_t hz = MHzToHz(TextToFloat(text));
    target.SetFromFloat(double(hz / 1000) / 1000.0);  // NOLINT(bugprone-integer-division): whole kHz
}

// A tone pair's entry 0; `used` is only ever set, as decoder and encoder
// share it.
void StoreTone(const TRowTexts& row, int ctcssColumn, int& isDcs, int& code, int& used)
{
    isDcs = 0;
    code = 0;
    const std::string ctcss = Trim(row[ctcssColumn]);
    const std::string dcs = Trim(row[ctcssColumn + 1]);
    if (ctcss != "off") {
        const int index = IndexOf(ToneTexts(dlCtcss), ctcss);
        if (index >= 0) {
            used = 1;
            code = index;
        }
    } else if (dcs != "off") {
        isDcs = 1;
        const int position = IndexOf(ToneTexts(dlDcs), dcs);
        if (position >= 0) {
            used = 1;
            code = position - 1;
        }
    }
}

void StoreListCells(const TRowTexts& row, TChannel& channel, int first, int last)
{
    for (int column = first; column <= last; ++column) {
        const TColumnDef& def = GridColumns[column];
        if (def.Field)
            channel.*def.Field = DisplayIndex(def.List, row[column]);
    }
}

void StoreTxSide(const TRowTexts& row, TChannel& channel)
{
    StoreFrequency(row[gcTxFreq], channel.TxFreq);
    StoreTone(row, gcEncCtcss, channel.EncoderIsDcs[0], channel.EncoderCode[0], channel.ToneEntryUsed[0]);
    StoreListCells(row, channel, gcEncDcs + 1, GridColumnCount - 1);
}

void PairRule(TRowTexts& row, int changed, int ctcssColumn)
{
    if (row[changed] != "off")
        row[changed == ctcssColumn ? ctcssColumn + 1 : ctcssColumn] = "off";
}

} // namespace

const std::array<TColumnDef, GridColumnCount> GridColumns = {{
    {nullptr, nullptr, 20, ekNone, 0, -1, nullptr},
    {nullptr, "Ch", 30, ekNone, 0, -1, nullptr},
    {nullptr, "Rx Freq", 100, ekFreq, 9, -1, nullptr},
    {nullptr, "CTCSS", 70, ekDialog, dlCtcss, -1, nullptr},
    {nullptr, "DCS", 40, ekDialog, dlDcs, -1, nullptr},
    {nullptr, "W/N", 30, ekList, dvBandwidth, dvBandwidth, &C::Bandwidth},
    {"Clk", "Sft", 40, ekList, dvNoYes, dvNoYes, &C::ClockShift},
    {nullptr, "Mode", 70, ekList, dvNsqMode, dvNsqMode, &C::NsqMode},
    {nullptr, "Lv", 40, ekLevel, 3, -1, nullptr},
    {"Court", "Blip", 40, ekList, dvOffOn, dvOffOn, &C::CourtesyBlip},
    {"Rev", "Bst", 40, ekList, dvOffOn, dvOffOn, &C::ReverseBurst},
    {"DCS", "Typ", 30, ekList, dvDcsType, dvDcsType, &C::DcsType},
    {"DDec", "Type", 44, ekList, dvDcsDecodeType, dvDcsDecodeType, &C::DcsDecodeType},
    {"Multi", "Tone", 44, ekDialog, dlMultiTone, dvNoYes, &C::MultiTone},
    {"CWID", "ANI/ENI", 70, ekList, dvCwIdAniEni, dvCwIdAniEni, &C::CwIdAniEni},
    {"Action", "Mode", 70, ekList, dvActionMode, dvActionMode, &C::ActionMode},
    {nullptr, "Tx Freq", 100, ekFreq, 9, -1, nullptr},
    {nullptr, "CTCSS", 70, ekDialog, dlCtcss, -1, nullptr},
    {nullptr, "DCS", 40, ekDialog, dlDcs, -1, nullptr},
    {"Base", "TOT", 40, ekList, dvNoYes, dvNoYes, &C::BaseTotOn},
    {"Base", "Guard", 40, ekList, dvNoYes, dvNoYes, &C::BaseGuardOn},
    {nullptr, "LOUT", 40, ekList, dvTxLockout, dvTxLockout, &C::TxLockout},
    {"TX", "Pwr", 40, ekList, dvTxPower, dvTxPower, &C::TxPower},
    {"TOT", "Mute", 40, ekList, dvOffOn, dvOffOn, &C::TotMute},
    {"Rpt", "Use", 40, ekList, dvNoYes, dvNoYes, &C::RptTotUse},
    {"TOT", "Beep", 40, ekList, dvNoYes, dvNoYes, &C::TotBeep},
    {"RPT", "HT", 40, ekList, dvNoYes, dvNoYes, &C::RptHangTimeOn},
    {"RPT", "GT", 40, ekList, dvNoYes, dvNoYes, &C::RptGuardTimeOn},
}};

const std::vector<std::string>& ToneTexts(int listCode)
{
    static const std::vector<std::string> ctcss = [] {
        std::vector<std::string> texts {"off"};
        const std::vector<std::string> tones = CtcssListNoOff();
        texts.insert(texts.end(), tones.begin(), tones.end());
        return texts;
    }();
    static const std::vector<std::string> dcs = DcsListWithOff();
    return listCode == dlDcs ? dcs : ctcss;
}

TRowTexts FillRow(const TChannel& channel, int channelIndex, int chStep)
{
    TRowTexts row;
    const std::string number = std::to_string(channelIndex + 1);
    row[gcCh] = number.size() < 2 ? " " + number : number;  // "%2d"
    row[gcRxFreq] = ChannelFreqText(chStep, channel.RxFreq);
    FillToneCells(row, gcDecCtcss, channel.DecoderIsDcs[0], channel.DecoderCode[0]);
    FillListCells(row, channel, gcDecDcs + 1, FirstTxColumn - 1);
    row[gcNsqLevel] = channel.NsqMode == 1 ? std::to_string(channel.NsqLevel) : "---";
    FillTxSide(row, channel, chStep);
    return row;
}

void FillTxSide(TRowTexts& row, const TChannel& channel, int chStep)
{
    if (channel.TxInhibit != 0) {
        row[gcTxFreq] = "Tx Inh";
        std::fill(row.begin() + gcTxFreq + 1, row.end(), "---");
        return;
    }
    row[gcTxFreq] = ChannelFreqText(chStep, channel.TxFreq);
    FillToneCells(row, gcEncCtcss, channel.EncoderIsDcs[0], channel.EncoderCode[0]);
    FillListCells(row, channel, gcEncDcs + 1, GridColumnCount - 1);
}

void StoreRow(const TRowTexts& row, TChannel& channel)
{
    StoreFrequency(row[gcRxFreq], channel.RxFreq);
    channel.ToneEntryUsed[0] = 0;
    StoreTone(row, gcDecCtcss, channel.DecoderIsDcs[0], channel.DecoderCode[0], channel.ToneEntryUsed[0]);
    StoreListCells(row, channel, gcDecDcs + 1, FirstTxColumn - 1);
    if (row[gcNsqLevel] != "---")
        channel.NsqLevel = std::atoi(row[gcNsqLevel].c_str());
    if (channel.TxInhibit == 0)
        StoreTxSide(row, channel);
}

bool CellEditable(const TChannel& channel, int column)
{
    if (channel.Used == 0)
        return false;
    return column < FirstTxColumn || channel.TxInhibit == 0;
}

std::string NextListText(int list, const std::string& text)
{
    const int count = DisplayCount(list);
    int next = 0;
    for (int i = 0; i < count; ++i)
        if (DisplayText(list, i) == text)
            next = (i + 1) % count;
    return DisplayText(list, next);
}

std::string NextCwIdAniEniText(const std::string& text, const TRKmem& doc)
{
    std::string off = DisplayText(dvCwIdAniEni, 0);
    std::string aniEni = DisplayText(dvCwIdAniEni, 1);
    const std::string cwId = DisplayText(dvCwIdAniEni, 2);
    if (text == off) {
        if (doc.DtmfTx == 1 || doc.DtmfRx == 1 || doc.FiveToneTx == 1 || doc.FiveToneRx == 1)
            return aniEni;
        return doc.CwIdEnable == 1 ? cwId : off;
    }
    if (text == aniEni)
        return doc.CwIdEnable == 1 ? cwId : off;
    return off;
}

void ToggleTxInhibit(TRowTexts& row, TChannel& channel, int chStep)
{
    if (channel.TxInhibit == 0) {
        StoreTxSide(row, channel);
        channel.TxInhibit = 1;
    } else {
        channel.TxInhibit = 0;
    }
    FillTxSide(row, channel, chStep);
}

void ApplyCellRules(TRowTexts& row, TChannel& channel, int column, const TRKmem& doc)
{
    switch (column) {
    case gcRxFreq:
        if (channel.TxInhibit != 0) {
            channel.TxInhibit = 0;
            FillTxSide(row, channel, doc.ChStep);
        }
        row[gcTxFreq] = row[gcRxFreq];
        row[gcClockShift] = DisplayText(dvNoYes, NearMultipleOf4MHz(TextToFloat(row[gcRxFreq])) ? 1 : 0);
        break;
    case gcDecCtcss:
    case gcDecDcs:
        PairRule(row, column, gcDecCtcss);
        break;
    case gcEncCtcss:
    case gcEncDcs:
        PairRule(row, column, gcEncCtcss);
        break;
    case gcNsqMode:
        row[gcNsqLevel] = row[gcNsqMode] != "Prpgm" ? std::to_string(channel.NsqLevel) : "---";
        break;
    default:
        break;
    }
    if (column == gcRxFreq || column == gcTxFreq) {
        const double rx = TextToFloat(row[gcRxFreq]);
        const double tx = TextToFloat(row[gcTxFreq]);
        channel.TxNearRx = FreqWithin50kHz(tx, rx) ? 1 : 0;
        channel.TxAboveRx = FreqAbove(tx, rx) ? 1 : 0;
    }
}

bool EditorAccepts(int editKind, char ch)
{
    if (ch >= '0' && ch <= '9')
        return true;
    return editKind == ekFreq && (ch == '.' || ch == ',' || ch == ' ');
}

std::string EditorChars(int editKind, const std::string& text)
{
    std::string kept;
    for (char ch : text)
        if (EditorAccepts(editKind, ch))
            kept += ch;
    return kept;
}

std::string EditorStartText(const std::string& cellText)
{
    return cellText == "----" ? std::string() : cellText;
}

namespace {

// The frequency a text means, snapped to the channel step, before the
// side's limits; TextToFloat reads ',' as the mark too, so both marks mean
// the same.
double SnappedFrequency(const std::string& text, const TRKmem& doc)
{
    const std::string kept = Trim(EditorChars(ekFreq, text));
    const double mhz = kept.empty() ? 0 : TextToFloat(kept);
    return mhz > 0 ? SnapFrequency(doc.ChStep, mhz) : mhz;
}

std::pair<double, double> FrequencyLimits(int column, const TRKmem& doc)
{
    const auto& limits = column == gcTxFreq ? doc.TxAdjFreq : doc.RxAdjFreq;
    return {limits[0].ToFloat(), limits[AlignPointCount - 1].ToFloat()};
}

} // namespace

bool FrequencyWithinLimits(const std::string& text, int column, const TRKmem& doc)
{
    const long long hz = MHzToHz(SnappedFrequency(text, doc));
    const auto [lowest, highest] = FrequencyLimits(column, doc);
    return hz >= MHzToHz(lowest) && hz <= MHzToHz(highest);
}

std::string NormaliseFrequency(const std::string& text, int column, const TRKmem& doc)
{
    double mhz = SnappedFrequency(text, doc);
    const auto [lowest, highest] = FrequencyLimits(column, doc);
    // Compared to the hertz, so that the limit itself is taken as it stands.
    if (MHzToHz(mhz) > MHzToHz(highest))
        mhz = highest;
    else if (MHzToHz(mhz) < MHzToHz(lowest))
        mhz = lowest;
    return MHzText(mhz);
}

std::string NormaliseLevel(const std::string& text)
{
    const std::string trimmed = Trim(text);
    const bool digits = !trimmed.empty()
                        && std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? trimmed : std::string();
}

std::string LevelText(long long value)
{
    return std::to_string(std::clamp<long long>(value, 0, MaxLevel));
}

int LevelValue(const std::string& digits)
{
    // Past three digits the value is above the limit whatever they are.
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    const std::string significant = digits.substr(first);
    return significant.size() > 3 ? MaxLevel : std::clamp(std::atoi(significant.c_str()), 0, MaxLevel);
}

std::optional<std::string> CellTextFor(int column, const std::string& clip, const TRKmem& doc)
{
    if (column <= 0 || column >= GridColumnCount || clip.empty())
        return std::nullopt;
    const TColumnDef& def = GridColumns[column];
    std::string text;
    switch (def.EditKind) {
    case ekList:
        if (DisplayIndex(def.List, clip) == 0 && DisplayText(def.List, 0) != clip)
            return std::nullopt;
        text = clip;
        break;
    case ekDialog:
        if (def.Param == dlMultiTone || IndexOf(ToneTexts(def.Param), clip) < 0)
            return std::nullopt;
        text = clip;
        break;
    case ekFreq: {
        // A text without a single digit is no frequency at all; it must not
        // pull the cell down to the band's lowest frequency.
        const std::string kept = EditorChars(ekFreq, clip);
        if (kept.find_first_of("0123456789") == std::string::npos)
            return std::nullopt;
        text = NormaliseFrequency(kept, column, doc);
        break;
    }
    case ekLevel: {
        const std::string digits = NormaliseLevel(clip);
        if (digits.empty())
            return std::nullopt;
        text = LevelText(LevelValue(digits));
        break;
    }
    default:
        return std::nullopt;
    }
    if (def.EditKind == ekFreq || def.EditKind == ekLevel)
        text = text.substr(0, size_t(def.Param));
    return text;
}

std::optional<std::string> PastedCellText(int column, const std::string& clip, const std::string& current,
                                          const TRKmem& doc)
{
    auto text = CellTextFor(column, clip, doc);
    if (text == current)
        return std::nullopt;
    return text;
}

std::string PastedEditorText(int editKind, const std::string& clip, int maxLength, int textLength,
                             int selectedLength)
{
    const int room = std::max(0, maxLength - textLength + selectedLength);
    return EditorChars(editKind, clip).substr(0, size_t(room));
}

void TDocHistory::Reset(const TRKmem& current)
{
    FUndo.clear();
    FRedo.clear();
    FLast = current;
}

bool TDocHistory::Record(const TRKmem& current)
{
    if (current == FLast)
        return false;
    FUndo.push_back(FLast);
    if (FUndo.size() > Depth)
        FUndo.erase(FUndo.begin());
    FRedo.clear();
    FLast = current;
    return true;
}

bool TDocHistory::Undo(TRKmem& current)
{
    Record(current);
    if (FUndo.empty())
        return false;
    FRedo.push_back(current);
    FLast = FUndo.back();
    FUndo.pop_back();
    current = FLast;
    return true;
}

bool TDocHistory::Redo(TRKmem& current)
{
    if (Record(current) || FRedo.empty())
        return false;
    FUndo.push_back(current);
    FLast = FRedo.back();
    FRedo.pop_back();
    current = FLast;
    return true;
}
