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
        // Without such a channel nobody is asked.
        TTestView prompt;
        EXPECT_EQ(NarrowBandCheck(doc, 2, prompt) == TNarrowBand::Unchanged, !c.Counts);
        EXPECT_EQ(prompt.Questions.empty(), !c.Counts);
        // The conversion narrows those and nothing else, once.
        EXPECT_EQ(ConvertToNarrowBand(doc), c.Counts);
        for (int i = 0; i < ChannelCount; ++i)
            ASSERT_EQ(doc.Channels[i].Bandwidth, i != 5 ? 1 : c.Counts ? 0 : c.Bandwidth) << i;
        EXPECT_FALSE(ConvertToNarrowBand(doc));
    }
}

// Which answer leads where, phase by phase and date by date, is the
// download's own test through the window; another market is never asked.
TEST(NarrowBand, NoQuestionForAnotherMarket)
{
    TTestView prompt;
    prompt.Answer = true;
    EXPECT_EQ(NarrowBandCheck(Document('E', 160.0, 160.0, 1), 2, prompt), TNarrowBand::Unchanged);
    EXPECT_TRUE(prompt.Questions.empty());
}

TEST(Checks, ManufacturePassword)
{
    EXPECT_TRUE(IsManufacturePassword("  OrvaneAlign \t"));
    EXPECT_FALSE(IsManufacturePassword("orvanealig"));
    EXPECT_FALSE(IsManufacturePassword("orvane align"));
}
