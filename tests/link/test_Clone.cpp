// Upload and download against the simulated repeater on a pseudo-terminal.
#include "LinkTestKit.h"
#include "U_Clone.h"
#include "dc_RsDrv.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

TBytes Repeat(uint8_t command, int times)
{
    return TBytes(size_t(times), command);
}

TBytes Joined(std::initializer_list<TBytes> parts)
{
    TBytes all;
    for (const TBytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

int CountOf(const std::vector<TBytes>& units, uint8_t command)
{
    return int(std::count_if(units.begin(), units.end(), [&](const TBytes& u) { return u.at(0) == command; }));
}

uint8_t SumOf(const uint8_t* bytes, int from, int to)
{
    return uint8_t(std::accumulate(bytes + from, bytes + to + 1, 0u));
}

void ExpectSameDocument(const TRKmem& a, const TRKmem& b)
{
    EXPECT_EQ(ImageOf(a).Content(), ImageOf(b).Content());
    EXPECT_TRUE(a.Channels == b.Channels);
    EXPECT_EQ(a.SerialNo, b.SerialNo);
    EXPECT_EQ(a.AlphaTagText, b.AlphaTagText);
}

bool PortIsFree(const QString& port)
{
    TCRsDrv probe;
    const bool free = probe.Open(port) == RsOk;
    probe.Close();
    return free;
}

} // namespace

TEST(Upload, ReadsTheFourAreasAndReplacesDocumentAndImage)
{
    TMap54 memory = ImageOf(RichDocument(0));
    // What the transfer does not move must not reach the program.
    for (int a = Image54::ChecksumB; a < Image54::EndMarker; ++a)
        memory[a] = 0xA5;
    memory[Image54::EndMarker] = 0x00;
    TSimRig sim(memory);
    TRKmem doc = RichDocument(1);
    TMap54 image = ImageOf(doc);
    TTestView view;

    const TTransferResult result = Upload(sim.Port(), doc, image, view);

    EXPECT_TRUE(result.Succeeded());
    EXPECT_TRUE(result.Replaced);
    TMap54 expected;
    expected.Clear();
    std::copy_n(memory.Data(), CloneSize, expected.Data());
    expected[Image54::EndMarker] = Image54::Marker;
    EXPECT_EQ(image.Content(), expected.Content());
    TRKmem expectedDoc;
    ASSERT_TRUE(expected.Decode(expectedDoc));
    ExpectSameDocument(doc, expectedDoc);

    EXPECT_EQ(view.Infos, std::vector<std::string>{"Upload is completed"});
    EXPECT_TRUE(view.Errors.empty());
    EXPECT_EQ(view.ProgressSteps(),
              (std::vector<int>{0, 8, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33}));
    EXPECT_EQ(view.Begun, std::vector<TLinkView::TDirection>{TLinkView::UploadDirection});
    EXPECT_EQ(view.Ended, 1);

    const auto units = sim->Received();
    EXPECT_EQ(Commands(units), Joined({{0x02, 0x06, 0x12, 0x22}, Repeat(0x42, 16), {0x27, 0x03, 0x06},
                                       Repeat(0x62, 48), {0x28}}));
    ASSERT_EQ(units.size(), 2u + 2 + 16 + 3 + 48 + 1);
    EXPECT_EQ(units[2], (TBytes{0x12, 0x00, 0x02, 0x00, 0x14}));
    EXPECT_EQ(units[3], (TBytes{0x22, 0x00, 0x02, 0x00, 0x24}));
    EXPECT_EQ(units[4 + 15], (TBytes{0x42, 0x00, 0x02, 0x0F, 0x53}));
    EXPECT_EQ(units[23 + 47], (TBytes{0x62, 0x00, 0x02, 0x30, 0x94}));
    EXPECT_TRUE(PortIsFree(sim.Port()));
}

struct TDownloadCase {
    TProgramMode Mode;
    TBytes Commands;
    int FirstWritten;  // image bytes from here on reach the repeater,
    int LastWritten;   // up to here
    std::vector<int> Progress;
};

void PrintTo(const TDownloadCase& c, std::ostream* os)
{
    *os << "mode " << int(c.Mode);
}

class DownloadMode : public ::testing::TestWithParam<TDownloadCase> {};

TEST_P(DownloadMode, SendsTheAreasOfTheModeFrameByFrame)
{
    const TDownloadCase& c = GetParam();
    const TMap54 before = ImageOf(RichDocument(1));
    TSimRig sim(before);
    const TRKmem doc = RichDocument(0);
    TMap54 image;
    TTestView view;

    const TTransferResult result = Download(sim.Port(), doc, image, c.Mode, view);

    EXPECT_TRUE(result.Succeeded());
    EXPECT_FALSE(result.Replaced);
    EXPECT_EQ(image.Content(), ImageOf(doc).Content());  // the image keeps the encoded document
    EXPECT_EQ(view.Infos, std::vector<std::string>{"Download is completed"});
    EXPECT_TRUE(view.Errors.empty());
    EXPECT_EQ(view.ProgressSteps(), c.Progress);

    const auto units = sim->Received();
    EXPECT_EQ(Commands(units), c.Commands);

    // The repeater's memory: the areas of the mode from the image, the rest
    // as it was, and in area 2 the block sum in place of checksum A.
    const TMap::TImage memory = sim->Memory();
    for (int a = 0; a < CloneSize; ++a) {
        uint8_t want = a >= c.FirstWritten && a <= c.LastWritten ? image[a] : before[a];
        if (a == Image54::ChecksumA && c.FirstWritten <= 80)
            want = SumOf(image.Data(), 80, 206);
        ASSERT_EQ(memory[size_t(a)], want) << "address " << a;
    }
    for (const TBytes& unit : units) {
        if (unit.size() > 5) {
            EXPECT_EQ(unit.back(), SumOf(unit.data(), 0, int(unit.size()) - 2));
        }
    }
    EXPECT_TRUE(PortIsFree(sim.Port()));
}

// Areas 1 and 2 at a quarter and a half, then one step per five channel
// blocks, per four fill blocks and per four alpha tag blocks, stopping at 33.
std::vector<int> ExtendedProgress(bool area1)
{
    std::vector<int> steps = area1 ? std::vector<int>{0, 8} : std::vector<int>{0};
    for (int p = 16; p <= 33; ++p)
        steps.push_back(p);
    return steps;
}

const TBytes ExtendedTail = Joined({Repeat(0x41, 16), {0x27, 0x03, 0x06}, Repeat(0x63, 10), Repeat(0x61, 48), {0x28}});

INSTANTIATE_TEST_SUITE_P(
    Modes, DownloadMode,
    ::testing::Values(TDownloadCase{Normal, Joined({{0x02, 0x06}, Repeat(0x41, 16), {0x27, 0x28}}), 208, 975,
                                    {0, 1, 2, 3, 4, 33}},
                      TDownloadCase{Extended, Joined({{0x02, 0x06, 0x21}, ExtendedTail}), 80, 1455, ExtendedProgress(false)},
                      TDownloadCase{Manufacture, Joined({{0x02, 0x06, 0x11, 0x21}, ExtendedTail}), 0, 1455,
                                    ExtendedProgress(true)}),
    [](const auto& info) { return std::string(info.param.Mode == Normal ? "Normal" : info.param.Mode == Extended ? "Extended" : "Manufacture"); });

TEST(Download, ExtendedFramesCarryTheBlockSumAndTheFixedFill)
{
    TSimRig sim(ImageOf(RichDocument(1)));
    TRKmem doc = RichDocument(0);
    // Byte 206 (firmware minor) is what the block sum covers beyond checksum A.
    doc.FwVersion = "01.37";
    TMap54 image = ImageOf(doc);
    image[206] = 0x37;
    TTestView view;
    ASSERT_TRUE(Download(sim.Port(), doc, image, Extended, view).Succeeded());
    const auto units = sim->Received();
    ASSERT_NE(image[206], 0);

    const TBytes& area2 = units.at(2);
    ASSERT_EQ(area2.size(), 133u);
    EXPECT_EQ(TBytes(area2.begin(), area2.begin() + 4), (TBytes{0x21, 0x00, 0x82, 0xFF}));
    EXPECT_TRUE(std::equal(area2.begin() + 4, area2.begin() + 131, image.Data() + 80));
    EXPECT_EQ(area2[131], SumOf(image.Data(), 80, 206));
    EXPECT_NE(area2[131], image[Image54::ChecksumA]);
    EXPECT_EQ(area2[132], SumOf(area2.data(), 0, 131));
    EXPECT_EQ(image[Image54::ChecksumA], SumOf(image.Data(), 80, 205));  // the image is left alone

    const auto fill = std::find_if(units.begin(), units.end(), [](const TBytes& u) { return u[0] == 0x63; });
    ASSERT_NE(fill, units.end());
    EXPECT_EQ(*fill, (TBytes{0x63, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x97}));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(fill[i][3], i);
    const auto area6 = fill + 10;
    for (int n = 1; n <= 48; ++n) {
        const TBytes& f = area6[n - 1];
        ASSERT_EQ(f.size(), 15u);
        EXPECT_EQ(f[3], n);
        EXPECT_TRUE(std::equal(f.begin() + 4, f.begin() + 14, image.Data() + 976 + 10 * (n - 1)));
    }
}

struct TFaultCase {
    const char* Name;
    TSimFault Fault;
    bool IsUpload;
    int Outcome;
    const char* Message;
    TBytes LastSent;  // the last unit the repeater received; empty: the write of block 4
};

void PrintTo(const TFaultCase& c, std::ostream* os)
{
    *os << c.Name;
}

class Fault : public ::testing::TestWithParam<TFaultCase> {};

TEST_P(Fault, EndsWithItsOutcomeAndMessageAndChangesNothing)
{
    const TFaultCase& c = GetParam();
    TSimRig sim(ImageOf(RichDocument(0)), WithFault(c.Fault));
    const TRKmem original = RichDocument(1);
    TRKmem doc = original;
    TMap54 image = ImageOf(doc);
    const TMap::TImage imageBefore = image.Content();
    TTestView view;

    const TTransferResult result =
        c.IsUpload ? Upload(sim.Port(), doc, image, view) : Download(sim.Port(), doc, image, Manufacture, view);

    EXPECT_EQ(result.Outcome, c.Outcome);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_FALSE(result.Replaced);
    EXPECT_EQ(view.Errors, std::vector<std::string>{c.Message});
    EXPECT_TRUE(view.Infos.empty());
    EXPECT_EQ(view.Ended, 1);
    ExpectSameDocument(doc, original);
    EXPECT_EQ(image.Content(), imageBefore);
    const auto units = sim->Received();
    ASSERT_FALSE(units.empty());
    EXPECT_EQ(CountOf(units, 0x28), 0);
    if (c.LastSent.empty()) {  // the write of area 4, block 4
        EXPECT_EQ(units.back().at(0), 0x41);
        EXPECT_EQ(units.back().at(3), 4);
    } else {
        EXPECT_EQ(units.back(), c.LastSent);
    }
    EXPECT_TRUE(PortIsFree(sim.Port()));
}

INSTANTIATE_TEST_SUITE_P(
    Repeater, Fault,
    ::testing::Values(
        TFaultCase{"UploadWrongHandshake", TSimFault::WrongHandshake, true, 1, "Upload error", {0x15}},
        TFaultCase{"UploadBadChecksum", TSimFault::BadChecksum, true, 10, "Checksum error", {0x15}},
        TFaultCase{"UploadWrongIndex", TSimFault::WrongIndex, true, 20, "Upload error", {0x15}},
        TFaultCase{"UploadSilence", TSimFault::Silence, true, 2, "Timeout", {0x42, 0x00, 0x02, 0x04, 0x48}},
        TFaultCase{"DownloadWrongHandshake", TSimFault::WrongHandshake, false, 1, "Download error", {0x15}},
        TFaultCase{"DownloadNak", TSimFault::NegativeAck, false, 20, "Download error", {}},
        TFaultCase{"DownloadSilence", TSimFault::Silence, false, 2, "Timeout", {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Upload, CancelDuringTheHandshakeLoopEndsSilently)
{
    TSimRig sim(ImageOf(RichDocument(0)), WithFault(TSimFault::NoAnswer));
    const TRKmem original = RichDocument(1);
    TRKmem doc = original;
    TMap54 image = ImageOf(doc);
    TTestView view;
    // The repeater stays silent; the start request is repeated until the
    // person has seen it go out twice and cancels.
    view.OnBreathe = [&] { view.Cancel = view.Cancel || CountOf(sim->Received(), 0x02) >= 2; };

    const TTransferResult result = Upload(sim.Port(), doc, image, view);

    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_FALSE(result.Replaced);
    EXPECT_TRUE(view.Errors.empty());
    EXPECT_TRUE(view.Infos.empty());
    EXPECT_EQ(view.Ended, 1);
    ExpectSameDocument(doc, original);
    const auto units = sim->Received();
    EXPECT_GE(CountOf(units, 0x02), 2);
    EXPECT_EQ(CountOf(units, 0x12), 0);
    EXPECT_EQ(CountOf(units, 0x28), 0);
}

TEST(Download, CancelDuringTheHandshakeLoopEndsSilently)
{
    TSimRig sim(ImageOf(RichDocument(0)), WithFault(TSimFault::NoAnswer));
    TTestView view;
    view.OnBreathe = [&] { view.Cancel = view.Cancel || CountOf(sim->Received(), 0x02) >= 2; };
    TMap54 image;
    const TTransferResult result = Download(sim.Port(), RichDocument(1), image, Normal, view);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_TRUE(view.Errors.empty() && view.Infos.empty());
    EXPECT_EQ(CountOf(sim->Received(), 0x41), 0);
}

TEST(Upload, CancelAfterDecodingKeepsTheNewDocumentAndSaysSo)
{
    const TMap54 memory = ImageOf(RichDocument(0));
    TRKmem repeater;
    ASSERT_TRUE(memory.Decode(repeater));
    TSimRig sim(memory);
    TRKmem doc = RichDocument(1);
    TMap54 image = ImageOf(doc);
    TTestView view;
    // Position 32 comes once in area 6 and again when the bar is repainted at
    // the end, after decoding: the click lands there.
    int seen32 = 0;
    view.OnProgress = [&](int p) { view.Cancel = view.Cancel || (p == 32 && ++seen32 == 2); };

    const TTransferResult result = Upload(sim.Port(), doc, image, view);

    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_TRUE(result.Replaced);
    EXPECT_EQ(result.Outcome, OutcomeDone);
    ExpectSameDocument(doc, repeater);
    EXPECT_TRUE(view.Errors.empty() && view.Infos.empty());
    EXPECT_EQ(CountOf(sim->Received(), 0x28), 0);
}

TEST(Upload, AnImageThatCannotBeDecodedIsRejected)
{
    TMap54 memory = ImageOf(RichDocument(0));
    memory[218] = memory[219] = memory[220] = 0xFF;  // channel 1's Rx frequency
    TSimRig sim(memory);
    const TRKmem original = RichDocument(1);
    TRKmem doc = original;
    TMap54 image = ImageOf(doc);
    TTestView view;

    const TTransferResult result = Upload(sim.Port(), doc, image, view);

    EXPECT_EQ(result.Outcome, OutcomeBadImage);
    EXPECT_FALSE(result.Replaced);
    EXPECT_EQ(view.Errors, std::vector<std::string>{"Clone Data Error: incompatible data"});
    ExpectSameDocument(doc, original);
    EXPECT_EQ(image.Content(), ImageOf(original).Content());
    EXPECT_EQ(CountOf(sim->Received(), 0x28), 0);
}

TEST(Upload, APortThatCannotBeOpenedShowsNoWindow)
{
    TRKmem doc = RichDocument(0);
    TMap54 image = ImageOf(doc);
    TTestView view;
    const TTransferResult result = Upload("/nonexistent/rk54-port", doc, image, view);
    EXPECT_TRUE(result.PortFailed);
    EXPECT_EQ(view.Errors, std::vector<std::string>{"Problem on COM port"});
    EXPECT_TRUE(view.Begun.empty());
    EXPECT_EQ(view.Ended, 0);
}

TEST(Download, APortThatCannotBeOpenedEncodesNothing)
{
    TMap54 image;
    const TMap::TImage before = image.Content();
    TTestView view;
    const TTransferResult result = Download("COM0", RichDocument(0), image, Normal, view);
    EXPECT_TRUE(result.PortFailed);
    EXPECT_EQ(view.Errors, std::vector<std::string>{"Problem on COM port"});
    EXPECT_EQ(image.Content(), before);
}

// The device vanishes while area 4 is on its way: a port error or the
// silence ends the transfer, never a hang.
TEST(Transfer, ADeviceThatDisappearsEndsTheTransfer)
{
    for (const bool upload : {true, false}) {
        SCOPED_TRACE(upload ? "upload" : "download");
        TSimRig sim(ImageOf(RichDocument(0)), WithFault(TSimFault::DeviceGone));
        const TRKmem original = RichDocument(1);
        TRKmem doc = original;
        TMap54 image = ImageOf(doc);
        TTestView view;
        const TTransferResult result =
            upload ? Upload(sim.Port(), doc, image, view) : Download(sim.Port(), doc, image, Normal, view);
        ASSERT_TRUE(result.Outcome == OutcomeError || result.Outcome == OutcomeTimeout) << result.Outcome;
        const std::string expected = result.Outcome == OutcomeTimeout ? "Timeout"
                                     : upload                         ? "Upload error"
                                                                      : "Download error";
        EXPECT_EQ(view.Errors, std::vector<std::string>{expected});
        EXPECT_FALSE(result.Replaced);
        ExpectSameDocument(doc, original);
        EXPECT_EQ(view.Ended, 1);
    }
}

// The one test that waits for the real silence time-out.
TEST(Upload, TheRealTimeOutIsFiveSecondsOfSilence)
{
    TSimRig sim(ImageOf(RichDocument(0)), WithFault(TSimFault::Silence));
    TRKmem doc = RichDocument(1);
    TMap54 image = ImageOf(doc);
    TTestView view;
    view.Silence = TLinkView::DefaultSilenceMs;
    QElapsedTimer clock;
    clock.start();
    const TTransferResult result = Upload(sim.Port(), doc, image, view);
    EXPECT_EQ(result.Outcome, OutcomeTimeout);
    EXPECT_EQ(view.Errors, std::vector<std::string>{"Timeout"});
    EXPECT_GE(clock.elapsed(), 5000);
}
