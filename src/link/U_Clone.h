#pragma once
#include "link/U_LinkView.h"
#include "model/U_Modes.h"
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

class TCRsDrv;

// Outcome codes of a clone transfer.
constexpr int OutcomeDone = 0;
constexpr int OutcomeError = 1;       // port error, write failure, handshake refused
constexpr int OutcomeTimeout = 2;     // the repeater fell silent
constexpr int OutcomeChecksum = 10;   // a reply's checksum is wrong
constexpr int OutcomeBadImage = 14;   // the image read cannot be decoded
constexpr int OutcomeBadReply = 20;   // unexpected reply header or block acknowledgement

// What a transfer came to.
struct TTransferResult {
    int Outcome = OutcomeError;
    // The person cancelled; the engine showed nothing and sent nothing more.
    bool Cancelled = false;
    // Upload only: the caller's document and image now hold what was read.
    // Also true after a cancel that came once the image had been decoded,
    // so the caller must refresh what it shows from the document.
    bool Replaced = false;
    // The port could not be opened ("Problem on COM port" was shown).
    bool PortFailed = false;

    bool Succeeded() const { return Outcome == OutcomeDone && !Cancelled; }
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

// The start handshake and the second-section request; 0, 1 or 2.
int StartHandshake(TCRsDrv& driver, TLinkView& view);
int SecondSection(TCRsDrv& driver, TLinkView& view);
}
