// Upload and download against the simulated repeater on a pseudo-terminal.
#include "support/LinkTestKit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

TBytes Repeat(uint8_t command, int times)
{
    return TBytes(size_t(times), command);
}

} // namespace

TEST(Upload, ReadsTheFourAreasAndReplacesDocumentAndImage)
{
    TMap54 memory = ImageOf(RichDocument(0));
    // What the transfer does not move must not reach the program.
    for (int a = Image54::ChecksumB; a < Image54::EndMarker; ++a)
        memory[a] = 0xA5;
    memory[Image54::EndMarker] = 0x00;
    TTransferRig rig({}, memory);

    const TTransferResult result = rig.Run(true);

    EXPECT_TRUE(result.Succeeded());
    EXPECT_TRUE(result.Replaced);
    const TMap54 expected = AsUploaded(memory);
    EXPECT_EQ(rig.Image.Content(), expected.Content());
    TRKmem expectedDoc;
    ASSERT_TRUE(expected.Decode(expectedDoc));
    ExpectSameDocument(rig.Doc, expectedDoc);

    EXPECT_EQ(rig.View.Infos, std::vector<std::string>{"Upload is completed"});
    EXPECT_EQ(rig.View.ProgressSteps(),
              (std::vector<int>{0, 8, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33}));
    EXPECT_EQ(rig.View.Begun, std::vector<TLinkView::TDirection>{TLinkView::UploadDirection});

    const TUnits units = rig.Sim->Received();
    ASSERT_EQ(Commands(units), Joined({{0x02, 0x06, 0x12, 0x22}, Repeat(0x42, 16), {0x27, 0x03, 0x06},
                                       Repeat(0x62, 48), {0x28}}));
    EXPECT_EQ(units[4 + 15], (TBytes{0x42, 0x00, 0x02, 0x0F, 0x53}));  // the read frame; area 6's last is a fault's
    EXPECT_TRUE(PortIsFree(rig.Sim.Port()));
}

struct TDownloadCase {
    TProgramMode Mode;
    TBytes Commands;
    int FirstWritten;  // image bytes from here on reach the repeater,
    int LastWritten;   // up to here
    std::vector<int> Progress;
};

class DownloadMode : public ::testing::TestWithParam<TDownloadCase> {};

TEST_P(DownloadMode, SendsTheAreasOfTheModeFrameByFrame)
{
    const TDownloadCase& c = GetParam();
    const TMap54 before = ImageOf(RichDocument(0));
    TTransferRig rig;
    // Byte 206 is what the block sum covers beyond checksum A; encoding
    // leaves it as it was.
    TMap54 expected;
    expected[206] = 0x37;
    rig.Image = expected;
    expected.Encode(rig.Doc);

    const TTransferResult result = rig.Run(false, c.Mode);

    EXPECT_TRUE(result.Succeeded());
    EXPECT_FALSE(result.Replaced);
    const TMap54& image = rig.Image;
    EXPECT_EQ(image.Content(), expected.Content());  // the image keeps the encoded document
    EXPECT_EQ(rig.View.Infos, std::vector<std::string>{"Download is completed"});
    EXPECT_EQ(rig.View.ProgressSteps(), c.Progress);

    const TUnits units = rig.Sim->Received();
    EXPECT_EQ(Commands(units), c.Commands);

    // The repeater's memory: the areas of the mode from the image, the rest
    // as it was, and in area 2 the block sum in place of checksum A.
    const TMap::TImage memory = rig.Sim->Memory();
    for (int a = 0; a < CloneSize; ++a) {
        uint8_t want = a >= c.FirstWritten && a <= c.LastWritten ? image[a] : before[a];
        if (a == Image54::ChecksumA && c.FirstWritten <= 80)
            want = uint8_t(std::accumulate(image.Data() + 80, image.Data() + 207, 0u));
        ASSERT_EQ(memory[size_t(a)], want) << "address " << a;
    }
    EXPECT_TRUE(PortIsFree(rig.Sim.Port()));
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

// The fill frames, which the repeater only acknowledges: its memory does not
// show them.
TEST(Download, ExtendedFramesCarryTheFixedFill)
{
    TTransferRig rig;
    ASSERT_TRUE(rig.Run(false, Extended).Succeeded());
    const TUnits units = rig.Sim->Received();

    const auto fill = std::find_if(units.begin(), units.end(), [](const TBytes& u) { return u[0] == 0x63; });
    ASSERT_LE(fill + 10 + 48, units.end());
    EXPECT_EQ(*fill, (TBytes{0x63, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x97}));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(fill[i], WithSum({0x63, 0x00, 0x0C, uint8_t(i), 0x00, 0x00, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25,
                                    0x25, 0x25}));
    for (int n = 1; n <= 48; ++n)
        EXPECT_EQ(TBytes(fill[9 + n].begin(), fill[9 + n].begin() + 4), (TBytes{0x61, 0x00, 0x0C, uint8_t(n)}));
}

struct TFaultCase {
    const char* Name;
    TSimFault Fault;
    bool IsUpload;
    int Outcome;
    const char* Message;
    TBytes LastSent;  // the last unit the repeater received; empty: the write of block 4
    bool Undecodable = false;  // the repeater's memory, not the repeater, is at fault
};

class Fault : public ::testing::TestWithParam<TFaultCase> {};

TEST_P(Fault, EndsWithItsOutcomeAndMessageAndChangesNothing)
{
    const TFaultCase& c = GetParam();
    TMap54 memory = ImageOf(RichDocument(0));
    if (c.Undecodable)
        memory[218] = memory[219] = memory[220] = 0xFF;  // channel 1's Rx frequency
    TTransferRig rig(c.Undecodable ? TSimOptions() : WithFault(c.Fault), memory);

    QElapsedTimer clock;
    clock.start();
    const TTransferResult result = rig.Run(c.IsUpload);

    EXPECT_EQ(int(result.Outcome), c.Outcome);
    if (result.Outcome == TOutcome::Timeout) {  // not a moment before the view's silence time-out
        EXPECT_GE(clock.elapsed(), rig.View.Silence);
    }
    EXPECT_FALSE(result.Replaced);
    EXPECT_EQ(rig.View.Errors, std::vector<std::string>{c.Message});
    EXPECT_TRUE(rig.View.Infos.empty());
    EXPECT_EQ(rig.View.Ended, 1);
    ExpectSameDocument(rig.Doc, rig.Original);
    EXPECT_EQ(rig.Image.Content(), ImageOf(rig.Original).Content());
    const TUnits units = rig.Sim->Received();
    ASSERT_FALSE(units.empty());
    EXPECT_EQ(CountOf(units, 0x28), 0);
    if (c.LastSent.empty()) {  // the write of area 4, block 4
        EXPECT_EQ(units.back().at(0), 0x41);
        EXPECT_EQ(units.back().at(3), 4);
    } else {
        EXPECT_EQ(units.back(), c.LastSent);
    }
    EXPECT_TRUE(PortIsFree(rig.Sim.Port()));
}

INSTANTIATE_TEST_SUITE_P(
    Repeater, Fault,
    ::testing::Values(
        TFaultCase{"UploadWrongHandshake", TSimFault::WrongHandshake, true, 1, "Upload error", {0x15}},
        TFaultCase{"UploadBadChecksum", TSimFault::BadChecksum, true, 10, "Checksum error", {0x15}},
        TFaultCase{"UploadWrongIndex", TSimFault::WrongIndex, true, 20, "Upload error", {0x15}},
        TFaultCase{"UploadSilence", TSimFault::Silence, true, 2, "Timeout", {0x42, 0x00, 0x02, 0x04, 0x48}},
        TFaultCase{"UploadUndecodable", {}, true, int(TOutcome::BadImage), "Clone Data Error: incompatible data",
                   {0x62, 0x00, 0x02, 0x30, 0x94}, true},
        TFaultCase{"DownloadNak", TSimFault::NegativeAck, false, 20, "Download error", {}},
        TFaultCase{"DownloadSilence", TSimFault::Silence, false, 2, "Timeout", {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Upload, CancelAfterDecodingKeepsTheNewDocumentAndSaysSo)
{
    TTransferRig rig;
    TRKmem repeater;
    ASSERT_TRUE(ImageOf(RichDocument(0)).Decode(repeater));
    // Position 32 comes once in area 6 and again when the bar is repainted at
    // the end, after decoding: the click lands there.
    int seen32 = 0;
    rig.View.OnProgress = [&](int p) { rig.View.Cancel = rig.View.Cancel || (p == 32 && ++seen32 == 2); };

    const TTransferResult result = rig.Run(true);

    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_TRUE(result.Replaced);
    EXPECT_EQ(result.Outcome, TOutcome::Done);
    ExpectSameDocument(rig.Doc, repeater);
    EXPECT_TRUE(rig.View.Errors.empty() && rig.View.Infos.empty());
    EXPECT_EQ(CountOf(rig.Sim->Received(), 0x28), 0);
}

// One device, one transfer: while a transfer runs, a second one that names
// the same device by another name is refused at the door and the first goes
// on to its end undisturbed.
TEST(Transfer, ASecondTransferOnTheBusyDeviceIsRefused)
{
    QTemporaryDir links;
    TTransferRig rig;
    const QString link = links.filePath("COM1");
    ASSERT_TRUE(QFile::link(rig.Sim.Port(), link));
    std::optional<TTransferResult> intruder;
    TTestView intruderView;
    rig.View.OnProgress = [&](int) {
        if (intruder)
            return;
        TRKmem doc = RichDocument(2);
        TMap54 image = ImageOf(doc);
        intruder = Upload(link, doc, image, intruderView);
    };
    const TTransferResult result = Download(rig.Sim.Port(), rig.Doc, rig.Image, Normal, rig.View);
    ASSERT_TRUE(intruder.has_value());
    EXPECT_TRUE(intruder->PortFailed);
    EXPECT_EQ(intruderView.Errors, std::vector<std::string>{"Problem on COM port"});
    EXPECT_EQ(result.Outcome, TOutcome::Done);
    EXPECT_TRUE(rig.View.Errors.empty());
    EXPECT_EQ(rig.Sim->Transfers(), 1);
    // Free again once the transfer is over.
    EXPECT_TRUE(PortIsFree(link));
}

// The device vanishes while area 4 is on its way: a port error or the
// silence ends the transfer, never a hang.
TEST(Transfer, ADeviceThatDisappearsEndsTheTransfer)
{
    TTransferRig rig(WithFault(TSimFault::DeviceGone));
    const TTransferResult result = rig.Run(true, Normal);
    ASSERT_TRUE(result.Outcome == TOutcome::Error || result.Outcome == TOutcome::Timeout) << int(result.Outcome);
    const std::string expected = result.Outcome == TOutcome::Timeout ? "Timeout" : "Upload error";
    EXPECT_EQ(rig.View.Errors, std::vector<std::string>{expected});
    EXPECT_FALSE(result.Replaced);
    ExpectSameDocument(rig.Doc, rig.Original);
    EXPECT_EQ(rig.View.Ended, 1);
}

// The one test that keeps the repeater's restart pause: 2 s after the end
// byte's echo before the transfer is over.
TEST(Upload, TheEndWaitsForTheRepeaterToRestart)
{
    TTransferRig rig;
    rig.View.RestartPause = TLinkView::DefaultRestartPauseMs;
    qint64 completedAt = 0;
    QElapsedTimer clock;
    rig.View.OnProgress = [&](int position) {
        if (position == TLinkView::ProgressMax && completedAt == 0)
            completedAt = clock.elapsed();
    };
    clock.start();
    ASSERT_TRUE(rig.Run(true).Succeeded());
    ASSERT_GT(completedAt, 0);
    EXPECT_GE(clock.elapsed() - completedAt, 2000);
}
