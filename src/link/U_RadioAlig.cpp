#include "link/U_RadioAlig.h"

#include "link/U_Clone.h"
#include "model/U_Format.h"
#include "link/U_LinkIo.h"
#include "model/U_Values.h"
#include "link/dc_RsDrv.h"

#include <algorithm>
#include <cctype>

using namespace LinkIo;

namespace {

constexpr uint8_t CommandByte = 0xB1;
constexpr uint8_t StatusReplyTag = 0x41;
// The alignment waits belong to a modal window that offers no Cancel.
constexpr bool NotCancellable = false;

// Where a point's values lie in the image: the four points sit side by side,
// Highest nearest the front.
struct TPointAddresses {
    int RxAdjFreq, SqlThreshold, RxTuning, TxAdjFreq;
    int TxPowerHigh, TxPowerLow, MaxDevWide, MaxDevNarrow, CtcssDevWide, CtcssDevNarrow, DcsDevWide,
        DcsDevNarrow;
};

TPointAddresses PointAddresses(int point)
{
    const int block = 10 * point;
    return {8 - 2 * point, 13 - point, 19 - point, 30 - 2 * point,
            62 - block, 63 - block, 66 - block, 67 - block, 68 - block, 69 - block, 70 - block, 71 - block};
}

constexpr int SqlNarrowOffsetAddress = 14;
constexpr int SqlHysteresisAddress = 15;

void AppendReceiverBlock(QByteArray& frame, const TMap& image, const TPointAddresses& a)
{
    for (int address : {a.RxAdjFreq, a.RxAdjFreq + 1, a.SqlThreshold, SqlNarrowOffsetAddress,
                        SqlHysteresisAddress, a.RxTuning})
        frame.append(char(image[address]));
}

void AppendTransmitterBlock(QByteArray& frame, const TMap& image, const TAlignSettings& s,
                            const TPointAddresses& a)
{
    const bool narrow = s.Bandwidth == 1;
    frame.append(char(image[a.TxAdjFreq]));
    frame.append(char(image[a.TxAdjFreq + 1]));
    frame.append(char(image[s.PowerType == 1 ? a.TxPowerLow : a.TxPowerHigh]));
    frame.append(char(image[narrow ? a.MaxDevNarrow : a.MaxDevWide]));
    uint8_t code = 0;
    uint8_t deviation = 0;
    if (s.EncoderType == 1) {
        code = uint8_t(Align::CtcssCode(s.CtcssCode));
        deviation = image[narrow ? a.CtcssDevNarrow : a.CtcssDevWide];
    } else if (s.EncoderType == 2) {
        code = uint8_t(Align::DcsCode(s.DcsCode));
        deviation = image[narrow ? a.DcsDevNarrow : a.DcsDevWide];
    }
    frame.append(char(code));
    frame.append(char(deviation));
}

void ShowProblem(TLinkView& view)
{
    view.Error(AlignMessages::Problem);
}

} // namespace

namespace Align {

const QByteArray StatusRequest("\xB2\x00\x02\x51\x05", 5);

int CtcssCode(const std::string& text)
{
    const std::string wanted = Trimmed(text);
    for (int code = 1; code < CtcssCount; ++code)
        if (CtcssText(code) == wanted)
            return code;
    return 0;
}

int DcsCode(const std::string& text)
{
    const std::string wanted = Trimmed(text);
    for (int position = 0; position < DcsCount; ++position)
        if (DcsText(position) == wanted)
            return 128 + position;
    return 0;
}

QByteArray CommandFrame(const TMap& image, const TAlignSettings& settings, int kind)
{
    static constexpr uint8_t Tags[] = {'R', 'r', 'T', 't', 'T', 't'};
    const bool on = kind == akRxOn || kind == akTxOn || kind == akTrxOn;
    const int point = std::clamp(settings.Point, 0, AlignPointCount - 1);
    const TPointAddresses addresses = PointAddresses(point);
    QByteArray frame;
    frame.append(char(CommandByte));
    frame.append(char(0x00));
    frame.append(char(kind == akTrxOn ? 0x10 : on ? 0x0A : 0x02));
    frame.append(char(Tags[std::clamp(kind, 0, 5)]));
    if (on) {
        frame.append(settings.Mode == 1 ? 'R' : 'B');
        if (kind != akRxOn)
            AppendTransmitterBlock(frame, image, settings, addresses);
        if (kind != akTxOn)
            AppendReceiverBlock(frame, image, addresses);
        frame.append(settings.Bandwidth == 1 ? 'N' : 'W');
    }
    frame.append(char(TMap::Checksum(reinterpret_cast<const uint8_t*>(frame.constData()), int(frame.size()))));
    return frame;
}

} // namespace Align

int AlignStart(TCRsDrv& driver, TLinkView& view)
{
    driver.PurgeRx();
    driver.PurgeTx();
    PauseMs(100, view);
    if (!SendByte(driver, Clone::STX))
        return OutcomeError;
    TReceiveBuffer rx;
    int result = Receive(driver, rx, 1, view, NotCancellable);
    if (result != ReceiveOk)
        return result;
    PauseMs(500, view);
    result = Receive(driver, rx, 2, view, NotCancellable);
    if (result != ReceiveOk)
        return result;
    const bool answered = rx[0] == 0x02 && rx[1] == 0x01;
    if (answered && !SendByte(driver, Clone::ACK))
        return OutcomeError;
    if (!answered)
        SendByte(driver, Clone::NAK);
    Receive(driver, rx, 1, view, NotCancellable);
    return answered ? OutcomeDone : OutcomeError;
}

std::unique_ptr<TCRsDrv> AlignOpen(const QString& port, TLinkView& view)
{
    std::unique_ptr<TCRsDrv> driver = OpenRadioPort(port, view);
    if (!driver)
        return nullptr;
    if (AlignStart(*driver, view) != OutcomeDone) {
        ShowProblem(view);
        driver->Close();
        return nullptr;
    }
    return driver;
}

bool AlignCommand(TCRsDrv& driver, const TRKmem& doc, TMap54& image, const TAlignSettings& settings, int kind,
                  TLinkView& view)
{
    image.Encode(doc);
    const QByteArray frame = Align::CommandFrame(image, settings, kind);
    Send(driver, frame);
    PauseMs(100, view);
    TReceiveBuffer rx;
    int result = Receive(driver, rx, int(frame.size()), view, NotCancellable);
    bool acknowledged = false;
    if (result != ReceivePortError) {
        result = Receive(driver, rx, 2, view, NotCancellable);
        acknowledged = result == ReceiveOk && rx[0] == Clone::ACK && rx[1] == Clone::ETB;
    }
    if (result != ReceiveOk)
        ShowProblem(view);
    return acknowledged;
}

bool AlignStatus(TCRsDrv& driver, std::string& vr, std::string& nsq, std::string& rssi, TLinkView& view)
{
    bool ok = Send(driver, Align::StatusRequest);
    TReceiveBuffer rx;
    if (ok) {
        Receive(driver, rx, int(Align::StatusRequest.size()), view, NotCancellable);
        rx.fill(0);
        PauseMs(100, view);
        ok = Receive(driver, rx, 8, view, NotCancellable) == ReceiveOk;
    }
    if (ok && (TMap::Checksum(rx.data(), rx[2] + 2) != rx[7] || rx[3] != StatusReplyTag)) {
        SendAndSwallowEcho(driver, Clone::NAK, view, NotCancellable);
        ok = false;
    }
    if (!ok) {
        ShowProblem(view);
        return false;
    }
    vr = Lowered(HexText(rx[4], 2));
    nsq = Lowered(HexText(rx[5], 2));
    rssi = Lowered(HexText(rx[6], 2));
    view.Information(AlignMessages::StatusDone);
    return true;
}

int AlignEnd(TCRsDrv& driver, TLinkView& view)
{
    driver.PurgeRx();
    PauseMs(100, view);
    if (!SendByte(driver, Clone::ETX))
        return OutcomeError;
    TReceiveBuffer rx;
    int result = Receive(driver, rx, 1, view, NotCancellable);
    if (result != ReceiveOk)
        return result;
    PauseMs(200, view);
    result = Receive(driver, rx, 2, view, NotCancellable);
    if (result != ReceiveOk)
        return result;
    if (!SendByte(driver, Clone::ACK))
        return OutcomeError;
    Receive(driver, rx, 1, view, NotCancellable);
    return OutcomeDone;
}

void AlignClose(TCRsDrv& driver, TLinkView& view)
{
    SendByte(driver, Clone::EndOfFirstSection);
    TReceiveBuffer rx;
    if (Receive(driver, rx, 1, view, NotCancellable) == ReceiveOk && AlignEnd(driver, view) == OutcomeDone
        && SendByte(driver, Clone::EndOfTransfer)) {
        PauseMs(500, view);
        Receive(driver, rx, 1, view, NotCancellable);
    }
    PauseMs(2000, view);
    driver.Close();
}
