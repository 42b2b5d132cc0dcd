#pragma once
#include "link/U_LinkView.h"
#include "link/U_Outcome.h"
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <string>
#include <vector>

class TCRsDrv;

// The alignment link: puts the repeater into its alignment mode and drives
// its receiver and transmitter with the tuning values of one alignment point.
// The values travel from the document through the encoded image, so what the
// repeater gets is exactly what a download would write.

// What the alignment window has chosen besides the document's values.
struct TAlignSettings {
    std::string DcsCode = "023";     // text of the DCS list, "023" .. "754"
    std::string CtcssCode = "67.0";  // text of the CTCSS list, "67.0" .. "254.1"
    int Point = 0;           // 0 Lowest, 1 Low, 2 High, 3 Highest
    int EncoderType = 0;     // 0 off, 1 CTCSS, 2 DCS
    int PowerType = 0;       // 0 High, 1 Low
    int Bandwidth = 0;       // 0 Wide, 1 Narrow
    int Mode = 0;            // 0 Base, 1 Repeater
};

// The values of one alignment run, in the order the alignment window lays
// them out: the point's document values and the window's own choices. The
// window builds its fields from this table and `rk54 align` names them by
// their labels.
enum class TAlignValue {
    Level,      // 0 .. 255
    Frequency,  // MHz, 0 .. 999.9 in steps of 0.1
    Choice,     // one of Items, by position
    Tone,       // a text of the CTCSS list
    Code,       // a text of the DCS list
};

struct TAlignField {
    const char* Control;  // the window's control: edtRxFreq, cmbMode
    const char* Label;    // with its accelerator
    TAlignValue Kind;
    // Where the value lives: exactly one of these is set.
    std::array<int, AlignPointCount> TRKmem::*PointLevel = nullptr;
    int TRKmem::*CommonLevel = nullptr;  // the same for every point
    std::array<TDecimal, AlignPointCount> TRKmem::*Frequency = nullptr;
    int TAlignSettings::*Choice = nullptr;
    std::string TAlignSettings::*Text = nullptr;
    std::vector<const char*> Items {};

    bool InDocument() const { return PointLevel || CommonLevel || Frequency; }
    // Document values of `point`, as numbers (levels and MHz).
    double Get(const TRKmem& doc, int point) const;
    // Leaves a frequency that already has the value exactly as it is.
    void Set(TRKmem& doc, int point, double value) const;
};

const std::vector<TAlignField>& AlignFields();

namespace Align {
// The label as a name: no accelerator, no parenthesised part, letters and
// digits only ("Rx &Frequency (MHz)" is RxFrequency).
std::string FieldName(const TAlignField& field);
// The field of that name, compared without regard to case; null if none.
const TAlignField* FieldNamed(const std::string& name);
// A typed level as the window reads it: a non-negative integer or else 0,
// at most 255.
int LevelOf(const std::string& text);
// A typed frequency as the window reads it: '.' or ',' as the mark, else 0,
// at most 999.9, to the nearest 0.1.
double FrequencyOf(const std::string& text);
}

// "Lowest", "Low", "High", "Highest".
extern const char* const AlignPointNames[AlignPointCount];

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
// On failure the person was told, nothing stays open and `outcome` says why
// (Error: port error or refused, Timeout: no answer). No retry.
std::unique_ptr<TCRsDrv> AlignOpen(const QString& port, TLinkView& view, TOutcome& outcome);
std::unique_ptr<TCRsDrv> AlignOpen(const QString& port, TLinkView& view);

// Encodes `doc` into `image` and sends the command; true when acknowledged.
bool AlignCommand(TCRsDrv& driver, const TRKmem& doc, TMap54& image, const TAlignSettings& settings,
                  int kind, TLinkView& view);
// Reads the three live values as two lower-case hexadecimal digits each.
bool AlignStatus(TCRsDrv& driver, std::string& vr, std::string& nsq, std::string& rssi,
                 TLinkView& view);
// The same two exchanges with the outcomes of the clone transfer: Done,
// Error (port error), Timeout (no answer), Checksum (status reply spoilt),
// BadReply (command refused).
TOutcome AlignCommandOutcome(TCRsDrv& driver, const TRKmem& doc, TMap54& image, const TAlignSettings& settings,
                             int kind, TLinkView& view);
TOutcome AlignStatusOutcome(TCRsDrv& driver, std::string& vr, std::string& nsq, std::string& rssi,
                            TLinkView& view);
// The closing sequence: takes the repeater out of alignment mode and closes
// the port, whatever happens on the way. Reports nothing.
void AlignClose(TCRsDrv& driver, TLinkView& view);
