#pragma once
#include "link/U_LinkView.h"
#include "link/U_Outcome.h"
#include "model/U_Modes.h"
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

class TCRsDrv;

// What a transfer came to.
struct TTransferResult {
    TOutcome Outcome = TOutcome::Error;
    // The person cancelled; the engine showed nothing and sent nothing more.
    bool Cancelled = false;
    // Upload only: the caller's document and image now hold what was read.
    // Also true after a cancel that came once the image had been decoded,
    // so the caller must refresh what it shows from the document.
    bool Replaced = false;
    // The port could not be opened ("Problem on COM port" was shown).
    bool PortFailed = false;

    bool Succeeded() const { return Outcome == TOutcome::Done && !Cancelled; }
};

// Reads the repeater's memory. Opens `port` (COM<n> or a device path), waits
// for the repeater to answer the start request (until it does or the person
// cancels), reads the four memory areas and decodes them. Only a complete,
// decodable image replaces `doc` and `image`; any failure leaves both
// exactly as they were. All messages go to `view`.
TTransferResult Upload(const QString& port, TRKmem& doc, TMap54& image, TLinkView& view);

// Writes `doc` into the repeater: encodes it into `image` (which keeps the
// encoded bytes whatever happens next), then writes the memory areas the
// program mode allows: Normal the channels, Extended adds the common and
// alpha tag areas, Manufacture everything.
TTransferResult Download(const QString& port, const TRKmem& doc, TMap54& image, TProgramMode mode,
                         TLinkView& view);

// The messages of the transfers.
namespace CloneMessages {
constexpr const char* UploadDone = "Upload is completed";
constexpr const char* UploadError = "Upload error";
constexpr const char* DownloadDone = "Download is completed";
constexpr const char* DownloadError = "Download error";
constexpr const char* Timeout = "Timeout";
constexpr const char* Checksum = "Checksum error";
constexpr const char* BadImage = "Clone Data Error: incompatible data";
constexpr const char* PortProblem = "Problem on COM port";
}

// The protocol's pieces, shared by the engines, the alignment link and the
// simulator's tests.
namespace Clone {
constexpr uint8_t STX = 0x02;
constexpr uint8_t ETX = 0x03;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t NAK = 0x15;
constexpr uint8_t ETB = 0x17;
constexpr uint8_t EndOfFirstSection = 0x27;
constexpr uint8_t EndOfTransfer = 0x28;

// The memory areas, as the image layout places them.
using TArea = Image54::TCloneArea;
constexpr TArea Area1 = Image54::CloneAreas[0];
constexpr TArea Area2 = Image54::CloneAreas[1];
constexpr TArea Area4 = Image54::CloneAreas[2];
constexpr TArea Area6 = Image54::CloneAreas[3];
constexpr uint8_t Area6Fill = 0x63;
constexpr int Area6FillBlocks = 10;
constexpr uint8_t SingleBlockWriteIndex = 0xFF;

// A frame: command, 0x00, length, index, data, checksum.
QByteArray Frame(uint8_t command, uint8_t index, const uint8_t* data, int count);
QByteArray ReadRequest(uint8_t command, uint8_t index);

// The handshake that opens a transfer (STX) or its second section (ETX):
// the input queue purged (for the start the output queue too), a pause, the
// request byte, its echo and the repeater's two reply bytes, then ACK and
// its echo. The start must be answered 02 01 or is refused with NAK; the
// second section's answer is taken as it comes. The transfers take echo and
// reply in one wait; the alignment link gives the repeater a pause between
// them.
struct THandshake {
    uint8_t Request;
    int ReplyPauseMs = 0;  // 0: echo and reply in one wait
    bool Cancellable = true;
};
constexpr THandshake StartRequest {STX};
constexpr THandshake SecondSectionRequest {ETX};
// Done, Error (port error or refused) or Timeout.
TOutcome Handshake(TCRsDrv& driver, const THandshake& handshake, TLinkView& view);
}
