// The grid's editing rules on plain row texts, for the cases the grid tests
// do not reach: normalisation edges, stepping by the signalling switches,
// storing edited texts, paste into every column kind, the undo depth.
#include "model/U_ChannelRules.h"
#include "model/U_Values.h"
#include "support/Documents.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TRKmem Document(int chStep = 0)
{
    TRKmem doc = DefaultDocument();
    doc.ChStep = chStep;
    doc.RxAdjFreq[0].SetFromFloat(136.0);
    doc.RxAdjFreq[3].SetFromFloat(174.0);
    doc.TxAdjFreq[0].SetFromFloat(140.5);
    doc.TxAdjFreq[3].SetFromFloat(170.0);
    return doc;
}

TChannel Channel()
{
    TChannel c;
    c.Used = 1;
    c.RxFreq.SetFromFloat(146.52);
    c.TxFreq.SetFromFloat(146.52);
    c.NsqMode = 1;
    c.NsqLevel = 42;
    c.ToneEntryUsed[0] = 1;
    c.DecoderCode[0] = 13;  // 100.0
    c.EncoderIsDcs[0] = 1;
    c.EncoderCode[0] = 103;  // 754
    c.TxPower = 1;
    return c;
}

} // namespace

TEST(FrequencyNormalisation, MarksStepsAndLimits)
{
    // Typed text, column, channel step, text shown.
    struct TCase { const char* Typed; int Column; int ChStep; const char* Shown; } const cases[] = {
        {" 146.5213 ", gcRxFreq, 0, "146.52000"},       // nearer the 5 kHz raster
        {"146.524", gcRxFreq, 0, "146.52500"},          // a tie goes to 5 kHz
        {"146.0025", gcRxFreq, 1, "146.00250"},         // 2.5 kHz step pair
        {"146.0025", gcRxFreq, 0, "146.00500"},          // half up, and a tie to 5 kHz
        {"173.999", gcRxFreq, 0, "174.00000"},          // snapped, then limited
        {"", gcRxFreq, 0, "136.00000"},
        {"1.2.3", gcRxFreq, 0, "136.00000"},            // does not convert
        {"146 52", gcRxFreq, 0, "136.00000"},
        {"140", gcTxFreq, 0, "140.50000"},
    };
    for (const TCase& c : cases) {
        const TRKmem doc = Document(c.ChStep);
        EXPECT_EQ(NormaliseFrequency(c.Typed, c.Column, doc), c.Shown) << "'" << c.Typed << "'";
    }
}

TEST(LevelNormalisation, DigitsOnlyAndLimited)
{
    const std::pair<const char*, const char*> typed[] = {{" 42 ", "42"}, {"007", "007"}, {"4 2", ""}, {"-1", ""}, {"", ""}};
    for (const auto& [text, normalised] : typed)
        EXPECT_EQ(NormaliseLevel(text), normalised) << text;
    EXPECT_EQ(LevelText(300), "255");
    EXPECT_EQ(LevelText(-5), "0");
    EXPECT_EQ(LevelValue("0255"), 255);
    EXPECT_EQ(LevelValue("12345678901234567890"), 255);
}

TEST(Stepping, CwIdFollowsTheSignallingSwitches)
{
    EXPECT_EQ(NextListText(dvBandwidth, ""), "N");
    EXPECT_EQ(NextListText(dvNsqMode, "---"), "Prpgm");
    struct TCase { int CwId, DtmfTx, DtmfRx, FiveTx, FiveRx; const char* From; const char* To; } const cases[] = {
        {0, 0, 0, 0, 0, "off", "off"},
        {1, 0, 0, 0, 0, "off", "CW-ID"},
        {0, 1, 0, 0, 0, "off", "ANI/ENI"},
        {1, 0, 1, 0, 0, "off", "ANI/ENI"},
        {0, 0, 0, 1, 0, "off", "ANI/ENI"},
        {0, 0, 0, 0, 1, "off", "ANI/ENI"},
        {1, 1, 0, 0, 0, "ANI/ENI", "CW-ID"},
        {0, 1, 0, 0, 0, "ANI/ENI", "off"},
        {1, 1, 1, 1, 1, "CW-ID", "off"},
        {1, 1, 1, 1, 1, "", "off"},
    };
    for (const TCase& c : cases) {
        TRKmem doc = Document();
        doc.CwIdEnable = c.CwId;
        doc.DtmfTx = c.DtmfTx;
        doc.DtmfRx = c.DtmfRx;
        doc.FiveToneTx = c.FiveTx;
        doc.FiveToneRx = c.FiveRx;
        EXPECT_EQ(NextCwIdAniEniText(c.From, doc), c.To) << c.From << " cw " << c.CwId << " dtmf "
                                                         << c.DtmfTx << c.DtmfRx << " 5t " << c.FiveTx
                                                         << c.FiveRx;
    }
}

TEST(RowTexts, StoreKeepsWhatFillShowedAndTakesEdits)
{
    TChannel channel = Channel();
    channel.RxFreq.SetFromFloat(150.006);  // off the raster, whole kHz as an image holds it
    const TChannel filled = channel;
    TRowTexts row = FillRow(channel, 4, 0);
    EXPECT_EQ(row[gcCh], " 5");
    StoreRow(row, channel);
    EXPECT_TRUE(channel == filled);  // stored as filled: unchanged
    row[gcRxFreq] = "146.5249";  // a text not yet normalised is stored to the kHz
    StoreRow(row, channel);
    EXPECT_EQ(channel.RxFreq.Text(), "146.524");
    // Edited texts reach the fields; a text outside its list stores 0.
    row[gcDecCtcss] = "off";
    row[gcDecDcs] = "023";
    row[22] = "??";
    row[gcNsqLevel] = "200";
    StoreRow(row, channel);
    EXPECT_EQ(channel.DecoderIsDcs[0], 1);
    EXPECT_EQ(channel.DecoderCode[0], 0);
    EXPECT_EQ(channel.ToneEntryUsed[0], 1);
    EXPECT_EQ(channel.TxPower, 0);
    EXPECT_EQ(channel.NsqLevel, 200);
    // No tone on either side clears the entry.
    row[gcDecDcs] = "off";
    row[gcEncDcs] = "off";
    StoreRow(row, channel);
    EXPECT_EQ(channel.ToneEntryUsed[0], 0);
}

// The grid's own tests toggle what the grid set; a decoded image marks an
// inhibited transmitter with -1, which toggles back as well.
TEST(TxInhibit, TheDecodedMarkTogglesBack)
{
    TChannel channel = Channel();
    channel.TxInhibit = -1;
    TRowTexts row = FillRow(channel, 0, 0);
    ToggleTxInhibit(row, channel, 0);
    EXPECT_EQ(channel.TxInhibit, 0);
    EXPECT_EQ(row[gcTxFreq], "146.52000");
}

TEST(Paste, EveryColumnKind)
{
    const TRKmem doc = Document();
    // What the grid's own paste tests do not reach; nullopt: the paste is refused.
    struct TCase { int Column; const char* Clip; const char* Current; std::optional<std::string> Result; } const cases[] = {
        {5, "N", "N", std::nullopt},          // no change
        {21, "off", "BTLO", "off"},
        {gcDecCtcss, "254.1", "off", "254.1"},
        {gcDecCtcss, "023", "off", std::nullopt},  // a DCS code is no tone
        {gcEncDcs, "off", "754", "off"},
        {gcEncDcs, "67.0", "off", std::nullopt},
        {gcMultiTone, "yes", "no", std::nullopt},
        {gcCh, " 3", " 1", std::nullopt},
        {gcRxFreq, "146.52", "146.52000", std::nullopt},
        {gcRxFreq, "hello", "150.00000", std::nullopt},  // no digit: no frequency
        {gcNsqLevel, " 77 ", "42", "77"},
        {gcNsqLevel, "007", "42", "7"},
        {gcNsqLevel, "7a", "42", std::nullopt},
        {gcNsqLevel, "42", "42", std::nullopt},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PastedCellText(c.Column, c.Clip, c.Current, doc), c.Result) << c.Column << " '" << c.Clip << "'";
}

// A paste into an open editor: the characters its kind takes, cut to the
// room its text leaves beside the selection it replaces.
TEST(Paste, IntoAnOpenEditor)
{
    EXPECT_EQ(PastedEditorText(ekFreq, "6,52 MHz", 9, 2, 0), "6,52 ");
    EXPECT_EQ(PastedEditorText(ekFreq, "147.1234567890", 9, 9, 9), "147.12345");
    EXPECT_EQ(PastedEditorText(ekLevel, "2x5y9", 3, 1, 0), "25");
}

TEST(History, KeepsTheLatestSteps)
{
    TRKmem doc;
    TDocHistory history;
    history.Reset(doc);
    const int steps = int(TDocHistory::Depth) + 5;
    for (int i = 1; i <= steps; ++i) {
        doc.EniDelay = i;
        history.Record(doc);
    }
    int undone = 0;
    while (history.Undo(doc))
        ++undone;
    EXPECT_EQ(undone, int(TDocHistory::Depth));
    EXPECT_EQ(doc.EniDelay, 5);
}
