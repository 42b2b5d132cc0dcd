// The narrow-band check before a download and the manufacture password.
#include "U_Checks.h"

#include <gtest/gtest.h>

namespace {

class TScriptedPrompt : public TPrompt {
public:
    explicit TScriptedPrompt(bool answer) : Answer(answer) {}
    void Error(const std::string& text) override { Shown.push_back(text); }
    void Information(const std::string& text) override { Shown.push_back(text); }
    bool Confirm(const std::string& text) override
    {
        Shown.push_back(text);
        return Answer;
    }
    bool Answer;
    std::vector<std::string> Shown;
};

TRKmem Document(int market, double rx, double tx, int bandwidth)
{
    TRKmem doc;
    doc.MarketCode = market;
    for (TChannel& ch : doc.Channels) {
        ch.RxFreq.SetFromFloat(300.0);
        ch.TxFreq.SetFromFloat(305.0);
        ch.Bandwidth = 1;
    }
    doc.Channels[5].RxFreq.SetFromFloat(rx);
    doc.Channels[5].TxFreq.SetFromFloat(tx);
    doc.Channels[5].Bandwidth = bandwidth;
    return doc;
}

} // namespace

TEST(NarrowBand, WhichChannelsCount)
{
    const struct {
        double Rx, Tx;
        int Bandwidth;
        bool Counts;
    } cases[] = {
        {174.0, 140.0, 1, true},   {174.001, 140.0, 1, false}, {150.0, 140.0, 1, true},
        {149.999, 140.0, 1, false}, {100.0, 421.0, 1, true},    {100.0, 512.0, 1, true},
        {100.0, 512.00001, 1, false}, {160.0, 460.0, 0, false}, {300.0, 600.0, 1, false},
    };
    for (const auto& c : cases) {
        const TRKmem doc = Document('U', c.Rx, c.Tx, c.Bandwidth);
        EXPECT_EQ(HasWideNarrowBandChannel(doc), c.Counts) << c.Rx << " " << c.Tx;
    }
}

TEST(NarrowBand, CheckByPhaseMarketAndAnswer)
{
    const struct {
        int Market, Phase;
        bool Answer;
        int Result;
        const char* Message;
    } cases[] = {
        {'U', 0, true, 0, nullptr},
        {'E', 2, true, 0, nullptr},
        {'U', 1, true, 1, NarrowBandMessages::Phase1},
        {'U', 1, false, 0, NarrowBandMessages::Phase1},
        {'U', 2, true, 1, NarrowBandMessages::Phase2},
        {'U', 2, false, 2, NarrowBandMessages::Phase2},
    };
    for (const auto& c : cases) {
        TScriptedPrompt prompt(c.Answer);
        // 160 MHz wide in the middle of the first range.
        EXPECT_EQ(NarrowBandCheck(Document(c.Market, 160.0, 160.0, 1), c.Phase, prompt), c.Result);
        EXPECT_EQ(prompt.Shown, c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{});
    }
    TScriptedPrompt prompt(true);
    EXPECT_EQ(NarrowBandCheck(Document('U', 300.0, 300.0, 1), 2, prompt), 0);
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST(NarrowBand, ConversionNarrowsOnlyTheChannelsInRange)
{
    TRKmem doc = Document('U', 300.0, 460.0, 1);  // channel 5 by its Tx frequency
    EXPECT_TRUE(ConvertToNarrowBand(doc));
    for (int i = 0; i < ChannelCount; ++i)
        EXPECT_EQ(doc.Channels[i].Bandwidth, i == 5 ? 0 : 1) << i;
    EXPECT_FALSE(ConvertToNarrowBand(doc));
}

TEST(NarrowBand, MessagesAreTheSystemsLines)
{
    EXPECT_EQ(std::string(NarrowBandMessages::Phase2),
              "FCC Rule Caution!\r\n"
              "Your Data includes some Wide Bandwidth CHs in 150 - 174 or 421 - 512 MHz band.\r\n"
              "After Jan.1,2013, you must change their CHs to Narrow Bandwidth.\r\n"
              "So, the Wide bandwidth CHs in your data was changed to Narrow bandwidth automatically.\r\n"
              "Do you start downloading them?\r\n");
}

TEST(Checks, FccPhaseByDate)
{
    EXPECT_EQ(FccPhaseOf("20101231"), 0);
    EXPECT_EQ(FccPhaseOf("20110101"), 1);
    EXPECT_EQ(FccPhaseOf("20121231"), 1);
    EXPECT_EQ(FccPhaseOf("20130101"), 2);
    EXPECT_EQ(FccPhaseOf("20261206"), 2);
}

TEST(Checks, ManufacturePassword)
{
    EXPECT_TRUE(IsManufacturePassword("orvanealign"));
    EXPECT_TRUE(IsManufacturePassword("  OrvaneAlign \t"));
    EXPECT_FALSE(IsManufacturePassword("orvanealig"));
    EXPECT_FALSE(IsManufacturePassword("orvane align"));
    EXPECT_FALSE(IsManufacturePassword(""));
}
