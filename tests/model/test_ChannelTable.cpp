// The channel CSV: that an import gives back the same image bytes, how
// files written by spreadsheets are read, and that a bad cell is refused
// with its row and column and the document untouched. What an export holds
// is held byte for byte by the corpus (tests/corpus/full.csv).
#include "model/U_ChannelTable.h"
#include "support/Documents.h"
#include "model/U_Values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every kind of cell away from its default, through values the grid can
// show: tones of both kinds, a level, a transmitter inhibited, multi-tone
// slots, a switched-off channel, the last channel.
TRKmem RichChannels()
{
    TRKmem doc = DefaultDocument();
    TChannel& a = doc.Channels[0];
    a.RxFreq.SetFromFloat(155.52);
    a.TxFreq.SetFromFloat(156.0);
    a.ToneEntryUsed[0] = 1;
    a.DecoderCode[0] = 13;  // 100.0
    a.EncoderIsDcs[0] = 1;
    a.EncoderCode[0] = 103; // 754
    a.NsqMode = 1;
    a.NsqLevel = 200;
    a.Bandwidth = 1;
    a.TxPower = 1;
    a.MultiTone = 1;
    a.ToneEntryUsed[3] = 1;
    a.DecoderCode[3] = 5;
    a.EncoderIsDcs[3] = 1;
    a.EncoderCode[3] = 7;
    a.ToneEntryUsed[15] = 1;
    a.DecoderIsDcs[15] = 1;
    a.DecoderCode[15] = 0;
    // An inhibited transmitter's values are not in the file; these are the
    // ones the grid leaves behind when Rx is typed and then Tx Inh set.
    TChannel& b = doc.Channels[1];
    b.Used = 1;
    b.TxInhibit = -1;
    b.RxFreq.SetFromFloat(155.125);
    b.TxFreq.SetFromFloat(155.125);
    b.ActionMode = 1;
    TChannel& off = doc.Channels[5];
    off.Used = 0;
    off.RxFreq.SetFromFloat(160.0);
    off.CourtesyBlip = 1;
    doc.Channels[15].Used = 1;
    doc.Channels[15].ReverseBurst = 1;
    // The flags the grid keeps beside the two frequencies it was given.
    for (TChannel* edited : {&a, &b, &off}) {
        TChannel& c = *edited;
        c.TxNearRx = FreqWithin50kHz(c.TxFreq.ToFloat(), c.RxFreq.ToFloat()) ? 1 : 0;
        c.TxAboveRx = FreqAbove(c.TxFreq.ToFloat(), c.RxFreq.ToFloat()) ? 1 : 0;
    }
    return doc;
}

std::string Csv(std::initializer_list<std::string> lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

} // namespace

TEST(ChannelCsv, ImportOfAnExportIntoANewDocument)
{
    // An import into the document it came from is held byte for byte by
    // Rk54.ChannelsTravelThroughCsv; into a new document every channel field
    // the grid shows travels with the file.
    const TRKmem rich = RichChannels();
    const std::string csv = WriteChannelsCsv(rich);
    TRKmem fresh = DefaultDocument();
    const TCsvImport intoNew = ReadChannelsCsv(csv, fresh);
    ASSERT_TRUE(intoNew.Applied) << (intoNew.Errors.empty() ? "" : intoNew.Errors.front());
    EXPECT_TRUE(intoNew.UnknownColumns.empty());
    EXPECT_EQ(ImageOf(fresh).Content(), ImageOf(rich).Content());
}

// An inhibited transmitter shows "---" in its encoder columns; slot 1's
// encoder is the one cell of the export that holds its kept tone, and an
// import takes it back from there, into a document whose tone was changed
// as into a new one.
TEST(ChannelCsv, AnImportRestoresAnInhibitedTransmittersTone)
{
    TRKmem exported = RichChannels();
    TChannel& inhibited = exported.Channels[1];
    inhibited.ToneEntryUsed[0] = 1;
    inhibited.EncoderIsDcs[0] = 1;
    inhibited.EncoderCode[0] = 20;  // 125
    TRKmem edited = exported;
    edited.Channels[1].EncoderIsDcs[0] = 0;
    edited.Channels[1].EncoderCode[0] = 3;
    for (TRKmem target : {edited, DefaultDocument()}) {
        const TCsvImport result = ReadChannelsCsv(WriteChannelsCsv(exported), target);
        ASSERT_TRUE(result.Applied) << (result.Errors.empty() ? "" : result.Errors.front());
        EXPECT_EQ(ImageOf(target).Content(), ImageOf(exported).Content());
    }
}

TEST(ChannelCsv, SpreadsheetStyles)
{
    struct TCase {
        const char* Name;
        std::string Text;
    } const cases[] = {
        {"semicolons, decimal comma, byte order mark, CRLF",
         "\xEF\xBB\xBF" + Csv({"Ch;Used;Rx Freq;Decoders CTCSS", "3;yes;155,52;100.0"})},
        {"tabs, LF, columns in another order",
         Csv({"Decoders CTCSS\tRx Freq\tUsed\tCh", "100.0\t155.52\tyes\t3"}, "\n")},
        {"quoted fields and captions in other case",
         Csv({"\"ch\",\"USED\",\"rx  freq\",\"Decoders CTCSS\"", "\"3\",\"yes\",\"155.520\",\"100.0\""})},
        {"no channel column: rows in channel order",
         Csv({"Used,Rx Freq,Decoders CTCSS", "yes,161.00000,off", "no,161.00000,off", "yes,155.52,100.0"})},
    };
    const TRKmem before = DefaultDocument();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRKmem doc = before;
        const TCsvImport result = ReadChannelsCsv(c.Text, doc);
        ASSERT_TRUE(result.Applied) << (result.Errors.empty() ? "" : result.Errors.front());
        const TChannel& ch = doc.Channels[2];
        EXPECT_EQ(ch.Used, 1);
        EXPECT_EQ(ch.RxFreq.Text(), "155.52");
        EXPECT_EQ(ch.DecoderCode[0], 13);
        EXPECT_EQ(ch.ToneEntryUsed[0], 1);
        // Columns the file lacks leave their fields alone.
        EXPECT_EQ(ch.TxPower, before.Channels[2].TxPower);
        for (int other : {0, 1, 3, 15})
            EXPECT_EQ(doc.Channels[other].Used, before.Channels[other].Used) << other;
    }
}

TEST(ChannelCsv, BadCellsRefuseTheWholeFile)
{
    struct TCase {
        const char* Name;
        std::string Text;
        std::string Error;
    } const cases[] = {
        {"unknown tone", Csv({"Ch,Encoders CTCSS", "1,99.9"}),
         "row 2, column \"Encoders CTCSS\", \"99.9\": not a value of this column"},
        {"transmit cell of an inhibited channel", Csv({"Ch,Tx Freq,TX Pwr", "2,Tx Inh,Lo"}),
         "row 2, column \"TX Pwr\", \"Lo\": the transmitter is inhibited (Tx Inh)"},
        {"slot 1 is the channel's own tone", Csv({"Ch,Tone 1 Dec", "1,88.5"}),
         "row 2, column \"Tone 1 Dec\", \"88.5\": slot 1 is the channel's own tone: set it in the CTCSS and DCS columns"},
        {"used flag", Csv({"Ch,Used", "1,maybe"}), "row 2, column \"Used\", \"maybe\": takes yes or no"},
        {"channel number", Csv({"Ch,Used", "17,yes"}), "row 2, column \"Ch\", \"17\": not a channel number 1 to 16"},
        {"channel twice", Csv({"Ch,Used", "1,yes", "1,no"}), "row 3: channel 1 appears twice"},
        {"seventeen rows", Csv({"Used", "yes", "yes", "yes", "yes", "yes", "yes", "yes", "yes", "yes", "yes", "yes",
                                "yes", "yes", "yes", "yes", "yes", "yes"}),
         "row 18: more rows than the 16 channels"},
        {"empty file", "", "the file holds no header line"},
    };
    const TRKmem rich = RichChannels();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRKmem doc = rich;
        const TCsvImport result = ReadChannelsCsv(c.Text, doc);
        EXPECT_FALSE(result.Applied);
        ASSERT_FALSE(result.Errors.empty()) << "taken without a word";
        EXPECT_EQ(result.Errors.back(), c.Error);
        EXPECT_EQ(ImageOf(doc).Content(), ImageOf(rich).Content());
    }
}

TEST(ChannelTable, BlockTextRoundTrip)
{
    const std::vector<std::vector<std::string>> block {{"155.52000", "100.0"}, {"", "off"}};
    EXPECT_EQ(BlockText(block), "155.52000\t100.0\n\toff\n");
    EXPECT_EQ(ParseBlockText("155.52000\t100.0\r\n\toff\n"), block);
    EXPECT_EQ(ParseBlockText("one"), (std::vector<std::vector<std::string>> {{"one"}}));
}
