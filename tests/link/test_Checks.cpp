// The narrow-band check before a download and the manufacture password.
#include "support/LinkTestKit.h"
#include "link/U_Checks.h"

#include <gtest/gtest.h>

namespace {

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

TEST(NarrowBand, WhichChannelsCountAndGoNarrow)
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
        SCOPED_TRACE(std::to_string(c.Rx) + " " + std::to_string(c.Tx));
        TRKmem doc = Document('U', c.Rx, c.Tx, c.Bandwidth);
        EXPECT_EQ(HasWideNarrowBandChannel(doc), c.Counts);
        // The conversion narrows those and nothing else, once.
        EXPECT_EQ(ConvertToNarrowBand(doc), c.Counts);
        for (int i = 0; i < ChannelCount; ++i)
            ASSERT_EQ(doc.Channels[i].Bandwidth, i != 5 ? 1 : c.Counts ? 0 : c.Bandwidth) << i;
        EXPECT_FALSE(ConvertToNarrowBand(doc));
    }
}

TEST(NarrowBand, CheckByPhaseMarketAndAnswer)
{
    const struct {
        int Market, Phase;
        bool Answer, Dismissed;
        TNarrowBand Result;
        const char* Message;
    } cases[] = {
        {'U', 0, true, false, TNarrowBand::Unchanged, nullptr},
        {'E', 2, true, false, TNarrowBand::Unchanged, nullptr},
        {'U', 1, true, false, TNarrowBand::NarrowThenDownload, NarrowBandMessages::Phase1},
        {'U', 1, false, false, TNarrowBand::Unchanged, NarrowBandMessages::Phase1},
        {'U', 1, false, true, TNarrowBand::Dismissed, NarrowBandMessages::Phase1},
        {'U', 2, true, false, TNarrowBand::NarrowThenDownload, NarrowBandMessages::Phase2},
        {'U', 2, false, false, TNarrowBand::NarrowOnly, NarrowBandMessages::Phase2},
        {'U', 2, false, true, TNarrowBand::Dismissed, NarrowBandMessages::Phase2},
    };
    for (const auto& c : cases) {
        TTestView prompt;
        prompt.Answer = c.Answer;
        prompt.Dismissed = c.Dismissed;
        // 160 MHz wide in the middle of the first range.
        EXPECT_EQ(NarrowBandCheck(Document(c.Market, 160.0, 160.0, 1), c.Phase, prompt), c.Result);
        EXPECT_EQ(prompt.Questions, c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{});
        EXPECT_TRUE(prompt.Errors.empty() && prompt.Infos.empty());
    }
    TTestView prompt;
    prompt.Answer = true;
    EXPECT_EQ(NarrowBandCheck(Document('U', 300.0, 300.0, 1), 2, prompt), TNarrowBand::Unchanged);
    EXPECT_TRUE(prompt.Questions.empty());
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
