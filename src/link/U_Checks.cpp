#include "link/U_Checks.h"

#include <algorithm>
#include <cctype>

namespace {

// Inclusive ranges in whole MHz, compared exactly on the decimal digits so
// that 174.00000 is inside and 174.00100 is not.
struct TBand {
    int64_t Low;
    int64_t High;
};
constexpr TBand NarrowBands[] = {{150, 174}, {421, 512}};

bool InNarrowBand(const TDecimal& mhz)
{
    if (mhz.Sign < 0)
        return false;
    for (const TBand& band : NarrowBands) {
        if (mhz.IntPart >= band.Low && mhz.IntPart < band.High)
            return true;
        if (mhz.IntPart == band.High && mhz.FracPart == 0)
            return true;
    }
    return false;
}

constexpr int Narrow = 0;

bool WideInNarrowBand(const TChannel& ch)
{
    return ch.Bandwidth != Narrow && (InNarrowBand(ch.RxFreq) || InNarrowBand(ch.TxFreq));
}

// Each character of the password, one code higher.
constexpr char StoredPassword[] = "pswbofbmjho";

} // namespace

namespace NarrowBandMessages {
const char* const Caption = "Download";
const char* const Phase1 =
    "FCC Rule Caution!\r\n"
    "Your Data includes some Wide Bandwidth CHs in 150 - 174 or 421 - 512 MHz band.\r\n"
    "After Jan.1,2013, you must change their CHs to Narrow Bandwidth.\r\n"
    "Do you change their CHs to Narrow bandwidth automatically, and start Do you start downloading them?\r\n"
    "Yes : It will be change the bandwidth into Narrow and start downloading.\r\n"
    "No : It will start downloading (w/o changing the bandwidth)\r\n";
const char* const Phase2 =
    "FCC Rule Caution!\r\n"
    "Your Data includes some Wide Bandwidth CHs in 150 - 174 or 421 - 512 MHz band.\r\n"
    "After Jan.1,2013, you must change their CHs to Narrow Bandwidth.\r\n"
    "So, the Wide bandwidth CHs in your data was changed to Narrow bandwidth automatically.\r\n"
    "Do you start downloading them?\r\n";
}

int FccPhaseOf(const std::string& yyyymmdd)
{
    if (yyyymmdd >= "20130101")
        return 2;
    if (yyyymmdd >= "20110101")
        return 1;
    return 0;
}

bool HasWideNarrowBandChannel(const TRKmem& doc)
{
    return std::any_of(doc.Channels.begin(), doc.Channels.end(), WideInNarrowBand);
}

TNarrowBand NarrowBandCheck(const TRKmem& doc, int fccPhase, TPrompt& prompt)
{
    if (fccPhase == 0 || doc.MarketCode != 'U' || !HasWideNarrowBandChannel(doc))
        return TNarrowBand::Unchanged;
    const TAnswer answer = prompt.Ask(fccPhase == 1 ? NarrowBandMessages::Phase1 : NarrowBandMessages::Phase2);
    // Backing out of the notice agrees to neither a conversion nor a download.
    if (answer == TAnswer::Cancel)
        return TNarrowBand::Dismissed;
    if (answer == TAnswer::Yes)
        return TNarrowBand::NarrowThenDownload;
    return fccPhase == 1 ? TNarrowBand::Unchanged : TNarrowBand::NarrowOnly;
}

bool ConvertToNarrowBand(TRKmem& doc)
{
    bool changed = false;
    for (TChannel& ch : doc.Channels)
        if (WideInNarrowBand(ch)) {
            ch.Bandwidth = Narrow;
            changed = true;
        }
    return changed;
}

TDownloadStart PrepareDownload(TRKmem& doc, int fccPhase, TPrompt& prompt)
{
    const TNarrowBand answer = NarrowBandCheck(doc, fccPhase, prompt);
    TDownloadStart start;
    start.Download = answer == TNarrowBand::Unchanged || answer == TNarrowBand::NarrowThenDownload;
    if (answer == TNarrowBand::NarrowThenDownload || answer == TNarrowBand::NarrowOnly)
        start.Converted = ConvertToNarrowBand(doc);
    return start;
}

bool IsManufacturePassword(const std::string& typed)
{
    std::string text = typed;
    const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notBlank));
    text.erase(std::find_if(text.rbegin(), text.rend(), notBlank).base(), text.end());
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    std::string password(StoredPassword);
    for (char& c : password)
        c = char(c - 1);
    return text == password;
}
