#include "model/U_Values.h"
#include "model/U_Format.h"
#include "model/dc_Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

struct TDisplayList {
    int Count;
    const char* Texts[5];
};

const TDisplayList DisplayLists[DisplayRowCount] = {
    {2, {"N", "W"}},
    {2, {"no", "yes"}},
    {3, {"off", "BCLO", "BTLO"}},
    {2, {"Hi", "Lo"}},
    {2, {"off", "on"}},
    {2, {"Prpgm", "User"}},
    {2, {"A", "B"}},
    {2, {"Fixed", "Auto"}},
    {2, {"Simplex", "Duplex"}},
    {3, {"off", "ANI/ENI", "CW-ID"}},
    {2, {"VHF", "UHF"}},
    {2, {"Lower", "Upper"}},
    {2, {"High/Low", "Acc"}},
    {2, {"Noise", "Quiet"}},
    {2, {"5/6.25kHz", "2.5/6.25kHz"}},
    {2, {"25 W", "50 W"}},
    {2, {"Disable", "Enable"}},
    {2, {"High/Low Pwr", "Acc"}},
    {2, {"Noize", "Quiet"}},
    {4, {"off", "RX Enable", "TX Enable", "RX/TX Enable"}},
    {4, {"None", "TX Off", "TX On", "TX On/Off"}},
    {2, {"Not installed", "Installed"}},
    {0, {}},
};

// The last eight tones were added after the rest and are not in order.
const char* const CtcssTones[CtcssCount] = {
    "off", "67.0", "69.3", "71.9", "74.4", "77.0", "79.7", "82.5", "85.4", "88.5", "91.5",
    "94.8", "97.4", "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9",
    "186.2", "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3", "159.8",
    "183.5", "189.9", "196.6", "199.5", "206.5", "229.1", "254.1"};

const char* const DcsCodes[DcsCount] = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071",
    "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145",
    "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225", "226", "243",
    "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271", "274", "306",
    "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365", "371", "411",
    "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462", "464", "465",
    "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

const int ChannelSteps[2][2] = {{5000, 6250}, {2500, 6250}};

bool ParseInteger(const std::string& text, int64_t& value)
{
    const std::string t = Trimmed(text);
    if (t.empty())
        return false;
    const char* begin = t.data();
    if (*begin == '+')
        ++begin;
    const auto [end, error] = std::from_chars(begin, t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size();
}

} // namespace

const char* const FiveToneStandardNames[9] = {"ZVEI1", "ZVEI2", "ZVEI3", "PZVEI", "DZVEI",
                                              "EEA", "CCIR", "EIA", "USER"};

std::string DisplayText(int row, int value)
{
    if (row < 0 || row >= DisplayRowCount || value < 0 || value > 4)
        return {};
    const char* text = DisplayLists[row].Texts[value];
    return text ? text : "";
}

int DisplayIndex(int row, const std::string& text)
{
    if (row < 0 || row >= DisplayRowCount)
        return 0;
    for (int i = 0; i < DisplayLists[row].Count; ++i)
        if (text == DisplayLists[row].Texts[i])
            return i;
    return 0;
}

int DisplayCount(int row)
{
    return row >= 0 && row < DisplayRowCount ? DisplayLists[row].Count : 0;
}

int SignalingValue(int txFlag, int rxFlag)
{
    return (txFlag ? 2 : 0) + (rxFlag ? 1 : 0);
}

std::string CtcssText(int code)
{
    return code >= 0 && code < CtcssCount ? CtcssTones[code] : "";
}

std::string DcsText(int code)
{
    return code >= 0 && code < DcsCount ? DcsCodes[code] : "";
}

std::string ToneText(int isDcs, int code)
{
    return isDcs ? DcsText(code) : CtcssText(code);
}

std::vector<std::string> CtcssListNoOff()
{
    return {CtcssTones + 1, CtcssTones + CtcssCount};
}

std::vector<std::string> DcsListWithOff()
{
    std::vector<std::string> list {"off"};
    list.insert(list.end(), DcsCodes, DcsCodes + DcsCount);
    return list;
}

int ChannelStepHz(int chStep, int which)
{
    return ChannelSteps[chStep == 1 ? 1 : 0][which == 1 ? 1 : 0];
}

int64_t MHzToHz(double mhz)
{
    TDecimal d;
    d.SetFromFloat(mhz);
    return d.Sign * d.TruncatedTo(6);
}

double SnapFrequency(int step, double mhz)
{
    constexpr int64_t Highest = 999999990;
    const int64_t hz = MHzToHz(mhz);
    int64_t best = 0;
    int64_t bestDistance = -1;
    for (int k = 0; k < 2; ++k) {
        const int64_t s = ChannelStepHz(step, k);
        int64_t c = hz / s;
        if (hz >= c * s + s / 2)
            ++c;
        if (c * s > Highest)
            c = Highest / s;
        const int64_t distance = std::llabs(c * s - hz);
        // A tie goes to the first step of the pair.
        if (bestDistance < 0 || distance < bestDistance) {
            best = c * s;
            bestDistance = distance;
        }
    }
    return static_cast<double>(best) / 1000000.0;
}

std::string ChannelFreqText(int chStep, const TDecimal& freq)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, SnapFrequency(chStep, freq.ToFloat()),
                                      std::chars_format::fixed, 5);
    return std::string(text, result.ptr);
}

bool NearMultipleOf4MHz(double mhz)
{
    const int64_t r = (MHzToHz(mhz) + 25000) % 4000000;
    return r >= 0 && r < 50000;
}

bool FreqAbove(double a, double b)
{
    return MHzToHz(a) - MHzToHz(b) > 0;
}

bool FreqWithin50kHz(double a, double b)
{
    return std::llabs(MHzToHz(a) - MHzToHz(b)) < 50000;
}

double TextToFloat(const std::string& text)
{
    std::string t = Trimmed(text);
    for (char& c : t)
        if (c == ',')
            c = '.';
    if (t.empty() || t.find_first_of("eEnNiIxX") != std::string::npos)
        return 0;
    const char* begin = t.data();
    if (*begin == '+')
        ++begin;
    double value = 0;
    const auto [end, error] = std::from_chars(begin, t.data() + t.size(), value);
    if (error != std::errc() || end != t.data() + t.size() || !std::isfinite(value))
        return 0;
    return value;
}

int HexToInt(const std::string& text)
{
    unsigned value = 0;
    for (char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        value = value * 16 + digit;
    }
    return static_cast<int>(value);
}

bool IsNonNegativeInteger(const std::string& text)
{
    int64_t value = 0;
    return ParseInteger(text, value) && value >= 0 && value <= INT32_MAX;
}

bool IsInteger(const std::string& text)
{
    int64_t value = 0;
    return ParseInteger(text, value) && value >= INT32_MIN && value <= INT32_MAX;
}

int64_t Trunc(double x)
{
    if (!(x == x))
        return 0;
    if (x >= 9.2e18)
        return INT64_MAX;
    if (x <= -9.2e18)
        return INT64_MIN;
    return static_cast<int64_t>(std::trunc(x));
}
