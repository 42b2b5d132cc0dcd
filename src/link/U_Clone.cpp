#include "link/U_Clone.h"

#include "link/U_CloneSteps.h"
#include "link/U_LinkIo.h"
#include "link/dc_RsDrv.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

using namespace LinkIo;
using CloneSteps::TProgress;

// A quarter and a half of the bar: round(33 / 4) and round(33 / 2), halves
// going to the even neighbour.
constexpr int FirstQuarter = 8;
constexpr int SecondQuarter = 16;

// Repeats the start request while the repeater stays silent; the person ends
// it by cancelling.
TOutcome HandshakeLoop(TCRsDrv& driver, TLinkView& view)
{
    TOutcome outcome = TOutcome::Error;
    while (!view.Cancelled()) {
        outcome = Clone::Handshake(driver, Clone::StartRequest, view);
        if (outcome != TOutcome::Timeout)
            break;
        view.Breathe();
    }
    return outcome;
}

// Reads block `index` of `area` into `image`.
TOutcome ReadBlock(TCRsDrv& driver, const Clone::TArea& area, int index, uint8_t* image, TLinkView& view,
                   int pauseMs = 0)
{
    const QByteArray request = Clone::ReadRequest(area.ReadCommand, uint8_t(index));
    if (!Send(driver, request))
        return TOutcome::Error;
    if (pauseMs > 0)
        PauseMs(pauseMs, view);
    const int length = area.Length();
    TReceiveBuffer rx;
    if (const TOutcome received = Receive(driver, rx, int(request.size()) + length + 3, view);
        received != TOutcome::Done)
        return received;
    const uint8_t* reply = rx.data() + request.size();
    // The sum runs as far as the reply's own length byte says; the buffer is
    // large enough for any length byte.
    if (TMap::Checksum(reply, reply[2] + 2) != reply[length + 2]) {
        SendAndSwallowEcho(driver, Clone::NAK, view);
        return TOutcome::Checksum;
    }
    if (reply[0] != area.ReadCommand || reply[1] != 0x00 || reply[2] != length || reply[3] != uint8_t(index)) {
        SendAndSwallowEcho(driver, Clone::NAK, view);
        return TOutcome::BadReply;
    }
    std::memcpy(image + area.Offset(index), reply + 4, size_t(area.DataBytes));
    return TOutcome::Done;
}

// Writes one block and checks the repeater's 0x06 0x17.
TOutcome WriteBlock(TCRsDrv& driver, const QByteArray& frame, TLinkView& view)
{
    // A failed write is not looked at: it shows up as silence or a port error.
    Send(driver, frame);
    TReceiveBuffer rx;
    const int size = int(frame.size());
    if (const TOutcome received = Receive(driver, rx, size + 2, view); received != TOutcome::Done)
        return received;
    return rx[size] == Clone::ACK && rx[size + 1] == Clone::ETB ? TOutcome::Done : TOutcome::BadReply;
}

} // namespace

namespace CloneSteps {

TOutcome ReadImage(TCRsDrv& driver, TMap54& working, TLinkView& view, TProgress& progress)
{
    working.Clear();
    uint8_t* bytes = working.Data();
    TOutcome outcome = HandshakeLoop(driver, view);
    if (outcome != TOutcome::Done)
        return outcome;

    // The repeater needs a moment before it answers the first request.
    if ((outcome = ReadBlock(driver, Clone::Area1, 0, bytes, view, 100)) != TOutcome::Done)
        return outcome;
    progress.Set(FirstQuarter);
    if ((outcome = ReadBlock(driver, Clone::Area2, 0, bytes, view)) != TOutcome::Done)
        return outcome;
    progress.Set(SecondQuarter);
    for (int index = 0; index < Clone::Area4.Blocks; ++index) {
        if ((outcome = ReadBlock(driver, Clone::Area4, index, bytes, view)) != TOutcome::Done)
            return outcome;
        if (index % 5 == 0)
            progress.Step();
        view.Breathe();
    }
    SendAndSwallowEcho(driver, Clone::EndOfFirstSection, view);
    if ((outcome = Clone::Handshake(driver, Clone::SecondSectionRequest, view)) != TOutcome::Done)
        return outcome;
    for (int n = 1; n <= Clone::Area6.Blocks; ++n) {
        if ((outcome = ReadBlock(driver, Clone::Area6, n, bytes, view)) != TOutcome::Done)
            return outcome;
        if ((n - 1) % 4 == 0)
            progress.Step();
        view.Breathe();
    }
    // The transfer moves the first CloneSize bytes; the rest stays zero but for
    // the end marker the decoder looks for.
    bytes[Image54::EndMarker] = Image54::Marker;
    return TOutcome::Done;
}

TOutcome DecodeImage(const TMap54& working, TRKmem& doc)
{
    try {
        return working.Decode(doc) ? TOutcome::Done : TOutcome::BadImage;
    } catch (const EConvertError&) {
        return TOutcome::BadImage;
    }
}

TOutcome WriteImage(TCRsDrv& driver, const TMap54& image, TProgramMode mode, TLinkView& view, TProgress& progress)
{
    const uint8_t* bytes = image.Data();
    const bool extended = mode == Extended || mode == Manufacture;
    TOutcome outcome = HandshakeLoop(driver, view);
    if (outcome != TOutcome::Done)
        return outcome;

    if (mode == Manufacture) {
        const QByteArray frame = Clone::Frame(Clone::Area1.WriteCommand, Clone::SingleBlockWriteIndex,
                                              bytes + Clone::Area1.ImageOffset, Clone::Area1.DataBytes);
        if ((outcome = WriteBlock(driver, frame, view)) != TOutcome::Done)
            return outcome;
        progress.Set(FirstQuarter);
    }
    if (extended) {
        const TArea2Data data = Area2Data(bytes);
        const QByteArray frame = Clone::Frame(Clone::Area2.WriteCommand, Clone::SingleBlockWriteIndex,
                                              data.data(), int(data.size()));
        if ((outcome = WriteBlock(driver, frame, view)) != TOutcome::Done)
            return outcome;
        progress.Set(SecondQuarter);
    }
    for (int index = 0; index < Clone::Area4.Blocks; ++index) {
        const QByteArray frame = Clone::Frame(Clone::Area4.WriteCommand, uint8_t(index),
                                              bytes + Clone::Area4.Offset(index), Clone::Area4.DataBytes);
        if ((outcome = WriteBlock(driver, frame, view)) != TOutcome::Done)
            return outcome;
        if (index % 5 == 0)
            progress.Step();
        view.Breathe();
    }
    SendAndSwallowEcho(driver, Clone::EndOfFirstSection, view);
    if (!extended)
        return TOutcome::Done;

    if ((outcome = Clone::Handshake(driver, Clone::SecondSectionRequest, view)) != TOutcome::Done)
        return outcome;
    static constexpr uint8_t Fill[10] = {0x00, 0x00, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25};
    for (int index = 0; index < Clone::Area6FillBlocks; ++index) {
        if ((outcome = WriteBlock(driver, Clone::Frame(Clone::Area6Fill, uint8_t(index), Fill, 10), view))
            != TOutcome::Done)
            return outcome;
        if (index % 4 == 0)
            progress.Step();
        view.Breathe();
    }
    for (int n = 1; n <= Clone::Area6.Blocks; ++n) {
        const QByteArray frame = Clone::Frame(Clone::Area6.WriteCommand, uint8_t(n),
                                              bytes + Clone::Area6.Offset(n), Clone::Area6.DataBytes);
        if ((outcome = WriteBlock(driver, frame, view)) != TOutcome::Done)
            return outcome;
        if ((n - 1) % 4 == 0)
            progress.Step();
        view.Breathe();
    }
    return TOutcome::Done;
}

// The end of every transfer: the closing byte and the message. A cancelled
// transfer ends without a word and without another byte. Returns whether it
// was cancelled.
bool Finish(TCRsDrv& driver, TOutcome outcome, TLinkView::TDirection direction, TLinkView& view,
            TProgress& progress, bool announceDone)
{
    progress.Repaint();
    if (view.Cancelled())
        return true;
    const bool upload = direction == TLinkView::UploadDirection;
    switch (outcome) {
    case TOutcome::Done: {
        SendByte(driver, Clone::EndOfTransfer);
        PauseMs(700, view);
        TReceiveBuffer rx;
        Receive(driver, rx, 1, view);
        progress.Set(TLinkView::ProgressMax);
        PauseMs(view.RestartPauseMs(), view);
        if (announceDone)
            view.Information(upload ? CloneMessages::UploadDone : CloneMessages::DownloadDone);
        break;
    }
    case TOutcome::Timeout:
        view.Error(CloneMessages::Timeout);
        break;
    case TOutcome::Checksum:
        view.Error(CloneMessages::Checksum);
        break;
    case TOutcome::BadImage:
        view.Error(CloneMessages::BadImage);
        break;
    default:
        view.Error(upload ? CloneMessages::UploadError : CloneMessages::DownloadError);
        break;
    }
    return false;
}

std::vector<TRange> WrittenRanges(TProgramMode mode)
{
    std::vector<TRange> ranges;
    if (mode == Manufacture)
        ranges.push_back({Clone::Area1.ImageOffset, Clone::Area1.DataBytes});
    if (mode != Normal)
        ranges.push_back({Clone::Area2.ImageOffset, Clone::Area2.DataBytes});
    ranges.push_back({Clone::Area4.ImageOffset, Clone::Area4.DataBytes * Clone::Area4.Blocks});
    if (mode != Normal)
        ranges.push_back({Clone::Area6.ImageOffset, Clone::Area6.DataBytes * Clone::Area6.Blocks});
    return ranges;
}

TArea2Data Area2Data(const uint8_t* image)
{
    // The last byte of the area is the repeater's own sum over the bytes
    // before it, which is one byte more than the image's checksum A
    // covers; the image itself is left as it is.
    constexpr int summed = Clone::Area2.DataBytes - 1;
    TArea2Data data {};
    std::memcpy(data.data(), image + Clone::Area2.ImageOffset, summed);
    data[summed] = TMap::Checksum(data.data(), summed);
    return data;
}

TMap54 AsWritten(const TMap54& unit, const TMap54& sent, TProgramMode mode)
{
    TMap54 after;
    after.CopyFrom(unit);
    for (const TRange& range : WrittenRanges(mode))
        std::memcpy(after.Data() + range.First, sent.Data() + range.First, size_t(range.Count));
    if (mode != Normal) {
        const TArea2Data area2 = Area2Data(sent.Data());
        after[Clone::Area2.ImageOffset + Clone::Area2.DataBytes - 1] = area2.back();
    }
    return after;
}

} // namespace CloneSteps

namespace Clone {

QByteArray Frame(uint8_t command, uint8_t index, const uint8_t* data, int count)
{
    QByteArray frame;
    frame.reserve(count + 5);
    frame.append(char(command));
    frame.append(char(0x00));
    frame.append(char(count + 2));
    frame.append(char(index));
    if (count > 0)
        frame.append(reinterpret_cast<const char*>(data), count);
    frame.append(char(TMap::Checksum(reinterpret_cast<const uint8_t*>(frame.constData()), int(frame.size()))));
    return frame;
}

QByteArray ReadRequest(uint8_t command, uint8_t index)
{
    return Frame(command, index, nullptr, 0);
}

TOutcome Handshake(TCRsDrv& driver, const THandshake& handshake, TLinkView& view)
{
    const bool start = handshake.Request == STX;
    const bool cancellable = handshake.Cancellable;
    driver.PurgeRx();
    if (start)
        driver.PurgeTx();
    PauseMs(100, view);
    if (!SendByte(driver, handshake.Request))
        return TOutcome::Error;
    TReceiveBuffer rx;
    std::array<uint8_t, 2> reply {};
    TOutcome outcome = TOutcome::Done;
    if (handshake.ReplyPauseMs == 0) {
        if ((outcome = Receive(driver, rx, 3, view, cancellable)) != TOutcome::Done)
            return outcome;
        reply = {rx[1], rx[2]};
    } else {
        if ((outcome = Receive(driver, rx, 1, view, cancellable)) != TOutcome::Done)
            return outcome;
        PauseMs(handshake.ReplyPauseMs, view);
        if ((outcome = Receive(driver, rx, 2, view, cancellable)) != TOutcome::Done)
            return outcome;
        reply = {rx[0], rx[1]};
    }
    if (start && !(reply[0] == 0x02 && reply[1] == 0x01)) {
        SendAndSwallowEcho(driver, NAK, view, cancellable);
        return TOutcome::Error;
    }
    if (!SendByte(driver, ACK))
        return TOutcome::Error;
    Receive(driver, rx, 1, view, cancellable);
    return TOutcome::Done;
}

} // namespace Clone

namespace {
// What every transfer shares: the port opened, the window told, the body's
// steps, the end of the transfer and the port closed again.
template <class TBody>
TTransferResult Transfer(const QString& port, TLinkView::TDirection direction, TLinkView& view, TBody body)
{
    TTransferResult result;
    std::unique_ptr<TCRsDrv> driver = OpenRadioPort(port, view);
    if (!driver) {
        result.PortFailed = true;
        return result;
    }
    view.TransferBegins(direction);
    TProgress progress(view);
    result.Outcome = body(*driver, progress, result);
    result.Cancelled = CloneSteps::Finish(*driver, result.Outcome, direction, view, progress);
    driver->Close();
    driver.reset();
    view.TransferEnds();
    return result;
}
} // namespace

TTransferResult Upload(const QString& port, TRKmem& doc, TMap54& image, TLinkView& view)
{
    const auto read = [&](TCRsDrv& driver, TProgress& progress, TTransferResult& result) {
        TMap54 working;
        TOutcome outcome = CloneSteps::ReadImage(driver, working, view, progress);
        if (outcome != TOutcome::Done)
            return outcome;
        auto fresh = std::make_unique<TRKmem>();
        outcome = CloneSteps::DecodeImage(working, *fresh);
        if (outcome == TOutcome::Done) {
            doc.Assign(*fresh);
            image.CopyFrom(working);
            result.Replaced = true;
        }
        return outcome;
    };
    return Transfer(port, TLinkView::UploadDirection, view, read);
}

TTransferResult Download(const QString& port, const TRKmem& doc, TMap54& image, TProgramMode mode,
                         TLinkView& view)
{
    const auto write = [&](TCRsDrv& driver, TProgress& progress, TTransferResult&) {
        image.Encode(doc);
        return CloneSteps::WriteImage(driver, image, mode, view, progress);
    };
    return Transfer(port, TLinkView::DownloadDirection, view, write);
}
