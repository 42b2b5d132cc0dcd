#pragma once
#include "link/U_LinkView.h"
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

class TCRsDrv;

// The alignment link: puts the repeater into its alignment mode and drives
// its receiver and transmitter with the tuning values of one alignment point.
// The values travel from the document through the encoded image, so what the
// repeater gets is exactly what a download would write.

// What the alignment window has chosen besides the document's values.
struct TAlignSettings {
    std::string DcsCode;     // text of the DCS list, "023" .. "754"
    std::string CtcssCode;   // text of the CTCSS list, "67.0" .. "254.1"
    int Point = 0;           // 0 Lowest, 1 Low, 2 High, 3 Highest
    int EncoderType = 0;     // 0 off, 1 CTCSS, 2 DCS
    int PowerType = 0;       // 0 High, 1 Low
    int Bandwidth = 0;       // 0 Wide, 1 Narrow
    int Mode = 0;            // 0 Base, 1 Repeater
};

// The six commands, by the check box that sends them.
enum TAlignKind { akRxOn = 0, akRxOff, akTxOn, akTxOff, akTrxOn, akTrxOff };

namespace AlignMessages {
constexpr const char* Problem = "Problem detected with connection to\r\nInterface Box. Transfer aborted.";
constexpr const char* StatusDone = "Upload is completed";
}

namespace Align {
// 1 .. 47 by position in the CTCSS list, 128 + position in the DCS list;
// 0 for a text not in the list. Blanks around the text do not count.
int CtcssCode(const std::string& text);
int DcsCode(const std::string& text);
// The command frame for `kind`, value bytes taken from `image`.
QByteArray CommandFrame(const TMap& image, const TAlignSettings& settings, int kind);
extern const QByteArray StatusRequest;  // B2 00 02 51 05
}

// The opening: opens the port and puts the repeater into alignment mode.
// On failure the person was told and nothing stays open.
std::unique_ptr<TCRsDrv> AlignOpen(const QString& port, TLinkView& view);

// 0 done, 1 refused or port error, 2 no answer. No retry.
int AlignStart(TCRsDrv& driver, TLinkView& view);
// Encodes `doc` into `image` and sends the command; true when acknowledged.
bool AlignCommand(TCRsDrv& driver, const TRKmem& doc, TMap54& image, const TAlignSettings& settings,
                  int kind, TLinkView& view);
// Reads the three live values as two lower-case hexadecimal digits each.
bool AlignStatus(TCRsDrv& driver, std::string& vr, std::string& nsq, std::string& rssi,
                 TLinkView& view);
// The second-section handshake of the closing; 0, 1 or 2.
int AlignEnd(TCRsDrv& driver, TLinkView& view);
// The closing sequence: takes the repeater out of alignment mode and closes
// the port, whatever happens on the way. Reports nothing.
void AlignClose(TCRsDrv& driver, TLinkView& view);
