// The alignment link: frames built from the image, and the exchanges with
// the simulated repeater.
#include "LinkTestKit.h"
#include "U_RadioAlig.h"
#include "dc_RsDrv.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

TBytes Bytes(const QByteArray& a)
{
    return TBytes(a.begin(), a.end());
}

// An image whose first 72 bytes are their own addresses, so that every value
// byte of a frame tells where it came from.
TMap54 AddressImage()
{
    TMap54 image;
    for (int a = 0; a < 72; ++a)
        image[a] = uint8_t(a);
    return image;
}

TBytes WithSum(TBytes frame)
{
    frame.push_back(uint8_t(std::accumulate(frame.begin(), frame.end(), 0u)));
    return frame;
}

} // namespace

TEST(AlignCodes, ToneAndCodeTextsByListPosition)
{
    const struct {
        const char* Text;
        int Ctcss;
        int Dcs;
    } cases[] = {
        {"67.0", 1, 0},    {" 250.3 ", 39, 0}, {"159.8", 40, 0}, {"254.1", 47, 0}, {"off", 0, 0},
        {"023", 0, 128},   {"754", 0, 231},    {" 025", 0, 129}, {"024", 0, 0},    {"", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Align::CtcssCode(c.Text), c.Ctcss) << c.Text;
        EXPECT_EQ(Align::DcsCode(c.Text), c.Dcs) << c.Text;
    }
}

TEST(AlignFrames, EachKindCarriesThePointsBytes)
{
    const TMap54 image = AddressImage();
    TAlignSettings s;
    s.Point = 2;
    s.Mode = 1;       // Repeater
    s.Bandwidth = 1;  // Narrow
    s.PowerType = 1;  // Low
    s.EncoderType = 1;
    s.CtcssCode = "100.0";
    const uint8_t rx[] = {4, 5, 11, 14, 15, 17};
    // Tx: frequency 26 27, power low 43, narrow deviation 47, CTCSS 100.0 is
    // code 13, narrow CTCSS deviation 49.
    const uint8_t tx[] = {26, 27, 43, 47, 13, 49};
    const TBytes rxOn = WithSum({0xB1, 0x00, 0x0A, 'R', 'R', rx[0], rx[1], rx[2], rx[3], rx[4], rx[5], 'N'});
    const TBytes txOn = WithSum({0xB1, 0x00, 0x0A, 'T', 'R', tx[0], tx[1], tx[2], tx[3], tx[4], tx[5], 'N'});
    const TBytes trxOn = WithSum({0xB1, 0x00, 0x10, 'T', 'R', tx[0], tx[1], tx[2], tx[3], tx[4], tx[5], rx[0],
                                  rx[1], rx[2], rx[3], rx[4], rx[5], 'N'});
    EXPECT_EQ(Bytes(Align::CommandFrame(image, s, akRxOn)), rxOn);
    EXPECT_EQ(Bytes(Align::CommandFrame(image, s, akTxOn)), txOn);
    EXPECT_EQ(Bytes(Align::CommandFrame(image, s, akTrxOn)), trxOn);
    EXPECT_EQ(Bytes(Align::CommandFrame(image, s, akRxOff)), (TBytes{0xB1, 0x00, 0x02, 0x72, 0x25}));
    EXPECT_EQ(Bytes(Align::CommandFrame(image, s, akTxOff)), (TBytes{0xB1, 0x00, 0x02, 0x74, 0x27}));
    EXPECT_EQ(Bytes(Align::CommandFrame(image, s, akTrxOff)), (TBytes{0xB1, 0x00, 0x02, 0x74, 0x27}));
}

TEST(AlignFrames, TransmitterBlockFollowsEncoderPowerAndBandwidth)
{
    const TMap54 image = AddressImage();
    const struct {
        int Point, Encoder, Power, Bandwidth;
        const char* Ctcss;
        const char* Dcs;
        uint8_t Mode;
        TBytes Block;  // Tx block, then the bandwidth letter
    } cases[] = {
        {3, 0, 0, 0, "67.0", "023", 'B', {24, 25, 32, 36, 0, 0, 'W'}},
        {0, 1, 0, 0, "67.0", "023", 'B', {30, 31, 62, 66, 1, 68, 'W'}},
        {0, 1, 1, 1, "67.1", "023", 'B', {30, 31, 63, 67, 0, 69, 'N'}},  // not in the list
        {1, 2, 0, 0, "67.0", "754", 'B', {28, 29, 52, 56, 231, 60, 'W'}},
        {1, 2, 1, 1, "67.0", "023", 'B', {28, 29, 53, 57, 128, 61, 'N'}},
    };
    for (const auto& c : cases) {
        TAlignSettings s;
        s.Point = c.Point;
        s.EncoderType = c.Encoder;
        s.PowerType = c.Power;
        s.Bandwidth = c.Bandwidth;
        s.CtcssCode = c.Ctcss;
        s.DcsCode = c.Dcs;
        const TBytes frame = Bytes(Align::CommandFrame(image, s, akTxOn));
        ASSERT_EQ(frame.size(), 13u);
        EXPECT_EQ(frame[4], c.Mode);
        EXPECT_EQ(TBytes(frame.begin() + 5, frame.begin() + 12), c.Block) << "point " << c.Point;
    }
}

TEST(AlignLink, OpenCommandsStatusAndClose)
{
    TSimRig sim(ImageOf(RichDocument(0)));
    TTestView view;
    std::unique_ptr<TCRsDrv> driver = AlignOpen(sim.Port(), view);
    ASSERT_TRUE(driver);
    EXPECT_EQ(sim->Received(), (std::vector<TBytes>{{0x02}, {0x06}}));

    TRKmem doc = RichDocument(0);
    TMap54 image;
    TAlignSettings s;
    s.Point = 1;
    s.EncoderType = 2;
    s.DcsCode = "754";
    for (int kind = akRxOn; kind <= akTrxOff; ++kind) {
        doc.RxTuning[1] = 40 + kind;  // the window stores its values first
        EXPECT_TRUE(AlignCommand(*driver, doc, image, s, kind, view)) << kind;
        EXPECT_EQ(sim->Received().back(), Bytes(Align::CommandFrame(ImageOf(doc), s, kind)));
    }
    EXPECT_EQ(image.Content(), ImageOf(doc).Content());

    std::string vr, nsq, rssi;
    EXPECT_TRUE(AlignStatus(*driver, vr, nsq, rssi, view));
    EXPECT_EQ(sim->Received().back(), (TBytes{0xB2, 0x00, 0x02, 0x51, 0x05}));
    EXPECT_EQ(vr + nsq + rssi, "1a2b3c");
    EXPECT_EQ(view.Infos, std::vector<std::string>{"Upload is completed"});

    AlignClose(*driver, view);
    EXPECT_FALSE(driver->IsOpen());
    const auto units = sim->Received();
    EXPECT_EQ(std::vector<TBytes>(units.end() - 4, units.end()),
              (std::vector<TBytes>{{0x27}, {0x03}, {0x06}, {0x28}}));
    EXPECT_TRUE(view.Errors.empty());
}

TEST(AlignLink, ABadStatusReplyIsAnsweredWithNak)
{
    TSimRig sim(ImageOf(RichDocument(0)), WithFault(TSimFault::BadChecksum));
    TTestView view;
    std::unique_ptr<TCRsDrv> driver = AlignOpen(sim.Port(), view);
    ASSERT_TRUE(driver);
    std::string vr = "-", nsq = "-", rssi = "-";
    EXPECT_FALSE(AlignStatus(*driver, vr, nsq, rssi, view));
    EXPECT_EQ(vr + nsq + rssi, "---");
    const auto units = sim->Received();
    EXPECT_EQ(std::vector<TBytes>(units.end() - 2, units.end()),
              (std::vector<TBytes>{{0xB2, 0x00, 0x02, 0x51, 0x05}, {0x15}}));
    EXPECT_EQ(view.Errors, std::vector<std::string>{AlignMessages::Problem});
    EXPECT_TRUE(view.Infos.empty());
    AlignClose(*driver, view);
}

TEST(AlignLink, ARefusedOrSilentStartShowsTheProblemAndClosesThePort)
{
    for (const TSimFault fault : {TSimFault::WrongHandshake, TSimFault::NoAnswer}) {
        TSimRig sim(ImageOf(RichDocument(0)), WithFault(fault));
        TTestView view;
        EXPECT_FALSE(AlignOpen(sim.Port(), view));
        EXPECT_EQ(view.Errors, std::vector<std::string>{AlignMessages::Problem});
        if (fault == TSimFault::WrongHandshake) {
            EXPECT_EQ(sim->Received(), (std::vector<TBytes>{{0x02}, {0x15}}));
        }
        TCRsDrv probe;
        EXPECT_EQ(probe.Open(sim.Port()), RsOk);  // released
    }
}

TEST(AlignLink, ARefusedCommandFailsWithoutAMessage)
{
    TSimRig sim(ImageOf(RichDocument(0)), WithFault(TSimFault::NegativeAck));
    TTestView view;
    std::unique_ptr<TCRsDrv> driver = AlignOpen(sim.Port(), view);
    ASSERT_TRUE(driver);
    TMap54 image;
    EXPECT_FALSE(AlignCommand(*driver, RichDocument(0), image, TAlignSettings {}, akRxOn, view));
    EXPECT_TRUE(view.Errors.empty());
    driver->Close();
}

TEST(AlignLink, ASilentRepeaterFailsTheCommandWithTheProblemMessage)
{
    TSimRig sim(ImageOf(RichDocument(0)));
    TTestView view;
    std::unique_ptr<TCRsDrv> driver = AlignOpen(sim.Port(), view);
    ASSERT_TRUE(driver);
    sim->Stop();  // nothing answers any more, not even the cable
    TMap54 image;
    EXPECT_FALSE(AlignCommand(*driver, RichDocument(0), image, TAlignSettings {}, akRxOff, view));
    EXPECT_EQ(view.Errors, std::vector<std::string>{AlignMessages::Problem});
    driver->Close();
}
